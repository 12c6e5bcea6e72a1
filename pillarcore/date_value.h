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

// The same in 32 bits, which 32-bit x86 divides without a library call.
constexpr int floor_div32(int value, int divisor) {
  return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// Proleptic Gregorian day arithmetic on 400-year eras. Only the era is
// 64-bit: within an era every quantity fits 32 bits, which keeps the
// divisions by constants cheap on 32-bit x86 (a 64-bit one is a library call).
constexpr Day day_of(int year, int month, int day) {
  int y = year - (month <= 2 ? 1 : 0);
  int era = floor_div32(y, 400);
  int year_of_era = y - era * 400;
  int day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return static_cast<Day>(era) * 146097 + day_of_era - 693899;  // 0000-03-01 lies 693899 days before the epoch
}

constexpr CivilDate civil_date_of(Day day) {
  std::int64_t shifted = day + 693899;
  // Every day of the years 1 to 9999 is 32-bit here.
  std::int64_t era = shifted >= 0 && shifted <= INT32_MAX
                         ? static_cast<std::int64_t>(floor_div32(static_cast<int>(shifted), 146097))
                         : floor_div(shifted, std::int64_t{146097});
  int day_of_era = static_cast<int>(shifted - era * 146097);
  int year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  int day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  int month_from_march = (5 * day_of_year + 2) / 153;
  int day_of_month = day_of_year - (153 * month_from_march + 2) / 5 + 1;
  int month = month_from_march < 10 ? month_from_march + 3 : month_from_march - 9;
  int year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day_of_month};
}

constexpr bool is_leap_year(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

constexpr int days_in_month(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && is_leap_year(year) ? 29 : kDays[month - 1];
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
