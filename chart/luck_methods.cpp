#include "luck_methods.h"

#include <algorithm>

#include "pillar_arithmetic.h"

namespace pillar::chart {

using namespace detail;

namespace {

// Months of 30 days and years of 12 months: 3 days of span are a year of
// life, so a second of span is 120 seconds of life.
LuckSpan of_life_seconds(std::int64_t life) {
  constexpr std::int64_t kDay = kSecondsPerDay, kMonth = 30 * kDay, kYear = 12 * kMonth;
  LuckSpan s;
  s.years = static_cast<int>(life / kYear);
  s.months = static_cast<int>(life % kYear / kMonth);
  s.days = static_cast<int>(life % kMonth / kDay);
  s.hours = static_cast<int>(life % kDay / 3600);
  s.minutes = static_cast<int>(life % 3600 / 60);
  s.seconds = static_cast<int>(life % 60);
  return s;
}

// Whole minutes of span: 4320 make a year, 360 a month, 12 a day.
LuckSpan of_whole_minutes(std::int64_t span, bool with_hours) {
  std::int64_t minutes = span / 60;
  LuckSpan s;
  s.years = static_cast<int>(minutes / 4320);
  s.months = static_cast<int>(minutes % 4320 / 360);
  s.days = static_cast<int>(minutes % 360 / 12);
  if (with_hours) s.hours = static_cast<int>(minutes % 12 * 2);
  return s;
}

// The 时辰 of a clock reading as lunar-javascript numbers it for this count:
// 子 0 (00:00-00:59), 丑 1 … 亥 11 (21:00-22:59), and 23:00-23:59 also 11.
int double_hour(CivilReading clock) {
  int hour = static_cast<int>(mod(clock.seconds, kSecondsPerDay) / 3600);
  return hour == 23 ? 11 : (hour + 1) / 2;
}

// Clock days between the two readings, and 时辰 between them: a day makes
// four months, a 时辰 ten days.
LuckSpan of_days_and_double_hours(CivilReading from_clock, CivilReading to_clock) {
  int hour_difference = double_hour(to_clock) - double_hour(from_clock);
  std::int64_t day_difference = day_of(to_clock) - day_of(from_clock);
  if (hour_difference < 0) {
    hour_difference += 12;
    --day_difference;
  }
  int month_part = hour_difference * 10 / 30;
  std::int64_t months = day_difference * 4 + month_part;
  LuckSpan s;
  s.years = static_cast<int>(months / 12);
  s.months = static_cast<int>(months % 12);
  s.days = hour_difference * 10 - month_part * 30;
  return s;
}

}  // namespace

LuckSpan luck_span(LuckMethod method, std::int64_t span, CivilReading birth_clock, CivilReading jie_clock,
                   bool forward) {
  switch (method) {
    case LuckMethod::LibraryDays: {
      // Two hours of span make ten days of life, counted in whole days.
      std::int64_t days = span / 720;
      LuckSpan s;
      s.years = static_cast<int>(days / 360);
      s.months = static_cast<int>(days % 360 / 30);
      s.days = static_cast<int>(days % 30);
      return s;
    }
    case LuckMethod::ExactMinutes:
      return of_life_seconds(span * 120);
    case LuckMethod::WholeMinutes:
      return of_whole_minutes(span, false);
    case LuckMethod::DaysAndDoubleHours:
      return forward ? of_days_and_double_hours(birth_clock, jie_clock)
                     : of_days_and_double_hours(jie_clock, birth_clock);
    case LuckMethod::MinutesAndHours:
      return of_whole_minutes(span, true);
  }
  return {};
}

CivilReading luck_start_clock(LuckMethod method, CivilReading birth_clock, const LuckSpan& s) {
  std::int64_t elapsed = (static_cast<std::int64_t>(s.days) * 24 + s.hours) * 3600 + s.minutes * 60 + s.seconds;
  if (method == LuckMethod::LibraryDays)
    return birth_clock + (static_cast<std::int64_t>(s.years) * 360 + s.months * 30) * kSecondsPerDay + elapsed;
  Civil c = civil_of(birth_clock);
  int month_count = c.year * 12 + (c.month - 1) + s.years * 12 + s.months;
  int year = month_count / 12, month = month_count % 12 + 1;
  int day = std::min(c.day, calendar::days_in_month(year, month));
  return reading_of<CivilClock>({year, month, day, c.hour, c.minute, c.second}) + elapsed;
}

}  // namespace pillar::chart
