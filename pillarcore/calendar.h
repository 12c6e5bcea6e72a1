// The library's calendar: the date value, the solar-term table and the
// services the date exports use (term instant, the walk to a term day, year
// stem of an instant, add days). The term of one day, asked day by day, is
// the walk's reference in the tests.
//
// A date value is an OLE Automation date: days since 1899-12-30 00:00 in the
// proleptic Gregorian calendar, the whole part the day and the fraction the
// time of day (before the epoch the whole part counts back and the fraction
// still counts forward: -1.25 is 1899-12-29 06:00). The library keeps
// instants to the second, counted from the same epoch.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "date_value.h"
#include "exports.h"

namespace pillar::calendar {

// The date values the library accepts: years 100 to 9999, the range of the
// OLE date. NaN, infinities and anything outside are no date.
inline constexpr Date kFirstDateValue = -657434.0;  // 0100-01-01 00:00:00
inline constexpr Date kEndDateValue = 2958466.0;    // 10000-01-01 00:00:00

// The instant of a date value, rounded to the nearest second.
std::optional<Seconds> instant_of(Date value);
// The day of a date value: its whole part.
std::optional<Day> day_of(Date value);
Date date_value_of(Seconds instant);
// `days` whole days later, time of day unchanged.
Date add_days(Date value, std::int64_t days);

// The 24 solar terms in library numbering: 立春 = 1 … 冬至 = 22, 小寒 = 23,
// 大寒 = 24; the jie (month-opening terms) are the odd numbers. Within the
// table a year runs in calendar order, 小寒 first.
inline constexpr int kTermCount = 24;
inline constexpr int kLiChun = 1;
inline constexpr int kJingZhe = 3;
inline constexpr int kDaXue = 21;

constexpr bool is_term_number(int number) { return number >= 1 && number <= kTermCount; }
constexpr bool is_jie(int number) { return number % 2 != 0; }
constexpr int calendar_index_of(int number) { return number <= 22 ? number + 2 : number - 22; }
constexpr int term_number_of(int calendar_index) {
  return calendar_index <= 2 ? calendar_index + 22 : calendar_index - 2;
}

// The solar-term table: for each year, the local instants (UTC+8, to the
// second) at which the sun's apparent longitude reaches 285°, 300°, … 270°.
struct SolarTermEntry {
  std::uint8_t month, day, hour, minute, second;
};
inline constexpr int kFirstTableYear = 1880;
inline constexpr int kLastTableYear = 2079;
inline constexpr int kSolarTermEntryCount = (kLastTableYear - kFirstTableYear + 1) * kTermCount;
extern const std::array<SolarTermEntry, kSolarTermEntryCount> kSolarTermTable;

// The instant of term `number` of `year`; none outside the table.
std::optional<Seconds> term_instant(int year, int number);
// The same as a date value; 0100-01-01 00:00:00 outside the table.
Date term_instant_value(int year, int number);

// The days on which the term-of-day service answers.
inline constexpr Day kFirstTermDay = day_of(1901, 2, 19);
inline constexpr Day kLastTermDay = day_of(2048, 12, 31);

// The number of the term that falls on `day`, or 0 (also outside the span).
int term_of_day(Day day);

// A term found by walking from day to day.
struct FoundTerm {
  Day day;
  int number;
  int steps;  // days walked; 0 when the starting day holds it
};

// The first day, walking from `start` by `step` (+1 or -1) days and at most
// `max_steps` steps, whose term satisfies `wanted`; as if term_of_day were
// asked day by day, but only the two term days of each month are looked at.
// The walk never leaves the span.
template <typename Wanted>
std::optional<FoundTerm> find_term_day(Day start, int step, int max_steps, Wanted wanted) {
  Day day = start;
  if (step > 0 ? day < kFirstTermDay : day > kLastTermDay) day = step > 0 ? kFirstTermDay : kLastTermDay;
  Day last = start + static_cast<Day>(step) * max_steps;
  // The date is converted once and then moved a month at a time.
  CivilDate date = civil_date_of(day);
  while (step > 0 ? day <= last && day <= kLastTermDay : day >= last && day >= kFirstTermDay) {
    for (int i = 0; i < 2; ++i) {
      int calendar_index = step > 0 ? 2 * date.month - 1 + i : 2 * date.month - i;
      const SolarTermEntry& entry =
          kSolarTermTable[(date.year - kFirstTableYear) * kTermCount + calendar_index - 1];
      Day term_day = day + (entry.day - date.day);
      bool ahead = step > 0 ? term_day >= day && term_day <= last : term_day <= day && term_day >= last;
      if (ahead && term_day >= kFirstTermDay && term_day <= kLastTermDay &&
          wanted(term_number_of(calendar_index)))
        return FoundTerm{term_day, term_number_of(calendar_index),
                         static_cast<int>((term_day - start) * step)};
    }
    // On to the first day of the next month or the last of the previous one.
    if (step > 0) {
      day += days_in_month(date.year, date.month) - date.day + 1;
      date = date.month == 12 ? CivilDate{date.year + 1, 1, 1} : CivilDate{date.year, date.month + 1, 1};
    } else {
      day -= date.day;
      date = date.month == 1 ? CivilDate{date.year - 1, 12, 31} : CivilDate{date.year, date.month - 1, 0};
      if (date.day == 0) date.day = days_in_month(date.year, date.month);
    }
  }
  return std::nullopt;
}

// The stem (1-10) of the year pillar that begins at 立春 of `year`.
constexpr int stem_of_pillar_year(int year) {
  // 1901 is 辛丑, the 38th pair; a pair's stem repeats every ten years.
  constexpr int kStemOf1901 = 8;
  int offset = (year - 1901) % 10;
  return (kStemOf1901 - 1 + offset + 10) % 10 + 1;
}

// The stem (1-10) of the year pillar in which `instant` falls: a year begins
// at its 立春 instant. None outside the table.
std::optional<int> year_stem_of(Seconds instant);

}  // namespace pillar::calendar
