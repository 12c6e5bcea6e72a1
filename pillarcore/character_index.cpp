#include "character_index.h"

#include <cstdint>

namespace pillar::character_index {

using namespace vocabulary;

namespace {

// Every stem and branch is one two-byte GBK character.
std::uint16_t code_of(Name character) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(character[0]) << 8 |
                                    static_cast<unsigned char>(character[1]));
}

template <std::size_t N>
std::array<std::uint16_t, N> codes_of(const std::array<Name, N>& characters) {
  std::array<std::uint16_t, N> codes{};
  for (std::size_t i = 0; i < N; ++i) codes[i] = code_of(characters[i]);
  return codes;
}

template <std::size_t N>
int number_in(const std::array<std::uint16_t, N>& codes, Name text) {
  if (text.size() != 2) return 0;
  std::uint16_t code = code_of(text);
  for (std::size_t i = 0; i < N; ++i)
    if (codes[i] == code) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace

int stem_number(Name text) {
  static const auto codes = codes_of(kStems);
  return number_in(codes, text);
}

int branch_number(Name text) {
  static const auto codes = codes_of(kBranches);
  return number_in(codes, text);
}

}  // namespace pillar::character_index
