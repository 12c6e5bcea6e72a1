#include "batch.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "birth_json.h"
#include "chart_json.h"
#include "commands.h"
#include "json_writer.h"

namespace pillar::cli {

namespace {

using chart::InputError;

bool is_blank(std::string_view line) {
  return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

class Batch {
 public:
  Batch(const chart::BirthInput& defaults, std::FILE* out) : defaults_(defaults), out_(out) {
    output_.reserve(kFlushAt + 64 * 1024);
  }

  void line(std::string_view text) {
    ++line_number_;
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (is_blank(text)) return;
    try {
      input_ = defaults_;
      read_birth_json(text, input_);
      chart::make_chart(input_, chart_);
      append_chart_json(output_, chart_);
    } catch (const InputError& error) {
      append_error_json(output_, error.what(), line_number_);
    } catch (const std::exception& error) {
      append_error_json(output_, std::string("internal error: ") + error.what(), line_number_);
      faulted_ = true;
    }
    output_.push_back('\n');
    if (output_.size() >= kFlushAt) flush();
  }

  void flush() {
    if (std::fwrite(output_.view().data(), 1, output_.size(), out_) != output_.size())
      throw StreamError("cannot write the output");
    output_.clear();
  }

  bool faulted() const { return faulted_; }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  const chart::BirthInput& defaults_;
  chart::BirthInput input_;  // reused: its zone keeps its capacity
  chart::Chart chart_;        // reused: its texts and lists keep theirs
  std::FILE* out_;
  OutputBuffer output_;
  long long line_number_ = 0;
  bool faulted_ = false;
};

}  // namespace

int run_batch(const chart::BirthInput& defaults, std::FILE* in, std::FILE* out) {
  Batch batch(defaults, out);
  std::vector<char> buffer(1 << 20);
  std::size_t filled = 0;
  for (;;) {
    if (filled == buffer.size()) buffer.resize(buffer.size() * 2);  // a line longer than the buffer
    std::size_t read = std::fread(buffer.data() + filled, 1, buffer.size() - filled, in);
    if (read == 0) break;
    std::size_t start = 0;
    std::size_t end = filled + read;
    std::size_t search_from = filled;
    while (const void* found = std::memchr(buffer.data() + search_from, '\n', end - search_from)) {
      std::size_t newline = static_cast<std::size_t>(static_cast<const char*>(found) - buffer.data());
      batch.line(std::string_view(buffer.data() + start, newline - start));
      start = search_from = newline + 1;
    }
    std::memmove(buffer.data(), buffer.data() + start, end - start);
    filled = end - start;
  }
  if (std::ferror(in)) throw StreamError("cannot read the input");
  if (filled > 0) batch.line(std::string_view(buffer.data(), filled));
  batch.flush();
  if (std::fflush(out) != 0) throw StreamError("cannot write the output");
  return batch.faulted() ? 1 : 0;
}

}  // namespace pillar::cli
