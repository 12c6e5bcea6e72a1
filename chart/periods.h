// The periods of a 流年 on request: its twelve months from their jie (流月),
// the days of one such month (流日) and the thirteen hour slots of one day
// (流时). Pair numbers and instants only; the engine makes the texts.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "chart.h"
#include "pillar_arithmetic.h"
#include "place.h"

namespace pillar::chart {

struct MonthPeriod {
  int pair;             // the month pillar
  int jie;              // pillarcore's term number of the jie that opens it (立春 1 … 小寒 23)
  detail::Utc start;    // the jie instant
};
// The twelve months of the year that begins at 立春 of `year` (立春 … 小寒).
// InputError unless all twelve lie in the term table (1880-2078).
std::array<MonthPeriod, 12> months_of_year(int year);

struct DayPeriod {
  std::int64_t day;  // civil day, days since 1970-01-01
  int pair;
};
struct MonthDays {
  MonthPeriod month;       // the month whose jie falls in the civil month asked
  detail::Utc end;         // the next jie instant
  int count;
  std::array<DayPeriod, 33> days;  // the jie's day to the day before the next jie's, on the place's clock
};
// InputError when the month or the next jie lies outside the term table.
MonthDays days_of_month(int year, int month, const detail::Place& place);

struct HourPeriod {
  int first_hour, end_hour;  // clock hours [first, end): 0-1, 1-3 … 21-23, 23-24
  int pair;                  // the hour pillar
  int day_pair;              // the day pillar the slot belongs to under the school
};
// The thirteen slots of civil day `day` (days since 1970-01-01) under `school`.
// InputError outside 1880-2079.
std::array<HourPeriod, 13> hours_of_day(std::int64_t day, ZiSchool school);

}  // namespace pillar::chart

namespace pillar::chart {
// The instant (UTC seconds) of the 中气 inside the month opened by the jie at
// `jie_index` (pillar_arithmetic's numbering): 大寒 after 小寒, 雨水 after 立春 …
detail::Utc zhongqi_instant(int jie_index);
// The UTF-8 name of term `number` (pillarcore's numbers: 1 立春 … 24 大寒).
std::string_view term_name(int number);
}  // namespace pillar::chart
