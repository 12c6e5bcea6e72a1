// A batch's standard input, a line at a time, in bounded memory: a line over
// kLongestLine bytes is skipped, never held whole, and reported as such. Before
// the reader would wait for more input it says so, so that the batch can write
// out its answers: a program may feed one line and read its answer.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace pillar::cli {

class InputLines {
 public:
  static constexpr std::size_t kLongestLine = std::size_t{1} << 20;

  struct Line {
    std::string_view text;  // without its '\n' and a '\r' before it; valid until the next call
    long long number = 0;   // from 1, blank lines counted
    bool too_long = false;  // then `text` is empty
  };

  // `before_waiting` runs whenever the input has nothing more to read at once.
  InputLines(int fd, std::function<void()> before_waiting);

  // The next line; false after the last. Throws StreamError when reading fails.
  bool next(Line& line);

 private:
  void read_more();

  int fd_;
  std::function<void()> before_waiting_;
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0, scanned_ = 0, end_ = 0;  // [begin_, end_) not yet given out
  long long number_ = 0;
  bool skipping_ = false;  // inside a line over the limit
  bool at_end_ = false;
};

// The same lines from input that arrives in pieces, such as a request's
// body: split as the pieces come, a line over kLongestLine skipped and
// reported as above, the last line needing no '\n'.
class LineFeed {
 public:
  using OnLine = std::function<void(const InputLines::Line&)>;

  void feed(std::string_view piece, const OnLine& on_line);
  // At the end of the input: the last line, if it had no '\n'.
  void finish(const OnLine& on_line);

 private:
  void give(std::string_view text, const OnLine& on_line);

  std::string unended_;  // the start of a line whose '\n' has not come yet
  long long number_ = 0;
  bool skipping_ = false;
};

// The error of a line over the limit.
inline constexpr const char* kLineTooLong = "line longer than 1 MiB: not read";

}  // namespace pillar::cli
