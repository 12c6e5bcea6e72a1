// The pillars as table arithmetic: the jie instants of the term table on one
// UTC time line, binary search for the month, day numbers for day and hour.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "chart.h"
#include "date_value.h"

namespace pillar::chart::detail {

using calendar::floor_div;
using calendar::kSecondsPerDay;
// The term table runs on the clock of UTC+8.
inline constexpr int kTableClockOffset = 8 * 3600;
inline constexpr int kFirstYear = 1880, kLastYear = 2079;  // the term table's years
inline constexpr int kJieCount = (kLastYear - kFirstYear + 1) * 12;

constexpr int mod(std::int64_t value, int cycle) {
  return static_cast<int>(value - floor_div(value, cycle) * cycle);
}

// Seconds since 1970-01-01 on one of the clocks a chart is read on, a type
// for each: the UTC instant, the civil clock of the place (its offset,
// daylight saving included), the term table's UTC+8, and the clock day and
// hour are read on (solar time, or the place's clock when no longitude is
// given). Taking a reading of one clock for another does not compile; a
// reading moves to another clock only through its offset.
template <class Clock>
struct Moment {
  std::int64_t seconds = 0;
  constexpr Moment() = default;
  constexpr explicit Moment(std::int64_t s) : seconds(s) {}
  friend constexpr Moment operator+(Moment m, std::int64_t d) { return Moment(m.seconds + d); }
  friend constexpr Moment operator-(Moment m, std::int64_t d) { return Moment(m.seconds - d); }
  friend constexpr std::int64_t operator-(Moment a, Moment b) { return a.seconds - b.seconds; }
  constexpr auto operator<=>(const Moment&) const = default;
};
struct UtcClock;
struct CivilClock;
struct TableClock;
struct SolarClock;
using Utc = Moment<UtcClock>;
using CivilReading = Moment<CivilClock>;
using TableReading = Moment<TableClock>;
using SolarReading = Moment<SolarClock>;

// The reading at `utc` of a clock `ahead` seconds ahead of UTC, and back.
template <class Clock>
constexpr Moment<Clock> reading_at(Utc utc, std::int64_t ahead) {
  return Moment<Clock>(utc.seconds + ahead);
}
template <class Clock>
constexpr Utc instant_of(Moment<Clock> reading, std::int64_t ahead) {
  return Utc(reading.seconds - ahead);
}
constexpr TableReading table_reading(Utc utc) { return reading_at<TableClock>(utc, kTableClockOffset); }
// The days since 1970-01-01 of a reading.
template <class Clock>
constexpr std::int64_t day_of(Moment<Clock> reading) {
  return floor_div(reading.seconds, kSecondsPerDay);
}

// The twelve jie of each year in calendar order, 小寒 1880 (index 0) to 大雪
// 2079, as UTC instants.
const std::array<Utc, kJieCount>& jie_instants();
// Index of the last jie at or before `utc`; -1 before the first.
int jie_index_at(Utc utc);
// pillarcore's number of the jie at `index` (小寒 23, 立春 1, … 大雪 21).
constexpr int jie_number_of_index(int index) {
  int in_year = index % 12;
  return in_year == 0 ? 23 : 2 * in_year - 1;
}

// The first instant of the range (立春 1880) and the first one past it: two
// days after the end of 2079 on the table clock, past the end of 2079 on
// every clock (UTC-18:00 ends it at 2080-01-01T18:00Z) and on any solar
// reading of it, well before 小寒 2080.
Utc first_instant();
Utc end_instant();

// Pillar numbers 0-59 (甲子 = 0); hour -1 when unknown.
struct PillarNumbers {
  int year, month, day, hour;
  bool operator==(const PillarNumbers&) const = default;
};

// Year and month from `term_utc` against the jie, day and hour from `clock`.
// The caller keeps term_utc inside [first_instant, end_instant).
PillarNumbers numbers_at(Utc term_utc, SolarReading clock, ZiSchool school);
// Day pillar number of the civil day `day` (days since 1970-01-01).
constexpr int day_pillar_of_day(std::int64_t day) { return mod(day + 17, 60); }  // 1970-01-01 辛巳
// Hour pillar number of the clock reading under `school`.
int hour_pillar_at(SolarReading clock, ZiSchool school);
// Day pillar number of the clock reading under `school`.
int day_pillar_at(SolarReading clock, ZiSchool school);
// Year pillar number of a year counted from its 立春.
constexpr int year_pillar_of_year(int year) { return mod(year - 1984, 60); }  // 1984 甲子

Pillars texts_of(const PillarNumbers& numbers);

// The fields of a clock reading, and back.
struct Civil {
  int year, month, day, hour, minute, second;
};
std::int64_t seconds_of_civil(int year, int month, int day, int hour, int minute, int second);
Civil civil_of(std::int64_t seconds);
template <class Clock>
Moment<Clock> reading_of(const Civil& c) {
  return Moment<Clock>(seconds_of_civil(c.year, c.month, c.day, c.hour, c.minute, c.second));
}
template <class Clock>
Civil civil_of(Moment<Clock> reading) {
  return civil_of(reading.seconds);
}
// "2000-02-04T20:40:23", with "+08:00" appended when an offset is given.
std::string iso_of(std::int64_t clock_seconds);
template <class Clock>
std::string iso_of(Moment<Clock> reading) {
  return iso_of(reading.seconds);
}
std::string iso_of(const Civil& civil);
std::string iso_with_offset(Utc utc, int offset_seconds);
std::string iso_with_offset(const Civil& civil, int offset_seconds);  // a reading of that clock
// The same texts written into `out`, whose capacity is kept (a reused chart).
void assign_iso_with_offset(std::string& out, const Civil& civil, int offset_seconds);
void assign_iso_with_offset(std::string& out, Utc utc, int offset_seconds);
// iso_of followed by a short `suffix` (at most 8 bytes), e.g. "Z".
void assign_iso(std::string& out, std::int64_t clock_seconds, std::string_view suffix = {});
template <class Clock>
void assign_iso(std::string& out, Moment<Clock> reading, std::string_view suffix = {}) {
  assign_iso(out, reading.seconds, suffix);
}

}  // namespace pillar::chart::detail
