// Counts of a stem, branch, element or ten god among a chart's positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "exports.h"
#include "shown_text.h"
#include "unrecognised_texts.h"
#include "vocabulary.h"

namespace {

using namespace pillar;

int chart_count(const std::array<const char*, 8>& chart, const char* target) {
  return 取干支数量(chart[0], chart[1], chart[2], chart[3], chart[4], chart[5], chart[6], chart[7],
                    target);
}

// Year, month, day, hour stems, then the four branches.
const std::array<const char*, 8> kChart = {"甲", "丙", "甲", "庚", "子", "寅", "午", "子"};

TEST(ChartCharacterCount, StemsAmongStemsAndBranchesAmongBranches) {
  EXPECT_EQ(chart_count(kChart, "甲"), 2);
  EXPECT_EQ(chart_count(kChart, "子"), 2);
  EXPECT_EQ(chart_count(kChart, "乙"), 0);
  EXPECT_EQ(chart_count(kChart, "庚"), 1);
  EXPECT_EQ(chart_count(kChart, "午"), 1);
  // Out of their places characters are not counted.
  EXPECT_EQ(chart_count({"子", "子", "甲", "甲", "甲", "甲", "子", "子"}, "子"), 2);
  EXPECT_EQ(chart_count({"子", "子", "甲", "甲", "甲", "甲", "子", "子"}, "甲"), 2);
  // The order within each group of four does not matter.
  auto chart = kChart;
  do {
    std::sort(chart.begin() + 4, chart.end());
    do {
      EXPECT_EQ(chart_count(chart, "甲"), 2);
      EXPECT_EQ(chart_count(chart, "子"), 2);
    } while (std::next_permutation(chart.begin() + 4, chart.end()));
  } while (std::next_permutation(chart.begin(), chart.begin() + 4));
}

TEST(ChartCharacterCount, ZeroForATargetThatIsNoSingleStemOrBranch) {
  for (const char* target : {"甲子", "甲乙", "a", "", "金", "比肩"}) EXPECT_EQ(chart_count(kChart, target), 0) << target;
  EXPECT_EQ(chart_count(kChart, nullptr), 0);
  for (const auto& target : unrecognised_variants_of("甲"))
    EXPECT_EQ(chart_count(kChart, target.c_str()), 0) << target.substr(0, 8);
  // Padded or malformed positions are not the target.
  const std::string padded = "甲 ";
  EXPECT_EQ(chart_count({padded.c_str(), "甲", nullptr, "\xbc", "", "", "", ""}, "甲"), 1);
  EXPECT_EQ(chart_count({kHundredThousandBytes.c_str(), "甲", "甲", "甲", "", "", "", ""}, "甲"), 3);
}

TEST(ElementCounts, CountOnlyElementTargets) {
  EXPECT_EQ(取天干五行数量("金", "金", "木", "土", "金"), 2);
  EXPECT_EQ(取天干五行数量("金", "金", "木", "土", "甲"), 0);
  EXPECT_EQ(取天干五行数量("甲", "乙", "丙", "丁", "木"), 0);
  EXPECT_EQ(取地支五行数量("水", "土", "水", "水", "水"), 3);
  EXPECT_EQ(取地支五行数量("水", "土", "水", "水", "火"), 0);
  for (const char* element : {"金", "水", "木", "火", "土"}) {
    EXPECT_EQ(取天干五行数量(element, element, element, element, element), 4);
    EXPECT_EQ(取地支五行数量(nullptr, nullptr, nullptr, nullptr, element), 0);
  }
  for (const auto& target : unrecognised_variants_of("金"))
    EXPECT_EQ(取天干五行数量(target.c_str(), target.c_str(), "金", "金", target.c_str()), 0)
        << target.substr(0, 8);
}

TEST(ElementCounts, HiddenStemsFillTwelveSlots) {
  std::vector<const char*> slots(12, "水");
  auto count = [&](const char* target) {
    return 取藏干五行数量(slots[0], slots[1], slots[2], slots[3], slots[4], slots[5], slots[6],
                          slots[7], slots[8], slots[9], slots[10], slots[11], target);
  };
  EXPECT_EQ(count("水"), 12);
  EXPECT_EQ(count("金"), 0);
  std::fill(slots.begin(), slots.end(), "");
  for (const char* element : {"金", "水", "木", "火", "土", ""}) EXPECT_EQ(count(element), 0);
  // 子 癸, 丑 己癸辛, 午 丁己, 亥 壬甲: empty slots where a branch has fewer stems.
  slots = {"水", "", "", "土", "水", "金", "火", "土", "", "水", "木", ""};
  EXPECT_EQ(count("水"), 3);
  EXPECT_EQ(count("土"), 2);
  EXPECT_EQ(count(""), 0);
}

TEST(TenGodCounts, CountOnlyTenGodTargets) {
  EXPECT_EQ(取天干十神数量("正官", "正官", "比肩", "正官"), 2);
  EXPECT_EQ(取天干十神数量("日主", "日主", "比肩", "日主"), 0);
  EXPECT_EQ(取天干十神数量("正官", "正官", "比肩", "官"), 0);
  EXPECT_EQ(取地支十神数量("偏印", "比肩", "偏印", "偏印", "偏印"), 3);
  EXPECT_EQ(取地支十神数量("偏印", "比肩", "偏印", "偏印", "甲"), 0);
  std::vector<const char*> slots(12, "");
  slots[0] = slots[4] = slots[11] = "食神";
  slots[5] = "伤官";
  auto count = [&](const char* target) {
    return 取藏干十神数量(slots[0], slots[1], slots[2], slots[3], slots[4], slots[5], slots[6],
                          slots[7], slots[8], slots[9], slots[10], slots[11], target);
  };
  EXPECT_EQ(count("食神"), 3);
  EXPECT_EQ(count("伤官"), 1);
  EXPECT_EQ(count("正官"), 0);
  for (const auto& target : unrecognised_variants_of("食神"))
    EXPECT_EQ(count(target.c_str()), 0) << target.substr(0, 8);
  // Each of the ten names that the relation gives is counted.
  for (int day = 0; day < 10; ++day)
    for (int other = 0; other < 10; ++other) {
      std::string name = shown(取十神关系(std::string(vocabulary::kStems[day]).c_str(),
                                          std::string(vocabulary::kStems[other]).c_str(), 1));
      EXPECT_EQ(取地支十神数量(name.c_str(), "", name.c_str(), nullptr, name.c_str()), 2);
    }
}

}  // namespace
