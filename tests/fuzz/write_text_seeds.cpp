// Writes a parser fuzzer's first inputs, one file per line of a list, and
// makes its corpus folder. In the list, \n, \r, \t, \\ and \xHH stand for their
// bytes (so a seed may hold a NUL or a byte that is not UTF-8); lines that
// start with '#' are comments.
//
//   write_text_seeds LIST SEED_FOLDER CORPUS_FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string unescaped(const std::string& line) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '\\' || i + 1 == line.size()) {
      out += line[i];
      continue;
    }
    char kind = line[++i];
    if (kind == 'n') out += '\n';
    else if (kind == 't') out += '\t';
    else if (kind == 'r') out += '\r';
    else if (kind == 'x' && i + 2 < line.size()) {
      out += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else out += kind;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: write_text_seeds LIST SEED_FOLDER CORPUS_FOLDER\n");
    return 2;
  }
  std::ifstream list(argv[1]);
  if (!list) {
    std::perror(argv[1]);
    return 2;
  }
  std::filesystem::create_directories(argv[2]);
  std::filesystem::create_directories(argv[3]);
  int written = 0;
  for (std::string line; std::getline(list, line);) {
    if (line.empty() || line.starts_with('#')) continue;
    std::ofstream(std::string(argv[2]) + "/seed" + std::to_string(written++), std::ios::binary) << unescaped(line);
  }
  std::printf("%d seeds\n", written);
  return written > 0 ? 0 : 1;
}
