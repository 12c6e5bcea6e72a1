// The six vocabulary exports and the tables behind them.
#include <gtest/gtest.h>

#include <string>

#include "exports.h"
#include "vocabulary.h"

namespace {

using namespace pillar;

// Inputs that no vocabulary lookup recognises.
const std::string kLongText(100000, 'a');
const char* const kUnrecognised[] = {
    "", "甲 ", " 甲", "甲子 ", "甲甲", "a", "jia", "\xbc", "\xbc\xd7\xbc", kLongText.c_str(),
    "金木", "鼠", "【】"};

TEST(StemOrBranchIndex, StemsComeFirstAndShareTheRangeWithBranches) {
  for (int i = 0; i < 10; ++i) EXPECT_EQ(取干支序数(std::string(vocabulary::kStems[i]).c_str()), i + 1);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(取干支序数(std::string(vocabulary::kBranches[i]).c_str()), i + 1);
  EXPECT_EQ(取干支序数("癸"), 10);
  EXPECT_EQ(取干支序数("亥"), 12);
  EXPECT_EQ(取干支序数("甲子"), 0);
  EXPECT_EQ(取干支序数(nullptr), 0);
  for (const char* text : kUnrecognised) EXPECT_EQ(取干支序数(text), 0) << text;
}

TEST(ElementIndex, FollowsGenerationOrder) {
  EXPECT_EQ(取五行序号("金"), 1);
  EXPECT_EQ(取五行序号("水"), 2);
  EXPECT_EQ(取五行序号("木"), 3);
  EXPECT_EQ(取五行序号("火"), 4);
  EXPECT_EQ(取五行序号("土"), 5);
  EXPECT_EQ(取五行序号("甲"), 0);
  for (const char* text : kUnrecognised) EXPECT_EQ(取五行序号(text), 0);
}

TEST(PairNumber, OnlyTheSixtySamePolarityPairsHaveNumbers) {
  EXPECT_EQ(取甲子序号("甲子"), 1);
  EXPECT_EQ(取甲子序号("庚午"), 7);
  EXPECT_EQ(取甲子序号("庚戌"), 47);
  EXPECT_EQ(取甲子序号("癸亥"), 60);
  EXPECT_EQ(取甲子序号("甲丑"), 0);
  EXPECT_EQ(取甲子序号("甲"), 0);
  EXPECT_EQ(取甲子序号("子"), 0);
  for (const char* text : kUnrecognised) EXPECT_EQ(取甲子序号(text), 0);
  // Every number n joins stem (n-1) mod 10 and branch (n-1) mod 12, and no
  // other stem-branch combination has a number.
  for (int stem = 0; stem < 10; ++stem) {
    for (int branch = 0; branch < 12; ++branch) {
      std::string pair = std::string(vocabulary::kStems[stem]) + std::string(vocabulary::kBranches[branch]);
      int number = 取甲子序号(pair.c_str());
      if (stem % 2 != branch % 2) {
        EXPECT_EQ(number, 0) << pair;
      } else {
        ASSERT_GE(number, 1);
        EXPECT_EQ((number - 1) % 10, stem);
        EXPECT_EQ((number - 1) % 12, branch);
      }
    }
  }
}

TEST(ElementOfStemOrBranch, EveryStemAndBranchHasItsElement) {
  const char* stem_elements[] = {"木", "木", "火", "火", "土", "土", "金", "金", "水", "水"};
  const char* branch_elements[] = {"水", "土", "木", "木", "土", "火", "火", "土", "金", "金", "土", "水"};
  for (int i = 0; i < 10; ++i)
    EXPECT_STREQ(取干支五行(std::string(vocabulary::kStems[i]).c_str()), stem_elements[i]);
  for (int i = 0; i < 12; ++i)
    EXPECT_STREQ(取干支五行(std::string(vocabulary::kBranches[i]).c_str()), branch_elements[i]);
  EXPECT_STREQ(取干支五行("辰"), "土");
  EXPECT_STREQ(取干支五行("亥"), "水");
  EXPECT_EQ(取干支五行("金"), nullptr);
  for (const char* text : kUnrecognised) EXPECT_EQ(取干支五行(text), nullptr);
}

TEST(ZodiacAnimal, OnlyBranchesHaveAnimals) {
  const char* animals[] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
  for (int i = 0; i < 12; ++i)
    EXPECT_STREQ(取年支属相(std::string(vocabulary::kBranches[i]).c_str()), animals[i]);
  EXPECT_EQ(取年支属相("甲"), nullptr);
  for (const char* text : kUnrecognised) EXPECT_EQ(取年支属相(text), nullptr);
}

TEST(GenerationControlValue, IsTheDifferenceOfTheElementIndexes) {
  EXPECT_EQ(取生克数值("金", "木"), -2);
  EXPECT_EQ(取生克数值("土", "金"), 4);
  EXPECT_EQ(取生克数值("火", "火"), 0);
  EXPECT_EQ(取生克数值("火", "甲"), 4);
  EXPECT_EQ(取生克数值(nullptr, "土"), -5);
  EXPECT_EQ(取生克数值("土", kLongText.c_str()), 5);
  // Generation: each element generates the next in order, 土 generates 金.
  for (int a = 1; a <= 5; ++a) {
    std::string first(vocabulary::kElements[a - 1]);
    std::string generated(vocabulary::kElements[a % 5]);
    std::string controlled(vocabulary::kElements[(a + 1) % 5]);
    int generates = 取生克数值(first.c_str(), generated.c_str());
    int controls = 取生克数值(first.c_str(), controlled.c_str());
    EXPECT_TRUE(generates == -1 || generates == 4) << first;
    EXPECT_TRUE(controls == -2 || controls == 3) << first;
  }
}

TEST(CyclicIndex, RemainderTakesTheDividendSignAndZeroBecomesTheCycle) {
  EXPECT_EQ(vocabulary::cyclic_index(30, 10), 10);
  EXPECT_EQ(vocabulary::cyclic_index(-2, 10), -2);
  EXPECT_EQ(vocabulary::cyclic_index(13, 12), 1);
  EXPECT_EQ(vocabulary::cyclic_index(0, 24), 24);
}

}  // namespace
