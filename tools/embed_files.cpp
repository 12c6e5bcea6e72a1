// Writes a C++ source that holds files as byte strings, so the program
// carries them (the chart page, the gazetteer) and reads nothing from disk:
//   embed_files OUTPUT.cpp FUNCTION NAME KIND FILE [NAME KIND FILE]...
// KIND is html, js, css, svg or tsv (CMake lists cannot hold the ';' of a
// media type with its charset).
// FUNCTION becomes `std::span<const pillar::EmbeddedFile> FUNCTION()`.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

std::string read_file(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot read ") + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every byte outside printable ASCII as a three-digit octal escape, which no
// following digit can lengthen; lines of about 100 bytes.
std::string literal(const std::string& bytes) {
  std::string out = "\"";
  std::size_t line = 0;
  for (unsigned char c : bytes) {
    if (c == '"' || c == '\\' || c == '?') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\%03o", c);
      out += escape;
    }
    if (++line == 100 || c == '\n') {
      out += "\"\n    \"";
      line = 0;
    }
  }
  return out + "\"";
}

std::string media_type(const std::string& kind) {
  if (kind == "html") return "text/html; charset=utf-8";
  if (kind == "js") return "text/javascript; charset=utf-8";
  if (kind == "css") return "text/css; charset=utf-8";
  if (kind == "svg") return "image/svg+xml";
  if (kind == "tsv") return "text/tab-separated-values; charset=utf-8";
  throw std::runtime_error("unknown kind " + kind);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6 || (argc - 3) % 3 != 0) {
    std::fprintf(stderr, "usage: embed_files OUTPUT.cpp FUNCTION NAME KIND FILE [NAME KIND FILE]...\n");
    return 2;
  }
  try {
    std::ostringstream source;
    source << "// Made by tools/embed_files at build time; not to be edited.\n"
              "#include \"embedded_file.h\"\n\nnamespace pillar {\nnamespace {\n";
    std::ostringstream table;
    for (int i = 3, n = 0; i < argc; i += 3, ++n) {
      const std::string bytes = read_file(argv[i + 2]);
      source << "constexpr char kFile" << n << "[] =\n    " << literal(bytes) << ";\n";
      table << "    {" << literal(argv[i]) << ", " << literal(media_type(argv[i + 1])) << ", {kFile" << n << ", "
            << bytes.size() << "}},\n";
    }
    source << "constexpr EmbeddedFile kFiles[] = {\n" << table.str() << "};\n}  // namespace\n\n"
           << "std::span<const EmbeddedFile> " << argv[2] << "() { return kFiles; }\n\n}  // namespace pillar\n";
    std::ofstream out(argv[1], std::ios::binary);
    out << source.str();
    if (!out) throw std::runtime_error(std::string("cannot write ") + argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "embed_files: %s\n", error.what());
    return 1;
  }
}
