// 取起运年龄 on real instants of the table, its null outputs and its
// behaviour outside the supported births.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calendar.h"
#include "exports.h"

namespace {

using namespace pillar;
using namespace pillar::calendar;

struct LuckOutputs {
  Int days = -1;
  Date start = -1;
  Int previous = -1;
  Date previous_instant = -1;
  Int next = -1;
  Date next_instant = -1;
  Int age = -1;
};

LuckOutputs luck(Date birth, Int sex) {
  LuckOutputs out;
  out.age = 取起运年龄(birth, sex, &out.days, &out.start, &out.previous, &out.previous_instant,
                       &out.next, &out.next_instant);
  return out;
}

Date value(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return date_value_of(seconds_of({y, mo, d, h, mi, s}));
}

Date term(int year, int number) { return term_instant_value(year, number); }

constexpr Int kMale = 1, kFemale = 0;
constexpr double kSecondInDays = 1.0 / 86400;

TEST(LuckStart, BirthExactlyAtAJieBelongsToIt) {
  // 2000 is 庚辰 (yang) from its 立春 on: a woman counts backward, no distance.
  LuckOutputs out = luck(36560.86137731, kFemale);
  EXPECT_EQ(out.previous, 1);
  EXPECT_NEAR(out.previous_instant, term(2000, 1), 1e-9);
  EXPECT_EQ(out.next, 3);
  EXPECT_NEAR(out.next_instant, term(2000, 3), 1e-9);
  EXPECT_EQ(out.days, 0);
  EXPECT_EQ(out.start, 36560.86137731);
  EXPECT_EQ(out.age, 0);
}

TEST(LuckStart, TheLiChunSecondDecidesTheYearPolarity) {
  // 20:40:22 is still 己卯 (yin): a man counts backward to 小寒.
  LuckOutputs yin = luck(value(2000, 2, 4, 20, 40, 22), kMale);
  EXPECT_EQ(yin.next, 1);
  EXPECT_EQ(yin.previous, 23);
  EXPECT_NEAR(yin.previous_instant, value(2000, 1, 6, 9, 0, 41), 1e-9);
  Seconds back = seconds_of({2000, 2, 4, 20, 40, 22}) - seconds_of({2000, 1, 6, 9, 0, 41});
  EXPECT_EQ(yin.days, back / 720);
  // 20:40:23 is 庚辰 (yang): a man counts forward to 惊蛰.
  LuckOutputs yang = luck(value(2000, 2, 4, 20, 40, 23), kMale);
  EXPECT_EQ(yang.previous, 1);
  EXPECT_EQ(yang.next, 3);
  Seconds ahead = seconds_of({2000, 3, 5, 14, 42, 39}) - seconds_of({2000, 2, 4, 20, 40, 23});
  EXPECT_EQ(yang.days, ahead / 720);
}

TEST(LuckStart, BirthOnAJieDayBeforeItsInstant) {
  LuckOutputs out = luck(value(2000, 2, 4, 10), kFemale);
  EXPECT_EQ(out.next, 1);
  EXPECT_EQ(out.previous, 23);
  EXPECT_NEAR(out.previous_instant, term(2000, 23), 1e-9);
}

TEST(LuckStart, TenHoursBeforeTheNextJieMakeFiftyDays) {
  Date birth = term(2000, 3) - 10.0 / 24;  // 庚辰, male: forward to 惊蛰
  LuckOutputs out = luck(birth, kMale);
  EXPECT_EQ(out.next, 3);
  EXPECT_EQ(out.days, 50);
  EXPECT_EQ(out.start, birth + 50);
  EXPECT_EQ(out.age, 0);
}

TEST(LuckStart, ExactHoursAreNeverTruncatedADayShort) {
  // Every jie of 1902-2047 with a birth a whole number of hours before it.
  for (int year = 1902; year <= 2047; ++year) {
    for (int number = 1; number <= 23; number += 2) {
      for (int hours : {2, 10, 22}) {
        Date birth = date_value_of(*term_instant(year, number) - hours * 3600);
        Int stem = *year_stem_of(*instant_of(birth));
        Int forward_sex = stem % 2 == 1 ? kMale : kFemale;
        LuckOutputs out = luck(birth, forward_sex);
        ASSERT_EQ(out.next, number) << year << " term " << number;
        ASSERT_EQ(out.days, hours * 5) << year << " term " << number << ", " << hours << " h";
      }
    }
  }
}

TEST(LuckStart, AForwardDistanceOf717Point6HoursMakes3588Days) {
  // 小暑 2000 lies 31 days after 芒种, so 717.6 hours before it is still in its month.
  Date birth = date_value_of(*term_instant(2000, 11) - 2583360);
  LuckOutputs out = luck(birth, kMale);
  EXPECT_EQ(out.previous, 9);
  EXPECT_EQ(out.next, 11);
  EXPECT_EQ(out.days, 3588);
  EXPECT_EQ(out.age, 10);  // calendar years, though under ten years elapse
}

TEST(LuckStart, OtherSexValuesCountNoDistanceButWriteTheJie) {
  for (Int sex : {2, -1, std::numeric_limits<Int>::max()}) {
    LuckOutputs out = luck(value(2000, 2, 10, 12), sex);
    EXPECT_EQ(out.days, 0);
    EXPECT_EQ(out.start, value(2000, 2, 10, 12));
    EXPECT_EQ(out.age, 0);
    EXPECT_EQ(out.previous, 1);
    EXPECT_EQ(out.next, 3);
  }
}

TEST(LuckStart, NullOutputsAreSkipped) {
  Date birth = term(2000, 3) - 10.0 / 24;
  EXPECT_EQ(取起运年龄(birth, kMale, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  Int days = -1, next = -1;
  EXPECT_EQ(取起运年龄(birth, kMale, &days, nullptr, nullptr, nullptr, &next, nullptr), 0);
  EXPECT_EQ(days, 50);
  EXPECT_EQ(next, 3);
  EXPECT_EQ(取起运年龄(std::nan(""), kMale, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
}

TEST(LuckStart, SupportedBirthsRunFromJingZhe1901ToDaXue2048) {
  Date first = term(1901, 3), end = term(2048, 21);
  EXPECT_EQ(luck(first, kMale).previous, 3);
  EXPECT_EQ(luck(first - kSecondInDays, kMale).previous, 0);
  EXPECT_EQ(luck(end - kSecondInDays, kMale).next, 21);
  EXPECT_EQ(luck(end - kSecondInDays, kMale).previous, 19);
  EXPECT_EQ(luck(end, kMale).next, 0);
}

TEST(LuckStart, EveryOtherDateValueReturnsWithNothingCounted) {
  const double kOutside[] = {std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(),
                             1e18, -1e18, -700000, -1.25, 0, 1,
                             value(1880, 6, 1), value(1901, 2, 19), value(2048, 12, 31),
                             value(2049, 1, 5), value(2079, 12, 31), value(9999, 12, 31)};
  for (double birth : kOutside) {
    LuckOutputs out = luck(birth, kMale);
    EXPECT_EQ(out.age, 0) << birth;
    EXPECT_EQ(out.days, 0) << birth;
    EXPECT_EQ(out.previous, 0) << birth;
    EXPECT_EQ(out.next, 0) << birth;
    EXPECT_EQ(out.previous_instant, kFirstDateValue) << birth;
    EXPECT_EQ(out.next_instant, kFirstDateValue) << birth;
    if (std::isnan(birth)) {
      EXPECT_TRUE(std::isnan(out.start));
    } else {
      EXPECT_EQ(out.start, birth);
    }
  }
}

}  // namespace
