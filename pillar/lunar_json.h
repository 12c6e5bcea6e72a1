// The JSON and text forms of a lunar date, shared by `pillar lunar`,
// `pillar solar` and the chart's "lunar" key.
#pragma once

#include <string>

#include "json_writer.h"
#include "lunar_calendar.h"

namespace pillar::cli {

// {"date","year","month","leap","day","year_name","animal","month_name",
//  "day_name","month_days","leap_month"}
void write_lunar_json(JsonWriter& json, const lunar::CivilDate& date, const lunar::LunarDate& lunar,
                      lunar::LunarRule rule);

// "2023-L2-15" for 闰二月十五 of 2023, "2023-05-01" otherwise.
std::string lunar_code(const lunar::LunarDate& lunar);
// "癸卯年闰二月十五"
std::string lunar_text(const lunar::LunarDate& lunar);
// "2023-04-05"
std::string iso_date(const lunar::CivilDate& date);

}  // namespace pillar::cli
