// The Chinese lunar calendar (农历), computed from the new-moon table and the
// solar-term table:
//   - a month begins on the civil day of its new moon, on the clock of UTC+8,
//     or, before 1929 under the almanac rule, on that of the almanac (below);
//   - the month holding 冬至 is month 11;
//   - when 13 months run from one month 11 to the next, the first of them that
//     holds no 中气 (compared by date) is the leap month and takes the number
//     of the month before it.
// A lunar year begins with its month 1 (正月) and is named by the Gregorian
// year in which that month begins. Texts are UTF-8.
//
// The calendar answers from 1880-12-02 (month 11 of lunar 1880, which holds
// 冬至 1880) through 2079-11-22 (the last day before the month that holds
// 冬至 2079): kFirstDate .. kLastDate.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "date_value.h"

namespace pillar::lunar {

using calendar::CivilDate;
using calendar::Day;

struct LunarDate {
  int year;   // the Gregorian year in which the lunar year's month 1 begins
  int month;  // 1-12
  bool leap;
  int day;    // 1-30
  bool operator==(const LunarDate&) const = default;
};

inline constexpr CivilDate kFirstDate = {1880, 12, 2};
inline constexpr CivilDate kLastDate = {2079, 11, 22};

// The clock on which the new moons and 中气 are dated.
enum class LunarRule {
  // As the almanacs of the time printed them, so that a lunar date of their
  // years converts to the day it was: the Republic's almanacs (1912-1928)
  // on the Beijing meridian (UTC+7:45:40); the Qing almanacs (before 1912)
  // on it only for the new moons listed in lunar_calendar.cpp; UTC+8 from 1929.
  Almanac,
  Modern,  // UTC+8 throughout
};

// The lunar date of a Gregorian date; none outside kFirstDate..kLastDate or
// for a date that does not exist.
std::optional<LunarDate> lunar_of(const CivilDate& date, LunarRule rule = LunarRule::Almanac);
std::optional<LunarDate> lunar_of_day(Day day, LunarRule rule = LunarRule::Almanac);

enum class LunarStatus {
  Ok,
  InvalidField,     // month outside 1-12 or day outside 1-30
  OutOfRange,       // the month lies outside the calendar's span
  NoSuchLeapMonth,  // the year has no leap month of that number
  NoSuchDay,        // day 30 of a 29-day month
};

// The Gregorian date of a lunar date, written to `out` when the status is Ok.
LunarStatus solar_of(const LunarDate& date, CivilDate& out, LunarRule rule = LunarRule::Almanac);
// One line saying what was wrong, in English (UTF-8), e.g. for an error message.
std::string status_message(LunarStatus status, const LunarDate& date, LunarRule rule = LunarRule::Almanac);

struct LunarMonth {
  Day first_day;
  int year, number;
  bool leap;
  int length;  // 29 or 30
};

// The months of a lunar year in order (only months 11 and 12 for 1880, only
// months up to 10 for 2079; none outside).
std::vector<LunarMonth> months_of(int year, LunarRule rule = LunarRule::Almanac);
// The number of the year's leap month, 0 when it has none or is outside
// (for 1880 only months 11 and 12 are known).
int leap_month_of(int year, LunarRule rule = LunarRule::Almanac);
// 0 when the month does not exist or lies outside the span.
int month_length(int year, int month, bool leap, LunarRule rule = LunarRule::Almanac);

// The sexagenary name of a lunar year ("癸卯") and its animal ("兔").
std::string year_name(int year);
std::string year_animal(int year);
// "闰四月", "正月" … "十二月"; "初八", "廿一", "三十".
std::string month_name(int month, bool leap);
std::string day_name(int day);

// The rules themselves, for any clock: the months from the first month 11
// the inputs can place up to the day before the last one. All inputs are
// civil days, sorted: every new moon, every 中气 (冬至 included) and every 冬至
// of the span.
std::vector<LunarMonth> build_months(std::span<const Day> new_moon_days,
                                     std::span<const Day> principal_term_days,
                                     std::span<const Day> winter_solstice_days);

}  // namespace pillar::lunar
