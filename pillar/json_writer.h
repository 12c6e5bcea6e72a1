// A JSON writer into one growing buffer: no tree, no allocation once the
// buffer has grown, each item written through a raw pointer after one
// capacity check. A batch writes its lines at close to the speed of memcpy.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pillar::cli {

// Bytes without the zero-filling of std::string::resize.
class OutputBuffer {
 public:
  // Room for `bytes` more; returns where they go.
  char* reserve(std::size_t bytes) {
    if (size_ + bytes > capacity_) grow(size_ + bytes);
    return data_.get() + size_;
  }
  void commit(char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }
  void append(std::string_view text) {
    std::memcpy(reserve(text.size()), text.data(), text.size());
    size_ += text.size();
  }
  void push_back(char c) { *reserve(1) = c, ++size_; }
  std::string_view view() const { return {data_.get(), size_}; }
  std::size_t size() const { return size_; }
  void clear() { size_ = 0; }

 private:
  void grow(std::size_t needed);
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0, capacity_ = 0;
};

// Whether any of the 8 bytes is below 0x20, a quote or a backslash (bit
// tricks exact for "any"; bytes of 0x80 and above never count).
inline bool word_needs_escape(std::uint64_t x) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  auto has_zero_byte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  return ((x - kOnes * 0x20) & ~x & kHighs) | has_zero_byte(x ^ (kOnes * '"')) |
         has_zero_byte(x ^ (kOnes * '\\'));
}

class JsonWriter {
 public:
  explicit JsonWriter(OutputBuffer& out) : out_(out) {}

  void begin_object() { open('{'); }
  void end_object() { close('}'); }
  void begin_array() { open('['); }
  void end_array() { close(']'); }
  // A key that is one of the program's own ASCII names, written as it is.
  template <std::size_t N>
  void key(const char (&name)[N]) {
    char* p = out_.reserve(N + 3);
    if (need_comma_) *p++ = ',';
    *p++ = '"';
    std::memcpy(p, name, N - 1);
    p += N - 1;
    *p++ = '"';
    *p++ = ':';
    out_.commit(p);
    need_comma_ = false;
  }
  // A key that comes from data: escaped like a string.
  void text_key(std::string_view name);
  void string(std::string_view text);
  // A text known to be UTF-8 (the engine's): only quotes, backslashes and
  // control characters need escaping, so the bytes are not decoded.
  void utf8(std::string_view text) {
    // One or two CJK characters, most of a chart's texts: written inline.
    std::size_t n = text.size();
    if (n >= 4 && n < 8) {
      std::uint32_t head, tail;
      std::memcpy(&head, text.data(), 4);
      std::memcpy(&tail, text.data() + n - 4, 4);
      if (!word_needs_escape(head | std::uint64_t{tail} << 32)) {
        char* p = out_.reserve(n + 3);
        if (need_comma_) *p++ = ',';
        *p++ = '"';
        std::memcpy(p, &head, 4);
        std::memcpy(p + n - 4, &tail, 4);
        p[n] = '"';
        out_.commit(p + n + 1);
        need_comma_ = true;
        return;
      }
    }
    utf8_any(text);
  }
  void utf8_or_null(const std::optional<std::string>& text);
  void string_or_null(const std::optional<std::string>& text);
  void integer(std::int64_t value);
  // A number with at most `decimals` decimals, trailing zeros dropped.
  void number(double value, int decimals);
  void number_or_null(const std::optional<double>& value, int decimals);
  void boolean(bool value);
  void null();

 private:
  void separate() {
    if (need_comma_) out_.push_back(',');
  }
  void open(char bracket) {
    separate();
    out_.push_back(bracket);
    need_comma_ = false;
  }
  void close(char bracket) {
    out_.push_back(bracket);
    need_comma_ = true;
  }

  void utf8_any(std::string_view text);

  OutputBuffer& out_;
  bool need_comma_ = false;
};

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool is_utf8(std::string_view text);

// Appends `text`, known to be UTF-8, as a JSON string.
void append_utf8_json_string(OutputBuffer& out, std::string_view text);

// Appends `text` as a JSON string: quotes and control characters escaped,
// bytes that are not UTF-8 replaced by U+FFFD, so the output always parses.
void append_json_string(OutputBuffer& out, std::string_view text);

}  // namespace pillar::cli
