// Calendar arithmetic of the date value: proleptic Gregorian days and
// seconds counted from its epoch, 1899-12-30 00:00:00. Free of the library's
// interface so that the build tools can share it.
#pragma once

#include <cstdint>

namespace pillar::calendar {

using Day = std::int64_t;      // whole days since 1899-12-30
using Seconds = std::int64_t;  // seconds since 1899-12-30 00:00:00

inline constexpr Seconds kSecondsPerDay = 86400;

struct CivilDate {
  int year, month, day;
  bool operator==(const CivilDate&) const = default;
};

struct CivilTime {
  int year, month, day, hour, minute, second;
  bool operator==(const CivilTime&) const = default;
};

constexpr Day floor_div(std::int64_t value, std::int64_t divisor) {
  return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// Proleptic Gregorian day arithmetic on 400-year eras.
constexpr Day day_of(int year, int month, int day) {
  std::int64_t y = year - (month <= 2 ? 1 : 0);
  std::int64_t era = floor_div(y, 400);
  std::int64_t year_of_era = y - era * 400;
  std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 693899;  // 0000-03-01 lies 693899 days before the epoch
}

constexpr CivilDate civil_date_of(Day day) {
  std::int64_t shifted = day + 693899;
  std::int64_t era = floor_div(shifted, 146097);
  std::int64_t day_of_era = shifted - era * 146097;
  std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  std::int64_t month_from_march = (5 * day_of_year + 2) / 153;
  int day_of_month = static_cast<int>(day_of_year - (153 * month_from_march + 2) / 5 + 1);
  int month = static_cast<int>(month_from_march < 10 ? month_from_march + 3 : month_from_march - 9);
  int year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day_of_month};
}

constexpr Seconds seconds_of(const CivilTime& t) {
  return day_of(t.year, t.month, t.day) * kSecondsPerDay + t.hour * 3600 + t.minute * 60 + t.second;
}

constexpr CivilTime civil_time_of(Seconds instant) {
  Day day = floor_div(instant, kSecondsPerDay);
  auto of_day = static_cast<int>(instant - day * kSecondsPerDay);
  CivilDate date = civil_date_of(day);
  return {date.year, date.month, date.day, of_day / 3600, of_day / 60 % 60, of_day % 60};
}

}  // namespace pillar::calendar
