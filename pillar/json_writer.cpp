#include "json_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace pillar::cli {

namespace {

// What a byte means inside a string: 0 copied as it is, 1 escaped, 2-4 the
// lead of a UTF-8 sequence of that length, 5 never valid.
constexpr std::array<unsigned char, 256> kByteClass = [] {
  std::array<unsigned char, 256> classes{};
  for (int c = 0; c < 256; ++c)
    classes[c] = c < 0x20 || c == '"' || c == '\\' ? 1
                 : c < 0x80                        ? 0
                 : c < 0xC2                        ? 5
                 : c < 0xE0                        ? 2
                 : c < 0xF0                        ? 3
                 : c < 0xF5                        ? 4
                                                   : 5;
  return classes;
}();

// Whether the `length` bytes at `p` are one well-formed UTF-8 sequence
// (no overlong form, surrogate or code point above U+10FFFF).
bool well_formed(const unsigned char* p, std::size_t length) {
  for (std::size_t i = 1; i < length; ++i)
    if ((p[i] & 0xC0) != 0x80) return false;
  if (p[0] == 0xE0) return p[1] >= 0xA0;
  if (p[0] == 0xED) return p[1] < 0xA0;
  if (p[0] == 0xF0) return p[1] >= 0x90;
  if (p[0] == 0xF4) return p[1] < 0x90;
  return true;
}

// Writes the escape of a quote, a backslash or a control character.
char* write_escape(char* w, unsigned char c) {
  static constexpr char kHex[] = "0123456789abcdef";
  *w++ = '\\';
  switch (c) {
    case '"': *w++ = '"'; break;
    case '\\': *w++ = '\\'; break;
    case '\n': *w++ = 'n'; break;
    case '\t': *w++ = 't'; break;
    case '\r': *w++ = 'r'; break;
    default:
      std::memcpy(w, "u00", 3);
      w += 3;
      *w++ = kHex[c >> 4];
      *w++ = kHex[c & 15];
  }
  return w;
}

// Checks the text a word at a time (the last word overlapping the one
// before), so a text without quotes and control characters costs a few
// instructions instead of a branch per byte.
bool may_need_escape(std::string_view text) {
  const char* p = text.data();
  std::size_t n = text.size();
  std::uint64_t word = 0;
  if (n >= 8) {
    for (std::size_t i = 0; i + 8 < n; i += 8) {
      std::memcpy(&word, p + i, 8);
      if (word_needs_escape(word)) return true;
    }
    std::memcpy(&word, p + n - 8, 8);
    return word_needs_escape(word);
  }
  if (n >= 4) {
    std::uint32_t low = 0, high = 0;
    std::memcpy(&low, p, 4);
    std::memcpy(&high, p + n - 4, 4);
    return word_needs_escape(low | std::uint64_t{high} << 32);
  }
  for (std::size_t i = 0; i < n; ++i)
    if (kByteClass[static_cast<unsigned char>(p[i])] == 1) return true;
  return false;
}

}  // namespace

bool is_utf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    unsigned char lead_class = kByteClass[*p];
    if (lead_class <= 1) {
      ++p;
      continue;
    }
    std::size_t length = lead_class;
    if (lead_class == 5 || static_cast<std::size_t>(end - p) < length || !well_formed(p, length)) return false;
    p += length;
  }
  return true;
}

void OutputBuffer::grow(std::size_t needed) {
  std::size_t capacity = std::max({needed, capacity_ * 2, std::size_t{4096}});
  auto data = std::make_unique_for_overwrite<char[]>(capacity);
  if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
  data_ = std::move(data);
  capacity_ = capacity;
}

void append_utf8_json_string(OutputBuffer& out, std::string_view text) {
  char* w = out.reserve(text.size() * 6 + 2);
  *w++ = '"';
  const char* p = text.data();
  std::size_t n = text.size();
  // Most texts are 2-5 CJK characters: two overlapping words checked and
  // copied whole, without a call to memcpy.
  if (n >= 8 && n <= 16) {
    std::uint64_t head, tail;
    std::memcpy(&head, p, 8);
    std::memcpy(&tail, p + n - 8, 8);
    if (!(word_needs_escape(head) | word_needs_escape(tail))) {
      std::memcpy(w, &head, 8);
      std::memcpy(w + n - 8, &tail, 8);
      w[n] = '"';
      out.commit(w + n + 1);
      return;
    }
  } else if (n >= 4 && n < 8) {
    std::uint32_t head, tail;
    std::memcpy(&head, p, 4);
    std::memcpy(&tail, p + n - 4, 4);
    if (!word_needs_escape(head | std::uint64_t{tail} << 32)) {
      std::memcpy(w, &head, 4);
      std::memcpy(w + n - 4, &tail, 4);
      w[n] = '"';
      out.commit(w + n + 1);
      return;
    }
  }
  if (!may_need_escape(text)) {
    if (n < 4)  // one CJK character, or a short ASCII text
      for (std::size_t i = 0; i < n; ++i) *w++ = p[i];
    else
      std::memcpy(w, p, n), w += n;
  } else {
    for (char c : text) {
      auto byte = static_cast<unsigned char>(c);
      if (kByteClass[byte] == 1)
        w = write_escape(w, byte);
      else
        *w++ = c;
    }
  }
  *w++ = '"';
  out.commit(w);
}

void append_json_string(OutputBuffer& out, std::string_view text) {
  // Worst case: every byte becomes \u00XX (6 bytes) or U+FFFD (3 bytes).
  char* w = out.reserve(text.size() * 6 + 2);
  *w++ = '"';
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    unsigned char c = *p;
    // The common case first: a CJK character, three bytes led by E1-EC or EE-EF.
    if (c >= 0xE1 && c != 0xED && c <= 0xEF && end - p >= 3 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
      w[0] = static_cast<char>(c), w[1] = static_cast<char>(p[1]), w[2] = static_cast<char>(p[2]);
      w += 3;
      p += 3;
      continue;
    }
    switch (kByteClass[c]) {
      case 0:
        *w++ = static_cast<char>(c);
        ++p;
        continue;
      case 1:
        w = write_escape(w, c);
        ++p;
        continue;
      case 5:
        break;
      default: {
        std::size_t length = kByteClass[c];
        if (static_cast<std::size_t>(end - p) >= length && well_formed(p, length)) {
          std::memcpy(w, p, length);
          w += length;
          p += length;
          continue;
        }
      }
    }
    std::memcpy(w, "\xEF\xBF\xBD", 3);  // U+FFFD for a byte that starts no character
    w += 3;
    ++p;
  }
  *w++ = '"';
  out.commit(w);
}

void JsonWriter::text_key(std::string_view name) {
  separate();
  append_json_string(out_, name);
  out_.push_back(':');
  need_comma_ = false;
}

void JsonWriter::string(std::string_view text) {
  separate();
  append_json_string(out_, text);
  need_comma_ = true;
}

void JsonWriter::utf8_any(std::string_view text) {
  separate();
  append_utf8_json_string(out_, text);
  need_comma_ = true;
}

void JsonWriter::utf8_or_null(const std::optional<std::string>& text) {
  if (text)
    utf8(*text);
  else
    null();
}

void JsonWriter::integer(std::int64_t value) {
  char* p = out_.reserve(24);
  if (need_comma_) *p++ = ',';
  if (value >= 0 && value < 100) {  // most of a chart's numbers: counts, ages, start ages
    if (value >= 10) *p++ = static_cast<char>('0' + value / 10);
    *p++ = static_cast<char>('0' + value % 10);
    out_.commit(p);
  } else {
    out_.commit(std::to_chars(p, p + 21, value).ptr);
  }
  need_comma_ = true;
}

void JsonWriter::number(double value, int decimals) {
  if (!std::isfinite(value)) return null();  // JSON has no NaN or infinity
  std::int64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  if (std::fabs(value) * static_cast<double>(scale) >= 9e15) {  // beyond exact integers: rare, slow path
    separate();
    char buffer[32];
    out_.append({buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr});
    need_comma_ = true;
    return;
  }
  // Rounded to `decimals` in integer arithmetic: std::to_chars with a
  // precision costs ten times more.
  std::int64_t scaled = std::llround(value * static_cast<double>(scale));
  char* p = out_.reserve(48);
  if (need_comma_) *p++ = ',';
  if (scaled < 0) *p++ = '-', scaled = -scaled;
  p = std::to_chars(p, p + 20, scaled / scale).ptr;
  std::int64_t fraction = scaled % scale;
  if (fraction != 0) {
    *p++ = '.';
    for (std::int64_t digit = scale / 10; fraction != 0; digit /= 10) {
      *p++ = static_cast<char>('0' + fraction / digit);
      fraction %= digit;
    }
  }
  out_.commit(p);
  need_comma_ = true;
}

void JsonWriter::number_or_null(const std::optional<double>& value, int decimals) {
  if (value)
    number(*value, decimals);
  else
    null();
}

void JsonWriter::boolean(bool value) {
  separate();
  out_.append(value ? "true" : "false");
  need_comma_ = true;
}

void JsonWriter::null() {
  separate();
  out_.append("null");
  need_comma_ = true;
}

}  // namespace pillar::cli
