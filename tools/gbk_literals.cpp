// Copies a UTF-8 C++ source for compilers without a GBK execution character
// set (clang): every string literal gets the bytes g++ gives it with
// -fexec-charset=GBK, as \x escapes, and every identifier with Chinese
// characters becomes _gbk_ followed by the hex digits of its GBK bytes, so
// that a stringified export name still sorts in the byte order of its GBK
// name. Comments and everything else are copied unchanged.
//
//   gbk_literals INPUT OUTPUT
#include <iconv.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

std::string to_gbk(const std::string& utf8) {
  iconv_t converter = iconv_open("GBK", "UTF-8");
  std::string out(utf8.size() * 2 + 1, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* target = out.data();
  std::size_t out_left = out.size();
  std::size_t done = iconv(converter, &in, &in_left, &target, &out_left);
  iconv_close(converter);
  if (done == static_cast<std::size_t>(-1)) return {};
  out.resize(out.size() - out_left);
  return out;
}

bool is_identifier_byte(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

bool is_hex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Writes the body of one ordinary string literal (between its quotes).
bool write_literal_body(const std::string& body, std::string& out) {
  bool after_hex_escape = false;
  for (std::size_t i = 0; i < body.size();) {
    unsigned char c = static_cast<unsigned char>(body[i]);
    if (c == '\\') {
      // Escapes are copied as they are, with everything they take.
      std::size_t end = i + 2;
      if (body[i + 1] == 'x')
        while (end < body.size() && is_hex(body[end])) ++end;
      else if (body[i + 1] >= '0' && body[i + 1] <= '7')
        while (end < body.size() && end < i + 4 && body[end] >= '0' && body[end] <= '7') ++end;
      out.append(body, i, end - i);
      after_hex_escape = body[i + 1] == 'x';
      i = end;
    } else if (c < 0x80) {
      // A hex digit right after a \x escape would extend it: split the literal.
      if (after_hex_escape && is_hex(body[i])) out += "\" \"";
      out += body[i++];
      after_hex_escape = false;
    } else {
      std::size_t end = i;
      while (end < body.size() && static_cast<unsigned char>(body[end]) >= 0x80) ++end;
      std::string gbk = to_gbk(body.substr(i, end - i));
      if (gbk.empty()) return false;
      char escaped[8];
      for (unsigned char byte : gbk) {
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        out += escaped;
      }
      after_hex_escape = true;
      i = end;
    }
  }
  return true;
}

bool convert(const std::string& source, std::string& out) {
  for (std::size_t i = 0; i < source.size();) {
    char c = source[i];
    if (c == '/' && source[i + 1] == '/') {
      std::size_t end = source.find('\n', i);
      end = end == std::string::npos ? source.size() : end;
      out.append(source, i, end - i);
      i = end;
    } else if (c == '/' && source[i + 1] == '*') {
      std::size_t end = source.find("*/", i + 2) + 2;
      out.append(source, i, end - i);
      i = end;
    } else if (c == 'R' && source[i + 1] == '"' && (i == 0 || !std::isalnum(static_cast<unsigned char>(source[i - 1])))) {
      // Raw strings hold no Chinese text here: copied whole.
      std::size_t open = source.find('(', i);
      std::string closing = ")" + source.substr(i + 2, open - i - 2) + "\"";
      std::size_t end = source.find(closing, open) + closing.size();
      out.append(source, i, end - i);
      i = end;
    } else if (c == '\'' && i > 0 && std::isxdigit(static_cast<unsigned char>(source[i - 1])) &&
               std::isxdigit(static_cast<unsigned char>(source[i + 1]))) {
      out += source[i++];  // a digit separator
    } else if (c == '"' || c == '\'') {
      std::size_t end = i + 1;
      while (end < source.size() && source[end] != c) end += source[end] == '\\' ? 2 : 1;
      std::string body = source.substr(i + 1, end - i - 1);
      out += c;
      if (!write_literal_body(body, out)) return false;
      out += c;
      i = end + 1;
    } else if (is_identifier_byte(c)) {
      std::size_t end = i;
      bool chinese = false;
      while (end < source.size() && is_identifier_byte(source[end])) {
        chinese |= static_cast<unsigned char>(source[end]) >= 0x80;
        ++end;
      }
      if (!chinese) {
        out.append(source, i, end - i);
      } else {
        std::string gbk = to_gbk(source.substr(i, end - i));
        if (gbk.empty()) return false;
        out += "_gbk_";
        char digits[4];
        for (unsigned char byte : gbk) {
          std::snprintf(digits, sizeof digits, "%02x", byte);
          out += digits;
        }
      }
      i = end;
    } else {
      out += source[i++];
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gbk_literals INPUT OUTPUT\n");
    return 2;
  }
  std::ifstream input(argv[1], std::ios::binary);
  std::string source((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
  std::string converted;
  if (!input || !convert(source, converted)) {
    std::fprintf(stderr, "gbk_literals: %s: a literal has no GBK form\n", argv[1]);
    return 1;
  }
  std::ofstream(argv[2], std::ios::binary) << converted;
  return 0;
}
