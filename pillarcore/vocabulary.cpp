#include "vocabulary.h"

#include "frame.h"

namespace pillar::vocabulary {

const std::array<Name, 10> kStems = {"甲", "乙", "丙", "丁", "戊",
                                     "己", "庚", "辛", "壬", "癸"};
const std::array<Name, 12> kBranches = {"子", "丑", "寅", "卯", "辰", "巳",
                                        "午", "未", "申", "酉", "戌", "亥"};
const std::array<Name, 5> kElements = {"金", "水", "木", "火", "土"};
const std::array<Name, 60> kSixtyPairs = {
    "甲子", "乙丑", "丙寅", "丁卯", "戊辰", "己巳", "庚午", "辛未", "壬申", "癸酉",
    "甲戌", "乙亥", "丙子", "丁丑", "戊寅", "己卯", "庚辰", "辛巳", "壬午", "癸未",
    "甲申", "乙酉", "丙戌", "丁亥", "戊子", "己丑", "庚寅", "辛卯", "壬辰", "癸巳",
    "甲午", "乙未", "丙申", "丁酉", "戊戌", "己亥", "庚子", "辛丑", "壬寅", "癸卯",
    "甲辰", "乙巳", "丙午", "丁未", "戊申", "己酉", "庚戌", "辛亥", "壬子", "癸丑",
    "甲寅", "乙卯", "丙辰", "丁巳", "戊午", "己未", "庚申", "辛酉", "壬戌", "癸亥"};
const std::array<Name, 12> kAnimals = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                       "马", "羊", "猴", "鸡", "狗", "猪"};

namespace {

// The element of each stem or branch: the first group holding the text wins.
struct ElementGroup {
  std::array<Name, 6> members;
  Name element;
};
const std::array<ElementGroup, 5> kElementGroups = {{
    {{"甲", "乙", "寅", "卯"}, "木"},
    {{"丙", "丁", "巳", "午"}, "火"},
    {{"庚", "辛", "申", "酉"}, "金"},
    {{"壬", "癸", "子", "亥"}, "水"},
    {{"戊", "己", "辰", "戌", "丑", "未"}, "土"},
}};

template <std::size_t N>
int index_in(const std::array<Name, N>& table, Name text) {
  for (std::size_t i = 0; i < N; ++i)
    if (same_text(table[i], text)) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace

int stem_index(Name text) { return index_in(kStems, text); }
int branch_index(Name text) { return index_in(kBranches, text); }
int element_index(Name text) { return index_in(kElements, text); }

// A pair is a stem followed by a branch of the same polarity, and its number
// is the one whose stem and branch cycles land on them: that finds it without
// scanning all sixty pairs, with the same result.
int pair_number(Name text) {
  std::size_t stem_bytes = kStems[0].size();
  if (text.size() != stem_bytes + kBranches[0].size()) return 0;
  int stem = stem_index(text.substr(0, stem_bytes));
  int branch = branch_index(text.substr(stem_bytes));
  if (!stem || !branch || stem % 2 != branch % 2) return 0;
  int number = stem;
  while (cyclic_index(number, 12) != branch) number += 10;
  return number;
}

int stem_or_branch_index(Name text) {
  if (int stem = stem_index(text)) return stem;
  return branch_index(text);
}

Name element_of_stem_or_branch(Name text) {
  if (text.empty()) return {};
  for (const auto& group : kElementGroups)
    for (Name member : group.members)
      if (same_text(member, text)) return group.element;
  return {};
}

}  // namespace pillar::vocabulary

namespace pillar {

using namespace vocabulary;

Int PILLAR_CALL 取干支序数(Text stem_or_branch) {
  return run_export<Export::取干支序数>(stem_or_branch_index, stem_or_branch);
}

Int PILLAR_CALL 取五行序号(Text element) {
  return run_export<Export::取五行序号>(element_index, element);
}

Int PILLAR_CALL 取甲子序号(Text pair) {
  return run_export<Export::取甲子序号>(pair_number, pair);
}

const char* PILLAR_CALL 取干支五行(Text stem_or_branch) {
  return run_export<Export::取干支五行>(
      [](Name text) { return copy_or_no_text(element_of_stem_or_branch(text)); },
      stem_or_branch);
}

const char* PILLAR_CALL 取年支属相(Text branch) {
  return run_export<Export::取年支属相>(
      [](Name text) {
        int index = branch_index(text);
        return index ? copy_text(kAnimals[index - 1]) : HeapText();
      },
      branch);
}

// The difference of the two element indexes, unrecognised ones counting as 0:
// its value tells generation and control through the element order.
Int PILLAR_CALL 取生克数值(Text first_element, Text second_element) {
  return run_export<Export::取生克数值>(
      [](Name first, Name second) { return element_index(first) - element_index(second); },
      first_element, second_element);
}

}  // namespace pillar
