#include "http_connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace pillar::serve {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadAhead = 16 * 1024;

void address_text(const sockaddr_storage& address, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = "";
  if (address.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    port = ntohs(v4.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
    port = ntohs(v6.sin6_port);
  }
  ip = text;
}

// Whether `seen` can be the start of a request line: a method of capital
// letters, then a space.
bool could_begin_request(std::string_view seen) {
  constexpr std::size_t kLongestMethod = 16;
  for (std::size_t i = 0; i < seen.size() && i <= kLongestMethod; ++i) {
    if (seen[i] == ' ') return i > 0;
    if (seen[i] < 'A' || seen[i] > 'Z') return false;
  }
  return seen.size() <= kLongestMethod;
}

}  // namespace

Connection::Connection(int socket, int stop_fd, const ConnectionLimits& limits)
    : socket_(socket), stop_fd_(stop_fd), limits_(limits), buffer_(limits.head_bytes + kReadAhead) {
  int on = 1;
  setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);  // else each answer waits for a delayed ACK
}

bool Connection::wait(short events, Clock::time_point deadline, bool stoppable) const {
  for (;;) {
    std::array<pollfd, 2> fds = {{{socket_, events, 0}, {stop_fd_, POLLIN, 0}}};
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    int ready = ::poll(fds.data(), stoppable ? 2 : 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0 || (stoppable && fds[1].revents)) return false;
    return true;
  }
}

Connection::Head Connection::read_head() {
  if (begin_ > 0) {  // what the last request left: the start of the next one
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  bool started = end_ > 0;
  auto deadline = Clock::now() + (started ? limits_.head : limits_.idle);
  std::size_t searched = 0;
  for (;;) {
    // The library's head ends at the first empty line, "\r\n" after a "\n".
    std::string_view seen(buffer_.data(), end_);
    if (seen.find("\n\r\n", searched) != std::string_view::npos) return Head::Ready;
    if (seen.find("\n\n", searched) != std::string_view::npos || !could_begin_request(seen)) return Head::Malformed;
    searched = end_ < 2 ? 0 : end_ - 2;
    if (end_ >= limits_.head_bytes) return Head::TooLarge;
    if (!wait(POLLIN, deadline, !started)) return Head::Gone;
    ssize_t got = ::recv(socket_, buffer_.data() + end_, limits_.head_bytes - end_, 0);
    if (got <= 0) return Head::Gone;
    if (!started) {
      started = true;
      deadline = Clock::now() + limits_.head;
    }
    end_ += static_cast<std::size_t>(got);
  }
}

bool Connection::is_readable() const {
  return begin_ < end_ || wait(POLLIN, Clock::now() + limits_.read, false);
}

bool Connection::is_writable() const { return wait(POLLOUT, Clock::now() + limits_.write, false); }

ssize_t Connection::read(char* ptr, std::size_t size) {
  if (begin_ == end_) {
    if (!wait(POLLIN, Clock::now() + limits_.read, false)) return -1;
    if (size >= kReadAhead) return ::recv(socket_, ptr, size, 0);
    begin_ = end_ = 0;
    ssize_t got = ::recv(socket_, buffer_.data(), buffer_.size(), 0);
    if (got <= 0) return got;
    end_ = static_cast<std::size_t>(got);
  }
  std::size_t n = std::min(size, end_ - begin_);
  std::memcpy(ptr, buffer_.data() + begin_, n);
  begin_ += n;
  return static_cast<ssize_t>(n);
}

ssize_t Connection::write(const char* ptr, std::size_t size) {
  std::size_t sent = 0;
  while (sent < size) {
    ssize_t n = ::send(socket_, ptr + sent, size - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!wait(POLLOUT, Clock::now() + limits_.write, false)) return -1;
    } else {
      return -1;
    }
  }
  return static_cast<ssize_t>(size);
}

void Connection::get_remote_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) address_text(address, ip, port);
}

void Connection::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) address_text(address, ip, port);
}

}  // namespace pillar::serve
