// The lunar calendar's rules where they are easy to get wrong: leap months,
// months that begin just after midnight, the ends of the span and the
// errors for lunar dates that do not exist.
#include <gtest/gtest.h>

#include "lunar_calendar.h"

namespace pillar::lunar {
void PrintTo(const LunarDate& d, std::ostream* out) {
  *out << d.year << (d.leap ? " leap " : " ") << d.month << " " << d.day;
}
}  // namespace pillar::lunar

namespace {

using namespace pillar::lunar;
using pillar::calendar::civil_date_of;
using pillar::calendar::day_of;

CivilDate solar(const LunarDate& date) {
  CivilDate out{};
  EXPECT_EQ(solar_of(date, out), LunarStatus::Ok) << date.year << " " << date.month << " " << date.day;
  return out;
}

TEST(LunarCalendar, LeapMonthsTakeTheNumberOfTheMonthBefore) {
  struct Case {
    int year, leap;
    CivilDate first_day;
  };
  // 2033's leap month is 11 under the modern rule (older rules gave 7).
  for (const Case& c : {Case{2020, 4, {2020, 5, 23}}, Case{2023, 2, {2023, 3, 22}},
                        Case{2033, 11, {2033, 12, 22}}, Case{1984, 10, {1984, 11, 23}}}) {
    EXPECT_EQ(leap_month_of(c.year), c.leap) << c.year;
    EXPECT_EQ(solar({c.year, c.leap, true, 1}), c.first_day) << c.year;
    EXPECT_EQ(lunar_of(c.first_day), (LunarDate{c.year, c.leap, true, 1})) << c.year;
    EXPECT_EQ(months_of(c.year).size(), 13u) << c.year;
  }
  EXPECT_EQ(lunar_of({2023, 6, 18}), (LunarDate{2023, 5, false, 1}));
  EXPECT_EQ(lunar_of({2024, 2, 10}), (LunarDate{2024, 1, false, 1}));
  EXPECT_EQ(lunar_of({2034, 1, 20}), (LunarDate{2033, 12, false, 1}));  // after 闰十一月
}

TEST(LunarCalendar, YearsWithoutLeapMonthHaveTwelve) {
  for (int year : {2021, 2022, 2024, 2026, 2027}) {
    EXPECT_EQ(leap_month_of(year), 0) << year;
    EXPECT_EQ(months_of(year).size(), 12u) << year;
  }
}

TEST(LunarCalendar, MonthBeginsOnTheDayOfANewMoonJustAfterMidnight) {
  // New moons at 2018-11-08 00:02:03 and 2057-09-29 00:00:40 (UTC+8).
  EXPECT_EQ(lunar_of({2018, 11, 8}), (LunarDate{2018, 10, false, 1}));
  EXPECT_EQ(lunar_of({2018, 11, 7}), (LunarDate{2018, 9, false, 30}));
  EXPECT_EQ(lunar_of({2057, 9, 29}), (LunarDate{2057, 9, false, 1}));
  EXPECT_EQ(lunar_of({2057, 9, 28}), (LunarDate{2057, 8, false, 30}));
}

// Months whose new moon fell just after midnight on UTC+8 and before it on
// the Beijing meridian (UTC+7:45:40). The published tables date 1896's and
// the Republic's (1912-1928) on the meridian, the Qing ones of 1887 and 1906
// on the day after, as the almanacs of the time printed them.
TEST(LunarCalendar, BeforeThe1929ReformMonthsBeginAsTheAlmanacsPrintedThem) {
  struct Case {
    LunarDate first_day;
    CivilDate almanac, modern;
  };
  const Case cases[] = {
      {{1887, 3, false, 1}, {1887, 3, 25}, {1887, 3, 25}},  // Qing: kept on the later day
      {{1896, 1, false, 1}, {1896, 2, 13}, {1896, 2, 14}},  // Qing new year, Beijing meridian
      {{1906, 4, false, 1}, {1906, 4, 24}, {1906, 4, 24}},  // Qing: kept on the later day
      {{1914, 10, false, 1}, {1914, 11, 17}, {1914, 11, 18}},
      {{1916, 1, false, 1}, {1916, 2, 3}, {1916, 2, 4}},  // the Republic's new year
      {{1920, 10, false, 1}, {1920, 11, 10}, {1920, 11, 11}},
  };
  for (const Case& c : cases) {
    CivilDate almanac{}, modern{};
    EXPECT_EQ(solar_of(c.first_day, almanac), LunarStatus::Ok);
    EXPECT_EQ(solar_of(c.first_day, modern, LunarRule::Modern), LunarStatus::Ok);
    EXPECT_EQ(almanac, c.almanac) << c.first_day.year << " month " << c.first_day.month;
    EXPECT_EQ(modern, c.modern) << c.first_day.year << " month " << c.first_day.month;
    EXPECT_EQ(lunar_of(c.almanac), c.first_day);
    EXPECT_EQ(lunar_of(c.modern, LunarRule::Modern), c.first_day);
  }
  // The day before the Beijing new year of 1916 closes 1915 under the modern rule.
  EXPECT_EQ(lunar_of({1916, 2, 3}, LunarRule::Modern), (LunarDate{1915, 12, false, 30}));
  EXPECT_EQ(month_length(1915, 12, false), 29);
  EXPECT_EQ(month_length(1915, 12, false, LunarRule::Modern), 30);
  // From 1929 on both rules are one calendar.
  for (Day day = day_of(1929, 1, 1); day <= day_of(2079, 11, 22); day += 7)
    ASSERT_EQ(lunar_of_day(day), lunar_of_day(day, LunarRule::Modern)) << day;
}

TEST(LunarCalendar, AnswersExactlyOverItsSpan) {
  EXPECT_EQ(lunar_of(kFirstDate), (LunarDate{1880, 11, false, 1}));
  EXPECT_FALSE(lunar_of(civil_date_of(day_of(kFirstDate.year, kFirstDate.month, kFirstDate.day) - 1)));
  ASSERT_TRUE(lunar_of(kLastDate));
  EXPECT_EQ(lunar_of(kLastDate)->year, 2079);
  EXPECT_FALSE(lunar_of(civil_date_of(day_of(kLastDate.year, kLastDate.month, kLastDate.day) + 1)));
  CivilDate out{};
  EXPECT_EQ(solar_of({1880, 10, false, 1}, out), LunarStatus::OutOfRange);
  EXPECT_EQ(solar_of({2079, 11, false, 1}, out), LunarStatus::OutOfRange);
  EXPECT_EQ(solar_of({1879, 12, false, 1}, out), LunarStatus::OutOfRange);
  EXPECT_EQ(months_of(1880).size(), 2u);
  EXPECT_TRUE(months_of(2080).empty());
}

TEST(LunarCalendar, NonexistentLunarDatesAreErrors) {
  CivilDate out{};
  EXPECT_EQ(solar_of({2023, 3, true, 1}, out), LunarStatus::NoSuchLeapMonth);
  EXPECT_EQ(solar_of({2024, 1, true, 1}, out), LunarStatus::NoSuchLeapMonth);
  ASSERT_EQ(month_length(2023, 2, true), 29);
  EXPECT_EQ(solar_of({2023, 2, true, 30}, out), LunarStatus::NoSuchDay);
  EXPECT_EQ(solar_of({2023, 13, false, 1}, out), LunarStatus::InvalidField);
  EXPECT_EQ(solar_of({2023, 1, false, 0}, out), LunarStatus::InvalidField);
  EXPECT_EQ(month_length(2023, 3, true), 0);
  EXPECT_FALSE(lunar_of({2023, 2, 29}));
  EXPECT_NE(status_message(LunarStatus::NoSuchLeapMonth, {2023, 3, true, 1}).find("leap month is 2"),
            std::string::npos);
}

// Every day of the span: consecutive days step through the months, each
// month 29 or 30 days, each year 12 or 13 months, and lunar-to-solar
// inverts solar-to-lunar.
TEST(LunarCalendar, EveryDayOfTheSpanRoundTrips) {
  Day first = day_of(kFirstDate.year, kFirstDate.month, kFirstDate.day);
  Day last = day_of(kLastDate.year, kLastDate.month, kLastDate.day);
  std::optional<LunarDate> previous;
  for (Day day = first; day <= last; ++day) {
    std::optional<LunarDate> lunar = lunar_of_day(day);
    ASSERT_TRUE(lunar) << day;
    ASSERT_EQ(solar(*lunar), civil_date_of(day));
    if (previous) {
      if (lunar->day == 1) {
        ASSERT_GE(previous->day, 29);
      } else {
        ASSERT_EQ(lunar->day, previous->day + 1);
      }
    }
    previous = lunar;
  }
  for (int year = 1881; year <= 2078; ++year) {
    std::vector<LunarMonth> months = months_of(year);
    ASSERT_TRUE(months.size() == 12 || months.size() == 13) << year;
    EXPECT_EQ(months.size() == 13, leap_month_of(year) != 0) << year;
  }
}

TEST(LunarCalendar, YearNamesAndTexts) {
  EXPECT_EQ(year_name(2023) + year_animal(2023), "癸卯兔");
  EXPECT_EQ(year_name(1984) + year_animal(1984), "甲子鼠");
  EXPECT_EQ(year_name(1880) + year_animal(1880), "庚辰龙");
  EXPECT_EQ(month_name(4, true), "闰四月");
  EXPECT_EQ(month_name(1, false), "正月");
  EXPECT_EQ(month_name(11, false), "十一月");
  EXPECT_EQ(day_name(8) + day_name(10) + day_name(20) + day_name(21) + day_name(30), "初八初十二十廿一三十");
}

}  // namespace
