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
// Not bool, so that several tests join with a branch-free '|'.
inline std::uint64_t word_needs_escape(std::uint64_t x) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  if ((x & kHighs) == kHighs) return 0;  // all bytes of CJK characters: the common case, one test
  auto has_zero_byte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  return ((x - kOnes * 0x20) & ~x & kHighs) | has_zero_byte(x ^ (kOnes * '"')) |
         has_zero_byte(x ^ (kOnes * '\\'));
}

// Copies a short UTF-8 text (0 or 3-32 bytes: most of a chart's, its
// dates included) to `w` in a few word moves, after checking it needs no
// escape; false for any other text, which then goes the general way.
inline bool copy_short_utf8(char* w, const char* p, std::size_t n) {
  if (n >= 8 && n <= 16) {
    std::uint64_t head, tail;
    std::memcpy(&head, p, 8);
    std::memcpy(&tail, p + n - 8, 8);
    if (word_needs_escape(head) | word_needs_escape(tail)) return false;
    std::memcpy(w, &head, 8);
    std::memcpy(w + n - 8, &tail, 8);
    return true;
  }
  if (n >= 4 && n < 8) {
    std::uint32_t head, tail;
    std::memcpy(&head, p, 4);
    std::memcpy(&tail, p + n - 4, 4);
    if (word_needs_escape(head | std::uint64_t{tail} << 32)) return false;
    std::memcpy(w, &head, 4);
    std::memcpy(w + n - 4, &tail, 4);
    return true;
  }
  if (n == 3) {  // one CJK character
    std::uint16_t head;
    std::memcpy(&head, p, 2);
    std::uint64_t three = head | std::uint64_t{static_cast<unsigned char>(p[2])} << 16;
    if (word_needs_escape(three | three << 24 | three << 48)) return false;  // every byte a real one
    std::memcpy(w, &head, 2);
    w[2] = p[2];
    return true;
  }
  if (n > 16 && n <= 32) {
    std::uint64_t a, b, c, d;
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + 8, 8);
    std::memcpy(&c, p + n - 16, 8);
    std::memcpy(&d, p + n - 8, 8);
    if (word_needs_escape(a) | word_needs_escape(b) | word_needs_escape(c) | word_needs_escape(d)) return false;
    std::memcpy(w, &a, 8);
    std::memcpy(w + 8, &b, 8);
    std::memcpy(w + n - 16, &c, 8);
    std::memcpy(w + n - 8, &d, 8);
    return true;
  }
  return n == 0;
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
  // A key that is a text of the engine's (UTF-8, like utf8()).
  void utf8_key(std::string_view name) {
    std::size_t n = name.size();
    char* p = out_.reserve(n + 4);
    if (need_comma_) *p++ = ',';
    *p = '"';
    if (copy_short_utf8(p + 1, name.data(), n)) {
      p[n + 1] = '"';
      p[n + 2] = ':';
      out_.commit(p + n + 3);
      need_comma_ = false;
      return;
    }
    text_key(name);
  }
  // key(name) and utf8(text) at once: the common member of a chart.
  template <std::size_t N>
  void member(const char (&name)[N], std::string_view text) {
    std::size_t n = text.size();
    char* p = out_.reserve(N + n + 5);
    if (need_comma_) *p++ = ',';
    *p++ = '"';
    std::memcpy(p, name, N - 1);
    p += N - 1;
    std::memcpy(p, "\":\"", 3);
    p += 3;
    if (copy_short_utf8(p, text.data(), n)) {
      p[n] = '"';
      out_.commit(p + n + 1);
      need_comma_ = true;
      return;
    }
    key(name);  // nothing was committed: written again the general way
    utf8_any(text);
  }
  void string(std::string_view text);
  // A text known to be UTF-8 (the engine's): only quotes, backslashes and
  // control characters need escaping, so the bytes are not decoded.
  void utf8(std::string_view text) {
    // Most of a chart's texts are short: written inline.
    std::size_t n = text.size();
    char* p = out_.reserve(n + 3);
    if (need_comma_) *p++ = ',';
    *p++ = '"';
    if (copy_short_utf8(p, text.data(), n)) {
      p[n] = '"';
      out_.commit(p + n + 1);
      need_comma_ = true;
      return;
    }
    utf8_any(text);
  }
  void utf8_or_null(const std::optional<std::string>& text);
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
