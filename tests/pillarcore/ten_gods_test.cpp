// Ten-god relations, their abbreviations and the hidden stems of branches.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "exports.h"
#include "ten_gods.h"
#include "shown_text.h"
#include "unrecognised_texts.h"
#include "vocabulary.h"

namespace {

using namespace pillar;

std::string stem(int index) { return std::string(vocabulary::kStems[index - 1]); }
std::string branch(int index) { return std::string(vocabulary::kBranches[index - 1]); }

std::string relation(const std::string& day, const std::string& other, int mode) {
  return shown(取十神关系(day.c_str(), other.c_str(), mode));
}

const int kModes[] = {1, 0, 2, -1, INT_MIN, INT_MAX};

TEST(TenGodRelation, BetweenStemsAsTheAlmanacPrintsIt) {
  const char* table[10][10] = {
      {"比肩", "劫财", "食神", "伤官", "偏财", "正财", "偏官", "正官", "偏印", "正印"},
      {"劫财", "比肩", "伤官", "食神", "正财", "偏财", "正官", "偏官", "正印", "偏印"},
      {"偏印", "正印", "比肩", "劫财", "食神", "伤官", "偏财", "正财", "偏官", "正官"},
      {"正印", "偏印", "劫财", "比肩", "伤官", "食神", "正财", "偏财", "正官", "偏官"},
      {"偏官", "正官", "偏印", "正印", "比肩", "劫财", "食神", "伤官", "偏财", "正财"},
      {"正官", "偏官", "正印", "偏印", "劫财", "比肩", "伤官", "食神", "正财", "偏财"},
      {"偏财", "正财", "偏官", "正官", "偏印", "正印", "比肩", "劫财", "食神", "伤官"},
      {"正财", "偏财", "正官", "偏官", "正印", "偏印", "劫财", "比肩", "伤官", "食神"},
      {"食神", "伤官", "偏财", "正财", "偏官", "正官", "偏印", "正印", "比肩", "劫财"},
      {"伤官", "食神", "正财", "偏财", "正官", "偏官", "正印", "偏印", "劫财", "比肩"},
  };
  for (int day = 1; day <= 10; ++day)
    for (int other = 1; other <= 10; ++other)
      for (int mode : kModes)
        EXPECT_EQ(relation(stem(day), stem(other), mode), table[day - 1][other - 1])
            << stem(day) << stem(other) << " mode " << mode;
}

TEST(TenGodRelation, BranchIsJudgedAsTheStemItStandsFor) {
  // Column 1: mode 1; column 2: any other mode.
  const char* stands_for[12][2] = {{"壬", "癸"}, {"己", "己"}, {"甲", "甲"}, {"乙", "乙"},
                                   {"戊", "戊"}, {"丁", "丙"}, {"丙", "丁"}, {"己", "己"},
                                   {"庚", "庚"}, {"辛", "辛"}, {"戊", "戊"}, {"癸", "壬"}};
  for (int day = 1; day <= 10; ++day)
    for (int b = 1; b <= 12; ++b)
      for (int mode : kModes)
        EXPECT_EQ(relation(stem(day), branch(b), mode),
                  relation(stem(day), stands_for[b - 1][mode == 1 ? 0 : 1], mode))
            << stem(day) << branch(b) << " mode " << mode;
}

TEST(TenGodRelation, KnownPairs) {
  EXPECT_STREQ(取十神关系("甲", "甲", 0), "比肩");
  EXPECT_STREQ(取十神关系("甲", "寅", 0), "比肩");
  EXPECT_STREQ(取十神关系("甲", "子", 1), "偏印");
  for (int mode : {0, 2, -1}) EXPECT_STREQ(取十神关系("甲", "子", mode), "正印");
  EXPECT_STREQ(取十神关系("丙", "午", 1), "比肩");
  EXPECT_STREQ(取十神关系("丙", "午", 0), "劫财");
  for (int mode : kModes) {
    EXPECT_STREQ(取十神关系("戊", "丑", mode), "劫财");
    EXPECT_STREQ(取十神关系("戊", "未", mode), "劫财");
    EXPECT_STREQ(取十神关系("戊", "辰", mode), "比肩");
    EXPECT_STREQ(取十神关系("戊", "戌", mode), "比肩");
  }
}

TEST(TenGodRelation, NoTextForAnythingButADayStemAndAStemOrBranch) {
  EXPECT_EQ(取十神关系("子", "甲", 1), nullptr);
  EXPECT_EQ(取十神关系("甲", "甲子", 1), nullptr);
  EXPECT_EQ(取十神关系("", "甲", 1), nullptr);
  EXPECT_EQ(取十神关系("甲", "", 1), nullptr);
  EXPECT_EQ(取十神关系(nullptr, "甲", 0), nullptr);
  EXPECT_EQ(取十神关系("甲", nullptr, 0), nullptr);
  EXPECT_EQ(取十神关系("甲", "金", 0), nullptr);
  for (const auto& text : unrecognised_variants_of("甲")) {
    EXPECT_EQ(取十神关系(text.c_str(), "甲", 1), nullptr) << text.substr(0, 8);
    EXPECT_EQ(取十神关系("甲", text.c_str(), 1), nullptr) << text.substr(0, 8);
  }
  for (const auto& text : unrecognised_variants_of("子"))
    EXPECT_EQ(取十神关系("甲", text.c_str(), 0), nullptr) << text.substr(0, 8);
}

TEST(TenGodAbbreviation, OneCharacterForEachNameAndTheDayMaster) {
  const char* table[][2] = {{"正官", "官"}, {"偏官", "杀"}, {"正财", "财"}, {"偏财", "才"},
                            {"正印", "印"}, {"偏印", "枭"}, {"比肩", "比"}, {"劫财", "劫"},
                            {"食神", "食"}, {"伤官", "伤"}, {"日主", "主"}};
  for (const auto& row : table) EXPECT_STREQ(十神简写(row[0]), row[1]) << row[0];
  // Every name the relation produces has an abbreviation.
  for (auto name : ten_gods::kTenGodNames) EXPECT_NE(十神简写(std::string(name).c_str()), nullptr);
  EXPECT_EQ(十神简写(nullptr), nullptr);
  for (const char* text : {"官", "主", "偏", "比肩比肩", "甲"}) EXPECT_EQ(十神简写(text), nullptr) << text;
  for (const auto& text : unrecognised_variants_of("偏财"))
    EXPECT_EQ(十神简写(text.c_str()), nullptr) << text.substr(0, 8);
}

TEST(HiddenStems, OneToThreeStemsPerBranchMainStemFirst) {
  const char* table[12] = {"癸", "己癸辛", "甲丙戊", "乙", "戊乙癸", "丙戊庚",
                           "丁己", "己丁乙", "庚壬戊", "辛", "戊辛丁", "壬甲"};
  int branches_with[4] = {};
  for (int b = 1; b <= 12; ++b) {
    std::string stems = shown(取地支藏干(branch(b).c_str()));
    EXPECT_EQ(stems, table[b - 1]) << branch(b);
    ++branches_with[stems.size() / 2];
    // The main stem shares the branch's element.
    EXPECT_STREQ(取干支五行(stems.substr(0, 2).c_str()),
                 std::string(vocabulary::element_of_stem_or_branch(branch(b))).c_str());
    for (std::size_t i = 0; i < stems.size(); i += 2)
      EXPECT_NE(vocabulary::stem_index(stems.substr(i, 2)), 0) << branch(b);
  }
  EXPECT_EQ(branches_with[1], 3);
  EXPECT_EQ(branches_with[2], 2);
  EXPECT_EQ(branches_with[3], 7);
}

TEST(HiddenStems, AStemGetsTheEntryOfTheBranchWithItsNumber) {
  EXPECT_STREQ(取地支藏干("甲"), "癸");
  EXPECT_STREQ(取地支藏干("乙"), "己癸辛");
  EXPECT_STREQ(取地支藏干("壬"), "庚壬戊");
  EXPECT_STREQ(取地支藏干("癸"), "辛");
}

TEST(HiddenStems, EmptyTextNotNoTextForAnythingUnnumbered) {
  for (const char* text : {"甲子", "", "金"}) {
    const char* stems = 取地支藏干(text);
    ASSERT_NE(stems, nullptr) << text;
    EXPECT_STREQ(stems, "");
  }
  ASSERT_NE(取地支藏干(nullptr), nullptr);
  EXPECT_STREQ(取地支藏干(nullptr), "");
  for (const auto& text : unrecognised_variants_of("子")) {
    const char* stems = 取地支藏干(text.c_str());
    ASSERT_NE(stems, nullptr) << text.substr(0, 8);
    EXPECT_STREQ(stems, "");
  }
}

}  // namespace
