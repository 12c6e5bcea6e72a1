// Void branches, Nayin, spirit classes and month or hour stems of pairs.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "exports.h"
#include "sexagenary.h"
#include "shown_text.h"
#include "unrecognised_texts.h"
#include "vocabulary.h"

namespace {

using namespace pillar;

std::string pair(int number) { return std::string(vocabulary::kSixtyPairs[number - 1]); }
std::string stem(int index) { return std::string(vocabulary::kStems[index - 1]); }
std::string branch(int index) { return std::string(vocabulary::kBranches[index - 1]); }

// Texts that are no pair: variants of a pair, lone characters, a pair of
// mixed polarity and the reversed order.
std::vector<std::string> non_pairs() {
  auto texts = unrecognised_variants_of("甲子");
  for (const char* text : {"甲", "子", "甲丑", "子甲", "金木", "【】"}) texts.push_back(text);
  return texts;
}

TEST(PairNumberFromHalves, AgreesWithTheSixtyPairTable) {
  for (int s = 1; s <= 10; ++s)
    for (int b = 1; b <= 12; ++b) {
      std::string text = stem(s) + branch(b);
      EXPECT_EQ(sexagenary::pair_number_from_halves(text), 取甲子序号(text.c_str())) << text;
    }
  for (const auto& text : non_pairs()) EXPECT_EQ(sexagenary::pair_number_from_halves(text), 0);
}

TEST(VoidBranches, AreTheTwoBranchesEachDecadeLeavesOut) {
  EXPECT_STREQ(取空亡("癸酉"), "戌、亥");
  EXPECT_STREQ(取空亡("甲戌"), "申、酉");
  EXPECT_STREQ(取空亡("癸亥"), "子、丑");
  for (int n = 1; n <= 60; ++n) {
    // A decade's ten pairs use ten branches; the void ones follow the last.
    int decade_start = (n - 1) / 10 * 10;
    std::string expected = branch((decade_start + 10) % 12 + 1) + "、" + branch((decade_start + 11) % 12 + 1);
    EXPECT_EQ(shown(取空亡(pair(n).c_str())), expected) << pair(n);
    EXPECT_EQ(expected.size(), 6u);
  }
}

TEST(VoidBranches, NoTextForAnythingButAPair) {
  EXPECT_EQ(取空亡(nullptr), nullptr);
  for (const auto& text : non_pairs()) EXPECT_EQ(取空亡(text.c_str()), nullptr) << text;
}

TEST(Nayin, NamesEveryPairInBrackets) {
  // Each pair of pairs with its Nayin name, as the almanac prints them.
  struct Row { const char* first; const char* second; const char* name; };
  const Row rows[] = {
      {"甲子", "乙丑", "海中金"}, {"甲午", "乙未", "沙中金"}, {"丙寅", "丁卯", "炉中火"},
      {"丙申", "丁酉", "山下火"}, {"戊辰", "己巳", "大林木"}, {"戊戌", "己亥", "平地木"},
      {"庚午", "辛未", "路边土"}, {"庚子", "辛丑", "壁上土"}, {"壬申", "癸酉", "剑锋金"},
      {"壬寅", "癸卯", "金泊金"}, {"甲戌", "乙亥", "山头火"}, {"甲辰", "乙巳", "佛灯火"},
      {"丙子", "丁丑", "涧下水"}, {"丙午", "丁未", "天河水"}, {"戊寅", "己卯", "城墙土"},
      {"戊申", "己酉", "大驿土"}, {"庚辰", "辛巳", "白蜡金"}, {"庚戌", "辛亥", "钗钏金"},
      {"壬午", "癸未", "杨柳木"}, {"壬子", "癸丑", "桑松木"}, {"甲申", "乙酉", "泉中水"},
      {"甲寅", "乙卯", "大溪水"}, {"丙戌", "丁亥", "屋上土"}, {"丙辰", "丁巳", "沙中土"},
      {"戊子", "己丑", "霹雳火"}, {"戊午", "己未", "天上火"}, {"庚寅", "辛卯", "松柏木"},
      {"庚申", "辛酉", "石榴木"}, {"壬辰", "癸巳", "长流水"}, {"壬戌", "癸亥", "大海水"},
  };
  int named = 0;
  for (const Row& row : rows) {
    for (const char* member : {row.first, row.second}) {
      EXPECT_EQ(sexagenary::nayin_name(member), row.name) << member;
      EXPECT_EQ(shown(取纳音(member)), std::string("【") + row.name + "】");
      ++named;
    }
  }
  EXPECT_EQ(named, 60);
  // Every name ends in an element, each element six times.
  int per_element[6] = {};
  for (const Row& row : rows) ++per_element[vocabulary::element_index(std::string(row.name).substr(4))];
  EXPECT_EQ(per_element[0], 0);
  for (int e = 1; e <= 5; ++e) EXPECT_EQ(per_element[e], 6) << e;
}

TEST(Nayin, EmptyBracketsForAnythingButAPair) {
  EXPECT_STREQ(取纳音(""), "【】");
  EXPECT_EQ(shown(取纳音("")).size(), 4u);
  EXPECT_STREQ(取纳音(nullptr), "【】");
  for (const auto& text : non_pairs()) {
    EXPECT_STREQ(取纳音(text.c_str()), "【】") << text;
    EXPECT_EQ(sexagenary::nayin_name(text), "");
  }
}

TEST(SpiritClass, ThreeShortRunsInEachHalfCycleAreNotAdvancing) {
  EXPECT_STREQ(取进交退伏("甲子"), "进神");
  EXPECT_STREQ(取进交退伏("乙亥"), "进神");
  EXPECT_STREQ(取进交退伏("丙子"), "交神");
  // In each run of fifteen pairs the last three join, retreat and hide.
  const char* by_place[] = {"交神", "退神", "伏神"};
  for (int n = 1; n <= 60; ++n) {
    int place = (n - 1) % 15;
    EXPECT_STREQ(取进交退伏(pair(n).c_str()), place < 12 ? "进神" : by_place[place - 12]) << pair(n);
  }
}

TEST(SpiritClass, EmptyTextForAnythingButAPair) {
  EXPECT_STREQ(取进交退伏("子"), "");
  EXPECT_STREQ(取进交退伏(nullptr), "");
  for (const auto& text : non_pairs()) EXPECT_STREQ(取进交退伏(text.c_str()), "") << text;
}

TEST(MonthOrHourStem, FollowsTheStemOfYearOrDay) {
  EXPECT_STREQ(取月时干("乙", "子", 0), "丙");
  EXPECT_STREQ(取月时干("乙", "寅", 0), "戊");
  EXPECT_STREQ(取月时干("乙", "寅", 1), "庚");
  EXPECT_STREQ(取月时干("癸", "亥", 0), "癸");
  // The hour stem runs on from 甲 子 for stems 甲 and 己, two stems further for
  // each later group; selector 1 gives the stem two places on.
  for (int s = 1; s <= 5; ++s)
    for (int b = 1; b <= 12; ++b) {
      std::string hour = shown(取月时干(stem(s).c_str(), branch(b).c_str(), 0));
      for (int selector : {2, -1, INT_MIN, INT_MAX})
        EXPECT_STREQ(取月时干(stem(s).c_str(), branch(b).c_str(), selector), hour.c_str());
      EXPECT_EQ(hour, stem((2 * (s - 1) + b - 1) % 10 + 1));
      EXPECT_STREQ(取月时干(stem(s + 5).c_str(), branch(b).c_str(), 0), hour.c_str());
      EXPECT_STREQ(取月时干(stem(s).c_str(), branch(b).c_str(), 1),
                   stem((vocabulary::stem_index(hour) + 1) % 10 + 1).c_str());
    }
}

TEST(MonthOrHourStem, NoTextUnlessBothTextsAreNumbered) {
  for (int selector : {1, 0}) {
    EXPECT_EQ(取月时干(nullptr, nullptr, selector), nullptr);
    EXPECT_EQ(取月时干("", "", selector), nullptr);
    EXPECT_EQ(取月时干("甲", "", selector), nullptr);
    EXPECT_EQ(取月时干("", "寅", selector), nullptr);
    for (const auto& text : unrecognised_variants_of("甲")) {
      EXPECT_EQ(取月时干(text.c_str(), "寅", selector), nullptr) << text;
      EXPECT_EQ(取月时干("甲", text.c_str(), selector), nullptr) << text;
    }
  }
}

}  // namespace
