#include "batch.h"

#include <stdexcept>
#include <string>
#include <string_view>

#include "birth_json.h"
#include "input_lines.h"
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
  Batch(const chart::BirthInput& defaults, std::FILE* out) : answers_(defaults), out_(out) {
    output_.reserve(kFlushAt + 64 * 1024);
  }

  void line(const InputLines::Line& line) {
    answers_.answer(line, output_);
    if (output_.size() >= kFlushAt) flush();
  }

  // Writes out the answers so far, for a reader that may be waiting on them.
  void flush() {
    if (output_.size() == 0) return;
    if (std::fwrite(output_.view().data(), 1, output_.size(), out_) != output_.size() || std::fflush(out_) != 0)
      throw StreamError("cannot write the output");
    output_.clear();
  }

  bool faulted() const { return answers_.faulted(); }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  BatchAnswers answers_;
  std::FILE* out_;
  OutputBuffer output_;
};

}  // namespace

void BatchAnswers::answer(const InputLines::Line& line, OutputBuffer& out) {
  if (is_blank(line.text) && !line.too_long) return;
  try {
    if (line.too_long) throw InputError(kLineTooLong);
    input_ = defaults_;
    read_birth_json(line.text, input_);
    chart::make_chart(input_, chart_);
    append_chart_json(out, chart_);
  } catch (const InputError& error) {
    append_error_json(out, error.what(), line.number);
  } catch (const std::exception& error) {
    append_error_json(out, std::string("internal error: ") + error.what(), line.number);
    faulted_ = true;
  }
  out.push_back('\n');
}

int run_batch(const chart::BirthInput& defaults, std::FILE* in, std::FILE* out) {
  Batch batch(defaults, out);
  InputLines lines(fileno(in), [&batch] { batch.flush(); });
  try {
    for (InputLines::Line line; lines.next(line);) batch.line(line);
  } catch (const StreamError&) {
    batch.flush();  // the answers so far stand
    throw;
  }
  batch.flush();
  if (std::fflush(out) != 0) throw StreamError("cannot write the output");
  return batch.faulted() ? 1 : 0;
}

}  // namespace pillar::cli
