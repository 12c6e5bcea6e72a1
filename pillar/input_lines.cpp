#include "input_lines.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "commands.h"

namespace pillar::cli {

namespace {

constexpr std::size_t kReadSize = std::size_t{64} << 10;
constexpr std::size_t kCapacity = InputLines::kLongestLine + kReadSize;

}  // namespace

InputLines::InputLines(int fd, std::function<void()> before_waiting)
    : fd_(fd), before_waiting_(std::move(before_waiting)), buffer_(new char[kCapacity]) {}

bool InputLines::next(Line& line) {
  for (;;) {
    const char* base = buffer_.get();
    if (const void* found = std::memchr(base + scanned_, '\n', end_ - scanned_)) {
      auto newline = static_cast<std::size_t>(static_cast<const char*>(found) - base);
      line.text = skipping_ ? std::string_view() : std::string_view(base + begin_, newline - begin_);
      line.too_long = skipping_;
      skipping_ = false;
      begin_ = scanned_ = newline + 1;
      break;
    }
    scanned_ = end_;
    if (skipping_ || end_ - begin_ > kLongestLine) {
      skipping_ = true;
      begin_ = scanned_ = end_;  // dropped
    }
    if (at_end_) {
      if (begin_ == end_ && !skipping_) return false;
      line.text = std::string_view(base + begin_, end_ - begin_);  // the last line, without '\n'
      line.too_long = skipping_;
      skipping_ = false;
      begin_ = scanned_ = end_;
      break;
    }
    read_more();
  }
  if (!line.text.empty() && line.text.back() == '\r') line.text.remove_suffix(1);
  line.number = ++number_;
  return true;
}

void InputLines::read_more() {
  char* base = buffer_.get();
  std::memmove(base, base + begin_, end_ - begin_);  // at most kLongestLine bytes
  end_ -= begin_;
  scanned_ -= begin_;
  begin_ = 0;
  pollfd ready{fd_, POLLIN, 0};
  if (poll(&ready, 1, 0) == 0) before_waiting_();
  ssize_t got;
  do got = ::read(fd_, base + end_, kCapacity - end_);
  while (got < 0 && errno == EINTR);
  if (got < 0) throw StreamError(std::string("cannot read the input: ") + std::strerror(errno));
  if (got == 0) at_end_ = true;
  end_ += static_cast<std::size_t>(got);
}

void LineFeed::feed(std::string_view piece, const OnLine& on_line) {
  while (!piece.empty()) {
    std::size_t newline = piece.find('\n');
    std::string_view part = piece.substr(0, newline);
    piece.remove_prefix(newline == std::string_view::npos ? piece.size() : newline + 1);
    if (!skipping_ && unended_.size() + part.size() > InputLines::kLongestLine) {
      skipping_ = true;
      unended_.clear();
    }
    if (newline == std::string_view::npos) {
      if (!skipping_) unended_.append(part);
      return;
    }
    if (skipping_ || unended_.empty()) {
      give(part, on_line);  // most lines: straight from the piece
    } else {
      unended_.append(part);
      give(unended_, on_line);
    }
  }
}

void LineFeed::finish(const OnLine& on_line) {
  if (skipping_ || !unended_.empty()) give(unended_, on_line);
}

void LineFeed::give(std::string_view text, const OnLine& on_line) {
  InputLines::Line line;
  line.too_long = skipping_;
  line.text = skipping_ ? std::string_view() : text;
  if (!line.text.empty() && line.text.back() == '\r') line.text.remove_suffix(1);
  line.number = ++number_;
  on_line(line);
  skipping_ = false;
  unended_.clear();
}

}  // namespace pillar::cli
