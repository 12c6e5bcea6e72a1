// The sexagenary vocabulary: stems, branches, elements, the sixty pairs and
// the zodiac animals, with the index lookups the other calculations share.
// Tables are 0-based arrays; every index the lookups return is 1-based, and
// 0 means "not recognised".
#pragma once

#include <array>
#include <string_view>

namespace pillar::vocabulary {

using Name = std::string_view;

// 甲 乙 丙 丁 戊 己 庚 辛 壬 癸
extern const std::array<Name, 10> kStems;
// 子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥
extern const std::array<Name, 12> kBranches;
// 金 水 木 火 土: each generates the next and controls the one after that.
extern const std::array<Name, 5> kElements;
// 甲子 乙丑 … 癸亥, in number order.
extern const std::array<Name, 60> kSixtyPairs;
// 鼠 牛 … 猪, in branch order.
extern const std::array<Name, 12> kAnimals;

// Stem index 1-10, else branch index 1-12, else 0 (甲 and 子 both give 1).
int stem_or_branch_index(Name text);
// 1-10 for a stem, else 0.
int stem_index(Name text);
// 1-12 for a branch, else 0.
int branch_index(Name text);
// 金 1, 水 2, 木 3, 火 4, 土 5, else 0.
int element_index(Name text);
// 1-60 for a sexagenary pair, else 0.
int pair_number(Name text);
// The element of a stem or a branch, or the empty name.
Name element_of_stem_or_branch(Name text);

// Remainder with the sign of the dividend, a remainder of 0 replaced by the
// cycle length, so that cyclic lookups stay 1-based.
constexpr int cyclic_index(int value, int cycle) {
  int remainder = value % cycle;
  return remainder == 0 ? cycle : remainder;
}

// Whole-text, byte-exact equality for scanning tables. Table texts are a few
// bytes long: comparing them inline is much cheaper than a memcmp call per
// entry.
constexpr bool same_text(Name a, Name b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i != a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

}  // namespace pillar::vocabulary
