// A JSON writer that appends to one string: no tree, no allocation beyond
// the string's growth, so a batch writes its lines at the speed of memcpy.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pillar::cli {

class JsonWriter {
 public:
  explicit JsonWriter(std::string& out) : out_(out) {}

  void begin_object() { open('{'); }
  void end_object() { close('}'); }
  void begin_array() { open('['); }
  void end_array() { close(']'); }
  // Keys are the program's own ASCII names: written as they are.
  void key(std::string_view name);
  // A key that comes from data: escaped like a string.
  void text_key(std::string_view name);
  void string(std::string_view text);
  void string_or_null(const std::optional<std::string>& text);
  void integer(std::int64_t value);
  // A number with at most `decimals` decimals, trailing zeros dropped.
  void number(double value, int decimals);
  void number_or_null(const std::optional<double>& value, int decimals);
  void boolean(bool value);
  void null();

 private:
  void separate() {
    if (need_comma_) out_ += ',';
  }
  void open(char bracket) {
    separate();
    out_ += bracket;
    need_comma_ = false;
  }
  void close(char bracket) {
    out_ += bracket;
    need_comma_ = true;
  }

  std::string& out_;
  bool need_comma_ = false;
};

// Appends `text` as a JSON string: quotes and control characters escaped,
// bytes that are not UTF-8 replaced by U+FFFD, so the output always parses.
void append_json_string(std::string& out, std::string_view text);

}  // namespace pillar::cli
