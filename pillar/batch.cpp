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

}  // namespace

void BatchLines::line(std::string_view text, OutputBuffer& out) {
  ++line_number_;
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  if (is_blank(text)) return;
  try {
    input_ = defaults_;
    read_birth_json(text, input_);
    chart::make_chart(input_, chart_);
    append_chart_json(out, chart_);
  } catch (const InputError& error) {
    append_error_json(out, error.what(), line_number_);
  } catch (const std::exception& error) {
    append_error_json(out, std::string("internal error: ") + error.what(), line_number_);
    faulted_ = true;
  }
  out.push_back('\n');
}

void BatchLines::feed(std::string_view data, OutputBuffer& out) {
  while (!data.empty()) {
    std::size_t newline = data.find('\n');
    std::string_view part = data.substr(0, newline);
    data.remove_prefix(newline == data.npos ? data.size() : newline + 1);
    if (!overlong_ && unended_.size() + part.size() > kLineLimit) {
      ++line_number_;
      append_error_json(out, "line longer than " + std::to_string(kLineLimit) + " bytes", line_number_);
      out.push_back('\n');
      overlong_ = true;
      unended_.clear();
    }
    if (newline == std::string_view::npos) {
      if (!overlong_) unended_.append(part);
      return;
    }
    if (overlong_) {
      overlong_ = false;
    } else if (unended_.empty()) {
      line(part, out);  // most lines: straight from the input
    } else {
      unended_.append(part);
      line(unended_, out);
      unended_.clear();
    }
  }
}

void BatchLines::finish(OutputBuffer& out) {
  if (!unended_.empty()) line(unended_, out);
  unended_.clear();
  overlong_ = false;
}

int run_batch(const chart::BirthInput& defaults, std::FILE* in, std::FILE* out) {
  constexpr std::size_t kFlushAt = 1 << 20;
  BatchLines batch(defaults);
  OutputBuffer output;
  output.reserve(kFlushAt + 64 * 1024);
  auto flush = [&] {
    if (std::fwrite(output.view().data(), 1, output.size(), out) != output.size())
      throw StreamError("cannot write the output");
    output.clear();
  };
  std::vector<char> buffer(1 << 20);
  while (std::size_t read = std::fread(buffer.data(), 1, buffer.size(), in)) {
    batch.feed(std::string_view(buffer.data(), read), output);
    if (output.size() >= kFlushAt) flush();
  }
  if (std::ferror(in)) throw StreamError("cannot read the input");
  batch.finish(output);
  flush();
  if (std::fflush(out) != 0) throw StreamError("cannot write the output");
  return batch.faulted() ? 1 : 0;
}

}  // namespace pillar::cli
