// The growth phases of a stem and the branches of its twelve phases.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "exports.h"
#include "malformed_texts.h"
#include "vocabulary.h"

namespace {

using namespace pillar;

const char* const kPhaseTexts[12] = {"长生", "沐浴", "冠带", "临官", "帝旺", " 衰 ",
                                     " 病 ", " 死 ", " 墓 ", " 绝 ", " 胎 ", " 养 "};

struct StemLists {
  const char* stem;
  const char* mode1;
  const char* other_modes;
};
const StemLists kLists[] = {
    {"甲", "亥子丑寅卯辰巳午未申酉戌", "亥子丑寅卯辰巳午未申酉戌"},
    {"乙", "午巳辰卯寅丑子亥戌酉申未", "亥子丑寅卯辰巳午未申酉戌"},
    {"丙", "寅卯辰巳午未申酉戌亥子丑", "寅卯辰巳午未申酉戌亥子丑"},
    {"丁", "酉申未午巳辰卯寅丑子亥戌", "寅卯辰巳午未申酉戌亥子丑"},
    {"戊", "寅卯辰巳午未申酉戌亥子丑", "寅卯辰巳午未申酉戌亥子丑"},
    {"己", "酉申未午巳辰卯寅丑子亥戌", "寅卯辰巳午未申酉戌亥子丑"},
    {"庚", "巳午未申酉戌亥子丑寅卯辰", "巳午未申酉戌亥子丑寅卯辰"},
    {"辛", "子亥戌酉申未午巳辰卯寅丑", "巳午未申酉戌亥子丑寅卯辰"},
    {"壬", "申酉戌亥子丑寅卯辰巳午未", "申酉戌亥子丑寅卯辰巳午未"},
    {"癸", "卯寅丑子亥戌酉申未午巳辰", "申酉戌亥子丑寅卯辰巳午未"},
};

// Only exactly 1 selects the first variant.
const Int kOtherModes[] = {0, 2, -1, INT_MIN, INT_MAX};

std::string text_or_null(const char* text) { return text ? text : "(no text)"; }

TEST(PhaseBranches, EveryStemHasItsListInEachMode) {
  for (const auto& entry : kLists) {
    EXPECT_EQ(text_or_null(取旺衰对应地支(entry.stem, 1)), entry.mode1) << entry.stem;
    for (Int mode : kOtherModes)
      EXPECT_EQ(text_or_null(取旺衰对应地支(entry.stem, mode)), entry.other_modes) << entry.stem << " " << mode;
  }
}

TEST(PhaseBranches, RefuseAnythingButAStem) {
  EXPECT_EQ(取旺衰对应地支("子", 1), nullptr);
  for (const char* bad : MalformedTexts("癸")) {
    EXPECT_EQ(取旺衰对应地支(bad, 1), nullptr) << MalformedTexts::describe(bad);
    EXPECT_EQ(取旺衰对应地支(bad, 0), nullptr) << MalformedTexts::describe(bad);
  }
}

TEST(GrowthPhase, PhaseKLiesInTheKthBranchOfTheList) {
  for (const auto& entry : kLists) {
    for (Int mode : {1, 0, 2, -1}) {
      std::string list = text_or_null(取旺衰对应地支(entry.stem, mode));
      ASSERT_EQ(list.size(), 24u);
      for (int k = 0; k < 12; ++k) {
        std::string branch = list.substr(2 * k, 2);
        EXPECT_EQ(text_or_null(取旺衰状态(entry.stem, branch.c_str(), mode)), kPhaseTexts[k])
            << entry.stem << " " << branch << " mode " << mode;
      }
    }
  }
}

TEST(GrowthPhase, ModeChangesOnlyYinStems) {
  EXPECT_EQ(text_or_null(取旺衰状态("乙", "午", 1)), "长生");
  EXPECT_EQ(text_or_null(取旺衰状态("乙", "午", 0)), " 死 ");
  EXPECT_EQ(text_or_null(取旺衰状态("甲", "子", 2)), "沐浴");
  for (Int mode : {1, 0, 2, -1}) {
    EXPECT_EQ(text_or_null(取旺衰状态("甲", "亥", mode)), "长生");
    EXPECT_EQ(text_or_null(取旺衰状态("甲", "卯", mode)), "帝旺");
  }
}

TEST(GrowthPhase, RefusesAnythingButAStemAndABranch) {
  EXPECT_EQ(取旺衰状态("子", "子", 1), nullptr);
  EXPECT_EQ(取旺衰状态("甲", "甲", 1), nullptr);
  for (const char* bad : MalformedTexts("甲"))
    EXPECT_EQ(取旺衰状态(bad, "亥", 1), nullptr) << MalformedTexts::describe(bad);
  for (const char* bad : MalformedTexts("亥"))
    EXPECT_EQ(取旺衰状态("甲", bad, 0), nullptr) << MalformedTexts::describe(bad);
}

}  // namespace
