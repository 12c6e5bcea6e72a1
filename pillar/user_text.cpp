#include "user_text.h"

#include <algorithm>

namespace pillar::cli {

namespace {

// The length of the well-formed UTF-8 character at the front of `text`, or 0.
std::size_t utf8_length(std::string_view text) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(0);
  std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                                      : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((byte(i) & 0xC0) != 0x80) return 0;
  // No overlong forms, surrogates or code points beyond U+10FFFF.
  if (length == 3 && ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) >= 0xA0))) return 0;
  if (length == 4 && ((lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) >= 0x90))) return 0;
  return length;
}

}  // namespace

std::string printable_text(std::string_view text, std::size_t longest) {
  std::string out;
  out.reserve(std::min(text.size(), longest) + 3);
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t length = utf8_length(text.substr(i));
    if (out.size() + std::max<std::size_t>(length, 1) > longest) break;
    auto c = static_cast<unsigned char>(text[i]);
    if (length == 0 || c < 0x20 || c == 0x7f) {
      out += '?';
      ++i;
    } else {
      out.append(text, i, length);
      i += length;
    }
  }
  if (i < text.size()) out += "...";
  return out;
}

std::string quoted_text(std::string_view text) { return '"' + printable_text(text, 60) + '"'; }

}  // namespace pillar::cli
