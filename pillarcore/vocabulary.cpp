#include "vocabulary.h"

#include "frame.h"

namespace pillar::vocabulary {

const std::array<Name, 60> kSixtyPairs = {
    "甲子", "乙丑", "丙寅", "丁卯", "戊辰", "己巳", "庚午", "辛未", "壬申", "癸酉",
    "甲戌", "乙亥", "丙子", "丁丑", "戊寅", "己卯", "庚辰", "辛巳", "壬午", "癸未",
    "甲申", "乙酉", "丙戌", "丁亥", "戊子", "己丑", "庚寅", "辛卯", "壬辰", "癸巳",
    "甲午", "乙未", "丙申", "丁酉", "戊戌", "己亥", "庚子", "辛丑", "壬寅", "癸卯",
    "甲辰", "乙巳", "丙午", "丁未", "戊申", "己酉", "庚戌", "辛亥", "壬子", "癸丑",
    "甲寅", "乙卯", "丙辰", "丁巳", "戊午", "己未", "庚申", "辛酉", "壬戌", "癸亥"};
const std::array<Name, 12> kAnimals = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                       "马", "羊", "猴", "鸡", "狗", "猪"};

// The header writes these tables as bytes; this source's literals are GBK.
static_assert(kStems[0] == "甲" && kStems[9] == "癸" && kBranches[0] == "子" &&
                  kBranches[11] == "亥" && kElements[0] == "金" && kElements[4] == "土",
              "the header's bytes are the GBK texts");

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
        return index ? copy_text(kAnimals[index - 1]) : ResultText();
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
