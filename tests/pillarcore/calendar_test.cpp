// The date value, the solar-term table and the calendar services.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "calendar.h"

namespace {

using namespace pillar::calendar;

Seconds instant(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return seconds_of({y, mo, d, h, mi, s});
}

bool is_leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

TEST(DateValue, EpochAndKnownValues) {
  EXPECT_EQ(day_of(1899, 12, 30), 0);
  EXPECT_EQ(day_of(1899, 12, 31), 1);
  EXPECT_EQ(day_of(2000, 1, 1), 36526);
  EXPECT_EQ(day_of(100, 1, 1), -657434);
  EXPECT_EQ(instant_of(36560.86137731), instant(2000, 2, 4, 20, 40, 23));
  EXPECT_NEAR(date_value_of(instant(2000, 2, 4, 20, 40, 23)), 36560.86137731, 1e-8);
  EXPECT_EQ(date_value_of(0), 0.0);
}

TEST(DateValue, BeforeTheEpochTheFractionStillCountsForward) {
  EXPECT_EQ(instant_of(-1.25), instant(1899, 12, 29, 6));
  EXPECT_EQ(instant_of(-0.5), instant(1899, 12, 30, 12));
  EXPECT_EQ(date_value_of(instant(1899, 12, 29, 6)), -1.25);
  EXPECT_EQ(day_of(-1.25), -1);
  EXPECT_EQ(add_days(-1.25, 1), 0.25);
  EXPECT_EQ(add_days(0.25, -1), -1.25);
  EXPECT_EQ(add_days(0.25, -2), -2.25);
  EXPECT_EQ(add_days(36560.5, 50), 36610.5);
}

TEST(DateValue, NoDateOutsideTheYears100To9999) {
  const double kNoDates[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             1e300, -1e300, kFirstDateValue - 1e-6, kEndDateValue,
                             std::numeric_limits<double>::max()};
  for (double value : kNoDates) {
    EXPECT_FALSE(instant_of(value)) << value;
    EXPECT_FALSE(day_of(value)) << value;
  }
  EXPECT_EQ(instant_of(kFirstDateValue), instant(100, 1, 1));
  EXPECT_EQ(day_of(kEndDateValue - 0.5), day_of(9999, 12, 31));
}

TEST(DateValue, RoundTripsEveryDayAndSecondOf1880To2079) {
  Day expected = day_of(1880, 1, 1);
  for (int year = 1880; year <= 2079; ++year) {
    const int kMonthDays[] = {31, is_leap(year) ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
      for (int d = 1; d <= kMonthDays[month - 1]; ++d, ++expected) {
        ASSERT_EQ(day_of(year, month, d), expected);
        ASSERT_EQ(civil_date_of(expected), (CivilDate{year, month, d}));
        Seconds noon_and_a_bit = expected * kSecondsPerDay + 12 * 3600 + 3 * 60 + 7;
        ASSERT_EQ(instant_of(date_value_of(noon_and_a_bit)), noon_and_a_bit);
      }
    }
  }
  for (Seconds s = instant(2000, 2, 4); s < instant(2000, 2, 5); ++s)
    ASSERT_EQ(instant_of(date_value_of(s)), s);
}

TEST(DateValue, LeapYears) {
  EXPECT_EQ(civil_date_of(day_of(1900, 2, 28) + 1), (CivilDate{1900, 3, 1}));
  EXPECT_EQ(civil_date_of(day_of(2000, 2, 28) + 1), (CivilDate{2000, 2, 29}));
  EXPECT_EQ(civil_date_of(day_of(2100, 2, 28) + 1), (CivilDate{2100, 3, 1}));
  EXPECT_EQ(day_of(2001, 1, 1) - day_of(2000, 1, 1), 366);
  EXPECT_EQ(day_of(1901, 1, 1) - day_of(1900, 1, 1), 365);
}

TEST(DateValue, RoundsToTheNearestSecond) {
  double second = 1.0 / 86400;
  Seconds base = instant(2000, 2, 4, 20, 40, 22);
  double value = date_value_of(base);
  EXPECT_EQ(instant_of(value + 0.49 * second), base);
  EXPECT_EQ(instant_of(value + 0.51 * second), base + 1);
  EXPECT_EQ(instant_of(date_value_of(instant(2000, 2, 5)) - 0.2 * second), instant(2000, 2, 5));
}

TEST(TermNumbering, LibraryNumbersAndCalendarIndexesMapBothWays) {
  EXPECT_EQ(calendar_index_of(1), 3);
  EXPECT_EQ(calendar_index_of(22), 24);
  EXPECT_EQ(calendar_index_of(23), 1);
  EXPECT_EQ(calendar_index_of(24), 2);
  for (int n = 1; n <= 24; ++n) {
    EXPECT_EQ(term_number_of(calendar_index_of(n)), n);
    EXPECT_EQ(is_jie(n), calendar_index_of(n) % 2 == 1);
  }
}

TEST(SolarTermTable, HoldsThePrintedInstants) {
  const struct {
    int number;
    CivilTime local;
  } kPrinted[] = {
      {23, {2000, 1, 6, 9, 0, 41}},   {24, {2000, 1, 21, 2, 23, 2}},
      {1, {2000, 2, 4, 20, 40, 23}},  {2, {2000, 2, 19, 16, 33, 17}},
      {3, {2000, 3, 5, 14, 42, 39}},  {4, {2000, 3, 20, 15, 35, 15}},
      {5, {2000, 4, 4, 19, 31, 58}},  {6, {2000, 4, 20, 2, 39, 30}},
      {7, {2000, 5, 5, 12, 50, 10}},  {8, {2000, 5, 21, 1, 49, 25}},
      {9, {2000, 6, 5, 16, 58, 34}},  {10, {2000, 6, 21, 9, 47, 42}},
      {11, {2000, 7, 7, 3, 13, 56}},  {12, {2000, 7, 22, 20, 42, 41}},
      {13, {2000, 8, 7, 13, 2, 59}},  {14, {2000, 8, 23, 3, 48, 31}},
      {15, {2000, 9, 7, 15, 59, 9}},  {16, {2000, 9, 23, 1, 27, 35}},
      {17, {2000, 10, 8, 7, 38, 12}}, {18, {2000, 10, 23, 10, 47, 29}},
      {19, {2000, 11, 7, 10, 48, 3}}, {20, {2000, 11, 22, 8, 19, 21}},
      {21, {2000, 12, 7, 3, 37, 2}},  {22, {2000, 12, 21, 21, 37, 25}},
      {1, {1901, 2, 4, 19, 39, 59}},  {21, {2048, 12, 6, 18, 59, 56}},
  };
  for (const auto& printed : kPrinted)
    EXPECT_EQ(term_instant(printed.local.year, printed.number), seconds_of(printed.local))
        << printed.local.year << " term " << printed.number;
}

TEST(SolarTermTable, EachMonthHoldsTwoTermsAndInstantsRiseFifteenDaysApart) {
  std::optional<Seconds> previous;
  for (int year = kFirstTableYear; year <= kLastTableYear; ++year) {
    for (int index = 1; index <= kTermCount; ++index) {
      const SolarTermEntry& entry = kSolarTermTable[(year - kFirstTableYear) * kTermCount + index - 1];
      ASSERT_EQ(entry.month, (index + 1) / 2) << year << " index " << index;
      Seconds now = *term_instant(year, term_number_of(index));
      if (previous) {
        ASSERT_GT(now - *previous, 14 * kSecondsPerDay) << year << " index " << index;
        ASSERT_LT(now - *previous, 16 * kSecondsPerDay) << year << " index " << index;
      }
      previous = now;
    }
  }
}

TEST(TermInstant, OutsideTheTableIsTheFirstDate) {
  EXPECT_EQ(term_instant_value(1879, 1), kFirstDateValue);
  EXPECT_EQ(term_instant_value(2080, 1), kFirstDateValue);
  EXPECT_EQ(term_instant_value(2000, 0), kFirstDateValue);
  EXPECT_EQ(term_instant_value(2000, 25), kFirstDateValue);
  EXPECT_EQ(term_instant_value(2000, -1), kFirstDateValue);
  EXPECT_NEAR(term_instant_value(2000, 1), 36560.86137731, 1e-8);
  EXPECT_TRUE(term_instant(1880, 23));
  EXPECT_TRUE(term_instant(2079, 22));
}

TEST(TermOfDay, AnswersOnlyWithinItsSpan) {
  EXPECT_EQ(term_of_day(day_of(1901, 2, 19)), 2);   // 雨水 1901, the first day of the span
  EXPECT_EQ(term_of_day(day_of(1901, 2, 4)), 0);    // 立春 1901 lies before it
  EXPECT_EQ(term_of_day(day_of(2048, 12, 21)), 22); // 冬至 2048
  EXPECT_EQ(term_of_day(day_of(2049, 1, 5)), 0);    // 小寒 2049 lies after it
  EXPECT_EQ(term_of_day(day_of(2000, 2, 4)), 1);
  EXPECT_EQ(term_of_day(day_of(2000, 2, 5)), 0);
  EXPECT_EQ(term_of_day(std::numeric_limits<Day>::min()), 0);
  EXPECT_EQ(term_of_day(std::numeric_limits<Day>::max()), 0);
}

TEST(TermOfDay, FindsEveryTermOfTheSpanOnItsOwnDayAndNoOther) {
  std::map<Day, int> term_days;
  for (int year = 1901; year <= 2048; ++year)
    for (int number = 1; number <= kTermCount; ++number) {
      Day day = floor_div(*term_instant(year, number), kSecondsPerDay);
      if (day >= kFirstTermDay && day <= kLastTermDay) term_days[day] = number;
    }
  EXPECT_EQ(term_days.size(), 148u * 24 - 3);  // all but 小寒, 大寒 and 立春 1901
  for (Day day = kFirstTermDay - 5; day <= kLastTermDay + 5; ++day) {
    auto found = term_days.find(day);
    ASSERT_EQ(term_of_day(day), found == term_days.end() ? 0 : found->second)
        << civil_date_of(day).year << "-" << civil_date_of(day).month << "-" << civil_date_of(day).day;
  }
}

// The walk as the definition reads: ask term_of_day day after day.
std::optional<FoundTerm> day_by_day(Day start, int step, int max_steps, bool jie_only) {
  for (int steps = 0; steps <= max_steps; ++steps) {
    int number = term_of_day(start + step * steps);
    if (number != 0 && (!jie_only || is_jie(number)))
      return FoundTerm{start + step * steps, number, steps};
  }
  return std::nullopt;
}

TEST(FindTermDay, AgreesWithTheDayByDayWalkFromEveryDay) {
  for (Day start = kFirstTermDay - 45; start <= kLastTermDay + 45; ++start) {
    for (int step : {+1, -1}) {
      for (bool jie_only : {false, true}) {
        int max_steps = jie_only ? 29 : 14;
        auto expected = day_by_day(start, step, max_steps, jie_only);
        auto found = jie_only ? find_term_day(start, step, max_steps, is_jie)
                              : find_term_day(start, step, max_steps, [](int) { return true; });
        ASSERT_EQ(found.has_value(), expected.has_value()) << start << " step " << step;
        if (!found) continue;
        ASSERT_EQ(found->day, expected->day) << start << " step " << step;
        ASSERT_EQ(found->number, expected->number);
        ASSERT_EQ(found->steps, expected->steps);
      }
    }
  }
}

TEST(FindTermDay, StopsAtTheEndsOfTheSpan) {
  auto any = [](int) { return true; };
  EXPECT_FALSE(find_term_day(kFirstTermDay - 1, -1, 1000000, any));
  EXPECT_FALSE(find_term_day(kLastTermDay + 1, +1, 1000000, any));
  EXPECT_EQ(find_term_day(kFirstTermDay + 3, -1, 1000000, any)->day, kFirstTermDay);
  auto found = find_term_day(day_of(2000, 3, 4), -1, 40, is_jie);
  EXPECT_EQ(found->number, kLiChun);
  EXPECT_EQ(found->steps, 29);  // 2000-03-04 is day 30 of 立春
  EXPECT_FALSE(find_term_day(day_of(2000, 3, 4), -1, 28, is_jie));
}

TEST(YearStem, TheYearChangesAtTheLiChunSecond) {
  EXPECT_EQ(year_stem_of(instant(2000, 2, 4, 20, 40, 22)), 6);  // 己卯
  EXPECT_EQ(year_stem_of(instant(2000, 2, 4, 20, 40, 23)), 7);  // 庚辰
  EXPECT_EQ(year_stem_of(instant(2000, 1, 1)), 6);
  EXPECT_EQ(year_stem_of(instant(1901, 6, 1)), 8);  // 辛丑
  EXPECT_EQ(year_stem_of(instant(1984, 6, 1)), 1);  // 甲子
  EXPECT_EQ(year_stem_of(instant(2048, 12, 31)), 5);  // 戊辰
  EXPECT_FALSE(year_stem_of(instant(2080, 6, 1)));
}

}  // namespace
