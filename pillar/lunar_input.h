// Lunar dates as people type them: "2023 闰2 15", "2023 L2 15", "2023-L2-15",
// "2023-2-15", optionally followed by a time "08:00" or "08:00:30".
#pragma once

#include <string_view>

#include "chart.h"
#include "lunar_calendar.h"

namespace pillar::cli {

struct LunarMoment {
  lunar::LunarDate date;
  bool has_time = false;
  int hour = 0, minute = 0, second = 0;
};

// Throws chart::InputError naming what was wrong; `allow_time` false rejects a time.
LunarMoment parse_lunar_moment(std::string_view text, bool allow_time);

// A Gregorian date alone, "2023-06-18"; throws chart::InputError naming what was wrong.
lunar::CivilDate parse_gregorian_date(std::string_view text);

// The lunar date of a Gregorian date; throws chart::InputError outside the calendar's span.
lunar::LunarDate lunar_date_of(const lunar::CivilDate& date, lunar::LunarRule rule);

// The Gregorian date of a lunar date; throws chart::InputError when there is none.
lunar::CivilDate solar_date_of(const lunar::LunarDate& date, lunar::LunarRule rule = lunar::LunarRule::Almanac);

// "almanac" or "modern" (--lunar-rule); throws chart::InputError otherwise.
lunar::LunarRule lunar_rule_of(std::string_view text);

}  // namespace pillar::cli
