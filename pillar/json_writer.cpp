#include "json_writer.h"

#include <charconv>
#include <cmath>

namespace pillar::cli {

namespace {

// Length of the well-formed UTF-8 sequence at `p`, or 0.
std::size_t utf8_sequence_length(const unsigned char* p, const unsigned char* end) {
  unsigned char lead = p[0];
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || static_cast<std::size_t>(end - p) < length) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((p[i] & 0xC0) != 0x80) return 0;
  // Overlong forms, surrogates and code points above U+10FFFF.
  if (lead == 0xE0 && p[1] < 0xA0) return 0;
  if (lead == 0xED && p[1] >= 0xA0) return 0;
  if (lead == 0xF0 && p[1] < 0x90) return 0;
  if (lead == 0xF4 && p[1] >= 0x90) return 0;
  return length;
}

}  // namespace

void append_json_string(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  const auto* run = p;  // start of the bytes copied unchanged
  auto flush = [&] { out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run)); };
  while (p < end) {
    unsigned char c = *p;
    if (c >= 0x20 && c != '"' && c != '\\' && c < 0x80) {
      ++p;
      continue;
    }
    if (c >= 0x80) {
      if (std::size_t length = utf8_sequence_length(p, end)) {
        p += length;
        continue;
      }
      flush();
      out += "\xEF\xBF\xBD";
      run = ++p;
      continue;
    }
    flush();
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default:
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
    run = ++p;
  }
  flush();
  out += '"';
}

void JsonWriter::key(std::string_view name) {
  separate();
  out_ += '"';
  out_ += name;
  out_ += "\":";
  need_comma_ = false;
}

void JsonWriter::text_key(std::string_view name) {
  separate();
  append_json_string(out_, name);
  out_ += ':';
  need_comma_ = false;
}

void JsonWriter::string(std::string_view text) {
  separate();
  append_json_string(out_, text);
  need_comma_ = true;
}

void JsonWriter::string_or_null(const std::optional<std::string>& text) {
  if (text)
    string(*text);
  else
    null();
}

void JsonWriter::integer(std::int64_t value) {
  separate();
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out_.append(buffer, result.ptr);
  need_comma_ = true;
}

void JsonWriter::number(double value, int decimals) {
  if (!std::isfinite(value)) return null();  // JSON has no NaN or infinity
  separate();
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc())  // too long for fixed notation
    result = std::to_chars(buffer, buffer + sizeof buffer, value);
  char* last = result.ptr;
  std::string_view digits(buffer, static_cast<std::size_t>(last - buffer));
  if (digits.find('.') != std::string_view::npos && digits.find('e') == std::string_view::npos) {
    while (last[-1] == '0') --last;
    if (last[-1] == '.') --last;
  }
  std::string_view written(buffer, static_cast<std::size_t>(last - buffer));
  out_ += written == "-0" ? "0" : written;
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
  out_ += value ? "true" : "false";
  need_comma_ = true;
}

void JsonWriter::null() {
  separate();
  out_ += "null";
  need_comma_ = true;
}

}  // namespace pillar::cli
