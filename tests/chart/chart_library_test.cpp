// The engine against pillarcore itself: the luck start against the export
// 取起运年龄 and the range start at the table's 立春 1880. Built with the
// library's GBK literals, so it compares no texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#include "calendar.h"
#include "chart.h"
#include "exports.h"

namespace {

using namespace pillar::chart;

BirthInput at_table_clock(std::int64_t local) {
  pillar::calendar::CivilTime t = pillar::calendar::civil_time_of(local);
  BirthInput input;
  input.local = {t.year, t.month, t.day, t.hour, t.minute, t.second, true};
  input.utc_offset_seconds = 8 * 3600;  // the library's clock
  return input;
}

// The days-method luck start is 取起运年龄's, over births of 1902-2047; its
// library_age is the export's under either method.
TEST(ChartLuck, DaysMethodAgreesWithTheLibrary) {
  std::uint64_t state = 12345;
  auto next = [&] { return state = state * 6364136223846793005ULL + 1442695040888963407ULL; };
  const std::int64_t first = pillar::calendar::day_of(1902, 1, 1) * 86400LL;
  const std::int64_t span = (pillar::calendar::day_of(2047, 12, 31) - pillar::calendar::day_of(1902, 1, 1)) * 86400LL;
  for (int i = 0; i < 300; ++i) {
    std::int64_t local = first + static_cast<std::int64_t>(next() >> 20) % span;
    BirthInput input = at_table_clock(local);
    input.sex = i % 2 ? Sex::Male : Sex::Female;
    input.luck_method = LuckMethod::LibraryDays;
    Chart chart = make_chart(input);
    std::int32_t days = -1, previous = 0, next_jie = 0;
    double start = 0, previous_instant = 0, next_instant = 0;
    std::int32_t age = pillar::取起运年龄(pillar::calendar::date_value_of(local), i % 2, &days, &start, &previous,
                                      &previous_instant, &next_jie, &next_instant);
    const Luck& luck = *chart.luck;
    EXPECT_EQ(luck.years * 360 + luck.months * 30 + luck.days, days) << chart.corrections.local;
    EXPECT_EQ(luck.library_age, age) << chart.corrections.local;
    pillar::calendar::CivilTime s = pillar::calendar::civil_time_of(*pillar::calendar::instant_of(start));
    char expected[64];
    std::snprintf(expected, sizeof expected, "%04d-%02d-%02dT%02d:%02d:%02d+08:00", s.year, s.month, s.day,
                  s.hour, s.minute, s.second);
    EXPECT_EQ(luck.start, expected);
    ASSERT_EQ(luck.pillars.size(), 10u);
    input.luck_method = LuckMethod::ExactMinutes;
    EXPECT_EQ(make_chart(input).luck->library_age, age) << chart.corrections.local;
  }
}

TEST(ChartRange, StartsAtLiChun1880) {
  const std::int64_t li_chun_1880 = *pillar::calendar::term_instant(1880, 1);
  EXPECT_NO_THROW(make_chart(at_table_clock(li_chun_1880)));
  EXPECT_THROW(make_chart(at_table_clock(li_chun_1880 - 1)), InputError);
}

}  // namespace
