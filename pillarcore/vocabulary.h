// The sexagenary vocabulary: stems, branches, elements, the sixty pairs and
// the zodiac animals, with the index lookups the other calculations share.
// Tables are 0-based arrays; every index the lookups return is 1-based, and
// 0 means "not recognised". Everything here is constexpr, so that other
// tables can be resolved to indexes when the library is compiled. The texts
// are written as their GBK bytes, so that the header means the same in a
// source compiled with another execution character set; the comments show
// them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace pillar::vocabulary {

using Name = std::string_view;

// Four bytes at a time: the compiler reads each group with one load.
constexpr std::uint32_t four_bytes_at(Name text, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(text[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(text[at + 3])) << 24;
}

// Whole-text, byte-exact equality for scanning tables. Table texts are a few
// bytes long: comparing them inline is much cheaper than a memcmp call per
// entry.
constexpr bool same_text(Name a, Name b) {
  if (a.size() != b.size()) return false;
  std::size_t i = 0;
  for (; i + 4 <= a.size(); i += 4)
    if (four_bytes_at(a, i) != four_bytes_at(b, i)) return false;
  for (; i != a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// Remainder with the sign of the dividend, a remainder of 0 replaced by the
// cycle length, so that cyclic lookups stay 1-based.
constexpr int cyclic_index(int value, int cycle) {
  int remainder = value % cycle;
  return remainder == 0 ? cycle : remainder;
}

// 甲 乙 丙 丁 戊 己 庚 辛 壬 癸
inline constexpr std::array<Name, 10> kStems = {"\xBC\xD7", "\xD2\xD2", "\xB1\xFB", "\xB6\xA1", "\xCE\xEC",
                                                "\xBC\xBA", "\xB8\xFD", "\xD0\xC1", "\xC8\xC9", "\xB9\xEF"};
// 子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥
inline constexpr std::array<Name, 12> kBranches = {"\xD7\xD3", "\xB3\xF3", "\xD2\xFA", "\xC3\xAE", "\xB3\xBD", "\xCB\xC8",
                                                   "\xCE\xE7", "\xCE\xB4", "\xC9\xEA", "\xD3\xCF", "\xD0\xE7", "\xBA\xA5"};
// 金 水 木 火 土: each generates the next and controls the one after that.
inline constexpr std::array<Name, 5> kElements = {"\xBD\xF0", "\xCB\xAE", "\xC4\xBE", "\xBB\xF0", "\xCD\xC1"};
// 甲子 乙丑 … 癸亥, in number order (vocabulary.cpp).
extern const std::array<Name, 60> kSixtyPairs;
// 鼠 牛 … 猪, in branch order (vocabulary.cpp).
extern const std::array<Name, 12> kAnimals;

// The element of each stem or branch: the first group holding the text wins.
// Unused places are spelled out as empty names (the empty text is turned away
// before any group is scanned).
struct ElementGroup {
  std::array<Name, 6> members;
  Name element;
};
inline constexpr std::array<ElementGroup, 5> kElementGroups = {{
    {{"\xBC\xD7", "\xD2\xD2", "\xD2\xFA", "\xC3\xAE", {}, {}}, "\xC4\xBE"},  // 甲 乙 寅 卯: 木
    {{"\xB1\xFB", "\xB6\xA1", "\xCB\xC8", "\xCE\xE7", {}, {}}, "\xBB\xF0"},  // 丙 丁 巳 午: 火
    {{"\xB8\xFD", "\xD0\xC1", "\xC9\xEA", "\xD3\xCF", {}, {}}, "\xBD\xF0"},  // 庚 辛 申 酉: 金
    {{"\xC8\xC9", "\xB9\xEF", "\xD7\xD3", "\xBA\xA5", {}, {}}, "\xCB\xAE"},  // 壬 癸 子 亥: 水
    // 戊 己 辰 戌 丑 未: 土
    {{"\xCE\xEC", "\xBC\xBA", "\xB3\xBD", "\xD0\xE7", "\xB3\xF3", "\xCE\xB4"}, "\xCD\xC1"},
}};

// Named only where a character table is given a longer name, which stops
// the compilation: it is never defined.
void character_table_name_is_not_one_character();

// A table of one-character (two-byte) names, scanned as 16-bit codes: the
// same whole-text, byte-exact comparison as same_text, without a length and a
// byte loop per entry.
template <std::size_t N>
class CharacterTable {
 public:
  constexpr explicit CharacterTable(const std::array<Name, N>& names) {
    for (std::size_t i = 0; i < N; ++i) {
      if (names[i].size() != 2) character_table_name_is_not_one_character();
      codes_[i] = code_of(names[i]);
    }
  }
  // 1-based, 0 when absent.
  constexpr int index(Name text) const {
    return text.size() == 2 ? index_of_code(code_of(text[0], text[1])) : 0;
  }
  constexpr int index_of_code(unsigned code) const {
    for (std::size_t i = 0; i < N; ++i)
      if (codes_[i] == code) return static_cast<int>(i) + 1;
    return 0;
  }
  static constexpr unsigned code_of(char lead, char trail) {
    return static_cast<unsigned char>(lead) << 8 | static_cast<unsigned char>(trail);
  }

 private:
  static constexpr unsigned code_of(Name character) { return code_of(character[0], character[1]); }
  std::array<unsigned, N> codes_{};
};

inline constexpr CharacterTable kStemTable(kStems);
inline constexpr CharacterTable kBranchTable(kBranches);
inline constexpr CharacterTable kElementTable(kElements);

// 1-10 for a stem, else 0.
constexpr int stem_index(Name text) { return kStemTable.index(text); }
// 1-12 for a branch, else 0.
constexpr int branch_index(Name text) { return kBranchTable.index(text); }
// 金 1, 水 2, 木 3, 火 4, 土 5, else 0.
constexpr int element_index(Name text) { return kElementTable.index(text); }
// Stem index 1-10, else branch index 1-12, else 0 (甲 and 子 both give 1).
constexpr int stem_or_branch_index(Name text) {
  if (int stem = stem_index(text)) return stem;
  return branch_index(text);
}

// 1-60 for the sexagenary pair written as `first` followed by `second`, else
// 0: only the joined bytes count, however they split, and nothing is joined
// in memory. A pair is a stem followed by a branch of the same polarity, and
// its number is the one whose stem and branch cycles land on them: that
// finds it without scanning all sixty pairs, with the same result.
constexpr int joined_pair_number(Name first, Name second) {
  if (first.size() + second.size() != 4) return 0;
  auto byte = [&](std::size_t at) { return at < first.size() ? first[at] : second[at - first.size()]; };
  int stem = kStemTable.index_of_code(kStemTable.code_of(byte(0), byte(1)));
  int branch = kBranchTable.index_of_code(kBranchTable.code_of(byte(2), byte(3)));
  if (!stem || !branch || stem % 2 != branch % 2) return 0;
  int number = stem;
  while (cyclic_index(number, 12) != branch) number += 10;
  return number;
}

// 1-60 for a sexagenary pair, else 0.
constexpr int pair_number(Name text) { return joined_pair_number(text, Name()); }

// The element of a stem or a branch, or the empty name. Every group member
// is a stem or a branch, so the groups are resolved to an element per stem
// and per branch when the library is compiled (the first group wins, as in a
// scan).
template <std::size_t N>
constexpr std::array<Name, N + 1> elements_by_index(const std::array<Name, N>& characters) {
  std::array<Name, N + 1> elements{};
  for (std::size_t i = 0; i < N; ++i)
    for (std::size_t group = kElementGroups.size(); group-- > 0;)
      for (Name member : kElementGroups[group].members)
        if (same_text(member, characters[i])) elements[i + 1] = kElementGroups[group].element;
  return elements;
}
inline constexpr auto kElementOfStem = elements_by_index(kStems);
inline constexpr auto kElementOfBranch = elements_by_index(kBranches);
static_assert([] {
  for (const auto& group : kElementGroups)
    for (Name member : group.members)
      if (!member.empty() && !stem_index(member) && !branch_index(member)) return false;
  return true;
}(), "every member of an element group is a stem or a branch");

constexpr Name element_of_stem_or_branch(Name text) {
  if (int stem = stem_index(text)) return kElementOfStem[stem];
  return kElementOfBranch[branch_index(text)];
}

}  // namespace pillar::vocabulary
