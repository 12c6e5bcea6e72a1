#include "batch.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "birth_options.h"
#include "chart_json.h"
#include "commands.h"

namespace pillar::cli {

namespace {

using chart::InputError;
using Json = nlohmann::json;

// Reads one line's object straight into a BirthInput, without building a
// tree: the keys are the batch keys of the birth options.
class LineReader final : public nlohmann::json_sax<Json> {
 public:
  explicit LineReader(chart::BirthInput& input) : input_(input) {}

  bool null() override { return value_at_top(); }  // a null key is an absent key
  bool boolean(bool value) override {
    OptionValue v;
    v.kind = OptionValue::Kind::Boolean;
    v.boolean = value;
    return apply(v);
  }
  bool number_integer(number_integer_t value) override { return number(static_cast<double>(value)); }
  bool number_unsigned(number_unsigned_t value) override { return number(static_cast<double>(value)); }
  bool number_float(number_float_t value, const string_t&) override { return number(value); }
  bool string(string_t& text) override {
    OptionValue v;
    v.text = text;
    return apply(v);
  }
  bool binary(binary_t&) override { return nested("binary"); }
  bool start_object(std::size_t) override {
    if (depth_++ == 0) return true;
    return nested("an object");
  }
  bool key(string_t& name) override {
    option_ = find_birth_option(name);
    if (!option_) throw InputError("unknown key \"" + name + "\"");
    auto bit = 1u << (option_ - birth_options().data());
    if (seen_ & bit) throw InputError("key \"" + name + "\" given twice");
    seen_ |= bit;
    return true;
  }
  bool end_object() override {
    --depth_;
    return true;
  }
  bool start_array(std::size_t) override { return nested("an array"); }
  bool end_array() override { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) override {
    // "[json.exception.parse_error.101] parse error at ..." without the tag.
    // The line number is the batch's, so "at line 1, column 5" becomes "at column 5".
    std::string message = error.what();
    if (auto tag_end = message.find("] "); message.starts_with("[json.") && tag_end != message.npos)
      message.erase(0, tag_end + 2);
    if (auto at = message.find("at line 1, "); at != message.npos) message.erase(at + 3, 8);
    throw InputError("not a JSON object: " + message);
  }

  bool gave(std::string_view key) const {
    const BirthOption* option = find_birth_option(key);
    return seen_ & (1u << (option - birth_options().data()));
  }

 private:
  bool value_at_top() {
    if (depth_ == 0) throw InputError("a line must hold one JSON object");
    return true;
  }
  bool number(double value) {
    OptionValue v;
    v.kind = OptionValue::Kind::Number;
    v.number = value;
    return apply(v);
  }
  bool apply(const OptionValue& value) {
    value_at_top();
    option_->apply(input_, value);
    return true;
  }
  bool nested(const char* what) {
    value_at_top();
    throw InputError(std::string("key \"") + option_->batch_key + "\": expected a text, number or boolean, not " +
                     what);
  }

  chart::BirthInput& input_;
  const BirthOption* option_ = nullptr;
  unsigned seen_ = 0;  // one bit per birth option
  int depth_ = 0;
};

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
      LineReader reader(input_);
      Json::sax_parse(text.data(), text.data() + text.size(), &reader);
      if (reader.gave("datetime") && reader.gave("lunar")) throw InputError("give \"datetime\" or \"lunar\", not both");
      if (!reader.gave("datetime") && !reader.gave("lunar")) throw InputError("key \"datetime\" is missing");
      if (reader.gave("tz") && reader.gave("utc_offset"))
        throw InputError("give \"tz\" or \"utc_offset\", not both");
      append_chart_json(output_, chart::make_chart(input_));
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
