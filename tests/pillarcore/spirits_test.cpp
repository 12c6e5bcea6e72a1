// The year generals, the Tai Sui direction, the eight direction spirits and
// the year spirit counted from a reference branch.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "exports.h"
#include "malformed_texts.h"
#include "vocabulary.h"

namespace {

using namespace pillar;

std::string text_or_null(const char* text) { return text ? text : "(no text)"; }

// In sixty-pair order, ten to a line.
const char* const kYearGenerals[] = {
    "金辨", "陈才", "耿章", "沈兴", "赵达", "郭灿", "王济", "李素", "刘旺", "康志",
    "施广", "任保", "郭嘉", "汪文", "鲁先", "龙仲", "董德", "郑但", "陆明", "魏仁",
    "方杰", "蒋崇", "白敏", "封济", "邹铛", "傅佑", "邬桓", "范宁", "彭泰", "徐单",
    "章词", "杨仙", "管仲", "唐杰", "姜武", "谢太", "卢秘", "杨信", "贺谔", "皮时",
    "李诚", "吴逐", "文哲", "缪丙", "徐浩", "程宝", "倪秘", "叶坚", "丘德", "朱得",
    "张朝", "万清", "辛亚", "杨彦", "黎卿", "傅党", "毛梓", "石政", "洪充", "虞程"};

TEST(YearGeneral, EachPairHasItsOwnGeneral) {
  EXPECT_EQ(text_or_null(取甲子太岁("癸亥")), "虞程");
  for (int n = 1; n <= 60; ++n) {
    std::string pair(vocabulary::kSixtyPairs[n - 1]);
    EXPECT_EQ(text_or_null(取甲子太岁(pair.c_str())), kYearGenerals[n - 1]) << pair;
  }
}

TEST(YearGeneral, AnythingButOnePairHasNoGeneral) {
  EXPECT_EQ(取甲子太岁("癸"), nullptr);
  EXPECT_EQ(取甲子太岁("甲丑"), nullptr);
  for (const char* bad : MalformedTexts("甲子"))
    EXPECT_EQ(取甲子太岁(bad), nullptr) << MalformedTexts::describe(bad);
}

TEST(TaiSuiDirection, ComesFromTheLastCharacter) {
  const char* directions[] = {"正北", "东北", "东北", "正东", "东南", "东南",
                              "正南", "西南", "西南", "正西", "西北", "西北"};
  for (int i = 0; i < 12; ++i) {
    std::string branch(vocabulary::kBranches[i]);
    EXPECT_EQ(text_or_null(取太岁方向(branch.c_str())), directions[i]) << branch;
  }
  EXPECT_EQ(text_or_null(取太岁方向("甲子")), "正北");
  EXPECT_EQ(text_or_null(取太岁方向("子")), "正北");
  EXPECT_EQ(text_or_null(取太岁方向("子丑")), "东北");
  EXPECT_EQ(text_or_null(取太岁方向(" 子")), "正北");
  EXPECT_EQ(text_or_null(取太岁方向("ab亥")), "西北");
  std::string long_text;
  while (long_text.size() < 100000) long_text += "午";
  EXPECT_EQ(text_or_null(取太岁方向(long_text.c_str())), "正南");
}

TEST(TaiSuiDirection, NoBranchAtTheEndGivesNoText) {
  for (const char* text : {(const char*)nullptr, "", "子 ", "甲", "a", "\xbc", "子a", "jia"})
    EXPECT_EQ(取太岁方向(text), nullptr) << MalformedTexts::describe(text);
  std::string long_text(100000, 'a');
  EXPECT_EQ(取太岁方向(long_text.c_str()), nullptr);
}

TEST(TaiSuiDirection, ATrailingLoneLeadByteIsNotHalfABranch) {
  // 甲 is BC D7 and 子 is D7 D3: the last two bytes of 甲 + D3 spell 子.
  EXPECT_EQ(取太岁方向("甲\xd3"), nullptr);
  EXPECT_EQ(取太岁方向("a\xd7\xd3\xbc"), nullptr);
  EXPECT_EQ(text_or_null(取太岁方向("a\xd7\xd3")), "正北");
}

using Directions = std::array<std::int32_t, 8>;

Directions spirit_directions(const char* pillar) {
  Directions out;
  out.fill(-1);
  取八神方向(pillar, &out[0], &out[1], &out[2], &out[3], &out[4], &out[5], &out[6], &out[7]);
  return out;
}

// Entry i of each spirit's table is its code for the pair numbers that leave
// remainder i when divided by the table's length (remainder 0: the last).
const char* const kDirectionTables[8] = {
    "14 34 32 52 12",
    "32 32 53 34 14 54 14 14 51 12",
    "14 54 34 53 32 32 32 52 12 51",
    "12 12 51 51 54 52 32 32 34 53",
    "14 14 53 53 54 54 51 51 52 52",
    "12 14 54 34 32 12 14 54 34 32",
    "14 14 14 53 53 53 12 12 12 52 52 52 54 54 54 34 34 34 51 51 51 32 32 32",
    "53 53 53 12 12 12 52 52 52 54 54 54 34 34 34 51 51 51 32 32 32 14 14 14",
};

// The eight codes for pair number n (0: no pillar).
Directions directions_of_number(int n) {
  Directions codes;
  for (int spirit = 0; spirit < 8; ++spirit) {
    std::istringstream table(kDirectionTables[spirit]);
    std::vector<std::int32_t> entries{std::istream_iterator<std::int32_t>(table), {}};
    int i = n % static_cast<int>(entries.size());
    codes[spirit] = entries[(i == 0 ? entries.size() : i) - 1];
  }
  return codes;
}

TEST(SpiritDirections, FollowThePairNumber) {
  EXPECT_EQ(spirit_directions("甲子"), (Directions{14, 32, 14, 12, 14, 12, 14, 53}));
  for (int n = 1; n <= 60; ++n) {
    std::string pair(vocabulary::kSixtyPairs[n - 1]);
    EXPECT_EQ(spirit_directions(pair.c_str()), directions_of_number(n)) << pair;
  }
}

TEST(SpiritDirections, NoPillarWritesTheLastEntryOfEveryTable) {
  const Directions last_entries = {12, 12, 51, 53, 52, 32, 32, 14};
  EXPECT_EQ(directions_of_number(0), last_entries);
  for (const char* bad : MalformedTexts("甲子"))
    EXPECT_EQ(spirit_directions(bad), last_entries) << MalformedTexts::describe(bad);
}

TEST(SpiritDirections, NullOutputsAreSkipped) {
  std::int32_t second = -1, eighth = -1;
  取八神方向("甲子", nullptr, &second, nullptr, nullptr, nullptr, nullptr, nullptr, &eighth);
  EXPECT_EQ(second, 32);
  EXPECT_EQ(eighth, 53);
  取八神方向("甲子", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

TEST(YearSpirit, CountsForwardFromTheReference) {
  const char* spirits[] = {"太岁", "青龙", "丧门", "六合", "官符", "小耗",
                           "大耗", "朱雀", "白虎", "贵神", "吊客", "病符"};
  for (int e = 0; e < 12; ++e) {
    std::string subject(vocabulary::kBranches[e]);
    EXPECT_EQ(text_or_null(串宫押运("子", subject.c_str())), spirits[e]) << subject;
  }
  EXPECT_EQ(text_or_null(串宫押运("子", "子")), "太岁");
  EXPECT_EQ(text_or_null(串宫押运("子", "亥")), "病符");
  EXPECT_EQ(text_or_null(串宫押运("寅", "子")), "吊客");
  EXPECT_EQ(text_or_null(串宫押运("亥", "子")), "青龙");
}

TEST(YearSpirit, AStemCountsAsItsLodgingBranch) {
  EXPECT_EQ(text_or_null(串宫押运("子", "甲")), "丧门");
  const char* lodging[] = {"寅", "卯", "巳", "午", "戌", "丑", "申", "酉", "亥", "子"};
  for (int i = 0; i < 10; ++i) {
    std::string stem(vocabulary::kStems[i]);
    for (const char* reference : {"子", "午", "亥"})
      EXPECT_EQ(text_or_null(串宫押运(reference, stem.c_str())), text_or_null(串宫押运(reference, lodging[i])))
          << stem;
  }
}

TEST(YearSpirit, UnrecognisedSubjectGivesTheEmptyText) {
  for (const char* bad : MalformedTexts("子")) {
    const char* spirit = 串宫押运("子", bad);
    ASSERT_NE(spirit, nullptr) << MalformedTexts::describe(bad);
    EXPECT_STREQ(spirit, "") << MalformedTexts::describe(bad);
  }
}

TEST(YearSpirit, UnrecognisedReferenceCountsFromZero) {
  // Distance 12 from nothing to 亥 has no spirit.
  EXPECT_EQ(串宫押运("x", "亥"), nullptr);
  EXPECT_EQ(串宫押运(nullptr, "亥"), nullptr);
  EXPECT_EQ(text_or_null(串宫押运("", "子")), "青龙");
}

}  // namespace
