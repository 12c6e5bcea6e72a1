// Whether eight texts form a possible chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "exports.h"
#include "unrecognised_texts.h"
#include "vocabulary.h"

namespace {

using namespace pillar;
using Chart = std::array<std::string, 8>;

int check(const Chart& chart) {
  return 八字是否正确(chart[0].c_str(), chart[1].c_str(), chart[2].c_str(), chart[3].c_str(),
                      chart[4].c_str(), chart[5].c_str(), chart[6].c_str(), chart[7].c_str());
}

std::string stem(int zero_based) { return std::string(vocabulary::kStems[zero_based % 10]); }
std::string branch(int zero_based) { return std::string(vocabulary::kBranches[zero_based % 12]); }

// 甲子 year, 丙寅 month, 戊午 day, 壬子 hour.
const Chart kPossible = {"甲", "子", "丙", "寅", "戊", "午", "壬", "子"};

// Month pillars the year stem allows, from the rule: the 寅 month of stem
// groups 甲己, 乙庚, 丙辛, 丁壬, 戊癸 starts at 丙, 戊, 庚, 壬, 甲, and the stems
// run on month by month.
std::vector<std::string> month_pillars_for(int year_stem) {
  int first = 2 + 2 * (year_stem % 5);
  std::vector<std::string> pillars;
  for (int month = 0; month < 12; ++month) pillars.push_back(stem(first + month) + branch(2 + month));
  return pillars;
}

// Hour pillars the day stem allows: the 子 hour starts at 甲, 丙, 戊, 庚, 壬 by
// group, and the late 子 hour takes the stem two places on.
std::vector<std::string> hour_pillars_for(int day_stem) {
  int first = 2 * (day_stem % 5);
  std::vector<std::string> pillars = {stem(first + 2) + branch(0)};
  for (int hour = 0; hour < 12; ++hour) pillars.push_back(stem(first + hour) + branch(hour));
  return pillars;
}

bool contains(const std::vector<std::string>& list, const std::string& text) {
  return std::find(list.begin(), list.end(), text) != list.end();
}

TEST(ChartValidity, MonthPillarMustBeOneTheYearStemAllows) {
  for (int year = 0; year < 10; ++year) {
    auto allowed = month_pillars_for(year);
    for (const auto& month : vocabulary::kSixtyPairs) {
      Chart chart = kPossible;
      chart[0] = stem(year);
      chart[1] = branch(year % 2);
      chart[2] = std::string(month.substr(0, 2));
      chart[3] = std::string(month.substr(2));
      EXPECT_EQ(check(chart), contains(allowed, std::string(month)) ? 1 : 0)
          << chart[0] << " year, " << month << " month";
    }
  }
}

TEST(ChartValidity, HourPillarMustBeOneTheDayStemAllows) {
  for (int day = 0; day < 10; ++day) {
    auto allowed = hour_pillars_for(day);
    ASSERT_EQ(allowed.size(), 13u);
    for (const auto& hour : vocabulary::kSixtyPairs) {
      Chart chart = kPossible;
      chart[4] = stem(day);
      chart[5] = branch(day % 2);
      chart[6] = std::string(hour.substr(0, 2));
      chart[7] = std::string(hour.substr(2));
      EXPECT_EQ(check(chart), contains(allowed, std::string(hour)) ? 1 : 0)
          << chart[4] << " day, " << hour << " hour";
    }
  }
}

TEST(ChartValidity, YearAndDayPillarsAreFreeAmongTheSixtyPairs) {
  for (const auto& pair : vocabulary::kSixtyPairs) {
    Chart chart = kPossible;
    chart[0] = std::string(pair.substr(0, 2));
    chart[1] = std::string(pair.substr(2));
    chart[2] = month_pillars_for(vocabulary::stem_index(chart[0]) - 1)[0].substr(0, 2);
    EXPECT_EQ(check(chart), 1) << pair;
    chart = kPossible;
    chart[4] = std::string(pair.substr(0, 2));
    chart[5] = std::string(pair.substr(2));
    chart[6] = hour_pillars_for(vocabulary::stem_index(chart[4]) - 1)[1].substr(0, 2);
    EXPECT_EQ(check(chart), 1) << pair;
  }
}

TEST(ChartValidity, KnownCharts) {
  EXPECT_EQ(check(kPossible), 1);
  Chart chart = kPossible;
  chart[2] = "丁";  // 丁寅 is no pair and not a 甲 year's month
  EXPECT_EQ(check(chart), 0);
  chart = kPossible;
  chart[2] = "戊";  // 戊寅 belongs to 乙 and 庚 years
  EXPECT_EQ(check(chart), 0);
  chart = {"甲", "子", "丙", "寅", "甲", "子", "丙", "子"};  // the late 子 hour
  EXPECT_EQ(check(chart), 1);
  chart[6] = "戊";
  EXPECT_EQ(check(chart), 0);
  EXPECT_EQ(八字是否正确(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(check({"", "", "", "", "", "", "", ""}), 0);
}

// A whole pair in a stem's place with an empty branch joins to a pair, but
// the chart it describes has no year branch.
TEST(ChartValidity, EachTextIsOneCharacterInItsPlace) {
  Chart chart = kPossible;
  chart[0] = "甲子";
  chart[1] = "";
  EXPECT_EQ(check(chart), 0);
  chart[2] = "甲";  // a month that the skipped month test would have let through
  EXPECT_EQ(check(chart), 0);
  chart = kPossible;
  chart[0] = "";
  chart[1] = "甲子";
  EXPECT_EQ(check(chart), 0);
  chart = kPossible;
  chart[4] = "戊午";
  chart[5] = "";
  EXPECT_EQ(check(chart), 0);
  chart = kPossible;
  std::swap(chart[0], chart[1]);  // branch before stem
  EXPECT_EQ(check(chart), 0);
}

TEST(ChartValidity, AnyBadTextInAnyPlaceFailsTheChart) {
  for (int place = 0; place < 8; ++place) {
    for (const auto& text : unrecognised_variants_of(kPossible[place])) {
      Chart chart = kPossible;
      chart[place] = text;
      EXPECT_EQ(check(chart), 0) << "place " << place << ": " << text.substr(0, 8);
    }
    Chart chart = kPossible;
    chart[place] = kPossible[place % 2 == 0 ? place + 1 : place - 1];  // stem and branch swapped
    EXPECT_EQ(check(chart), 0) << "place " << place;
  }
}

}  // namespace
