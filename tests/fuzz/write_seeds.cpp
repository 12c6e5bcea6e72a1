// Writes the export fuzzer's first inputs: for every export, calls
// whose texts are vocabulary words (stems, branches, elements, the sixty
// pairs, animals, ten-god names) and whose numbers are the special values.
//
//   write_seeds FOLDER
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "each_export.h"
#include "fuzz_input.h"

namespace {

template <typename T>
void encode(std::vector<unsigned char>& bytes, int variant, int position) {
  if constexpr (std::is_same_v<T, pillar::Text>) {
    bytes.push_back(1);  // a vocabulary word
    bytes.push_back(static_cast<unsigned char>(variant * 7 + position * 13));
  } else if constexpr (std::is_same_v<T, pillar::Int>) {
    bytes.push_back(1);  // a special integer
    bytes.push_back(static_cast<unsigned char>(variant));
  } else if constexpr (std::is_same_v<T, pillar::Date>) {
    bytes.push_back(variant % 2 ? 3 : 0);  // a day of the term span, or a special date
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(variant * 37 + i));
  } else {
    bytes.push_back(1);  // a real output
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_seeds FOLDER\n");
    return 2;
  }
  int index = 0, written = 0;
  for_each_export([&]<typename R, typename... P>(const pillar::ExportInfo& info, R (*)(P...)) {
    for (int variant = 0; variant < 16; ++variant) {
      std::vector<unsigned char> bytes{static_cast<unsigned char>(index)};
      int position = 0;
      (encode<P>(bytes, variant, position++), ...);
      std::string path = std::string(argv[1]) + "/export" + std::to_string(info.ordinal) + "-" +
                         std::to_string(variant);
      std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<std::streamsize>(bytes.size()));
      ++written;
    }
    ++index;
  });
  std::printf("%d seeds\n", written);
  return 0;
}
