// The option words as docs/chart-json.md lists them, each mapped to the
// engine's value: a word that reached the wrong value would still chart.
#include <gtest/gtest.h>

#include <functional>

#include "birth_options.h"

namespace {

using pillar::chart::BirthInput;
using pillar::cli::OptionValue;

BirthInput applied(const char* key, const char* text) {
  const pillar::cli::BirthOption* option = pillar::cli::find_birth_option(key);
  EXPECT_NE(option, nullptr) << key;
  BirthInput input;
  input.utc_offset_seconds = 3600;  // a zone given later replaces it
  OptionValue value;
  value.text = text;
  if (option) option->apply(input, value);
  return input;
}

TEST(BirthOptions, WordsBecomeTheEngineValues) {
  namespace chart = pillar::chart;
  struct Case {
    const char *key, *text;
    std::function<bool(const BirthInput&)> holds;
  };
  const Case cases[] = {
      {"sex", "male", [](auto& in) { return in.sex == chart::Sex::Male; }},
      {"sex", "男", [](auto& in) { return in.sex == chart::Sex::Male; }},
      {"sex", "female", [](auto& in) { return in.sex == chart::Sex::Female; }},
      {"sex", "女", [](auto& in) { return in.sex == chart::Sex::Female; }},
      {"zi_hour", "day-at-23", [](auto& in) { return in.zi_school == chart::ZiSchool::DayChangesAt23; }},
      {"zi_hour", "next-day-stem", [](auto& in) { return in.zi_school == chart::ZiSchool::NextDayStem; }},
      {"zi_hour", "same-day-stem", [](auto& in) { return in.zi_school == chart::ZiSchool::SameDayStem; }},
      {"year_start", "lichun", [](auto& in) { return in.year_start == chart::YearStart::LiChun; }},
      {"year_start", "立春", [](auto& in) { return in.year_start == chart::YearStart::LiChun; }},
      {"year_start", "lunar-new-year", [](auto& in) { return in.year_start == chart::YearStart::LunarNewYear; }},
      {"year_start", "春节", [](auto& in) { return in.year_start == chart::YearStart::LunarNewYear; }},
      {"fold", "earlier", [](auto& in) { return in.fold == chart::FoldChoice::Earlier; }},
      {"fold", "later", [](auto& in) { return in.fold == chart::FoldChoice::Later; }},
      {"luck_method", "days", [](auto& in) { return in.luck_method == chart::LuckMethod::LibraryDays; }},
      {"luck_method", "minutes", [](auto& in) { return in.luck_method == chart::LuckMethod::ExactMinutes; }},
      {"utc_offset", "+18:00", [](auto& in) { return in.utc_offset_seconds == 18 * 3600; }},
      {"utc_offset", "-18:00", [](auto& in) { return in.utc_offset_seconds == -18 * 3600; }},
      {"utc_offset", "+05:45", [](auto& in) { return in.utc_offset_seconds == 5 * 3600 + 45 * 60; }},
      {"utc_offset", "-00:30", [](auto& in) { return in.utc_offset_seconds == -30 * 60; }},
      {"tz", "Asia/Tokyo", [](auto& in) { return in.zone == "Asia/Tokyo" && !in.utc_offset_seconds; }},
      {"margin", "90", [](auto& in) { return in.margin_seconds == 90 * 60; }},
      {"margin", "0.5", [](auto& in) { return in.margin_seconds == 30; }},
      {"margin", "1440", [](auto& in) { return in.margin_seconds == 86400; }},
      {"longitude", "-74.25", [](auto& in) { return in.longitude == -74.25; }},
      {"luck_count", "120", [](auto& in) { return in.luck_count == 120; }},
      {"annual", "2024", [](auto& in) { return in.annual_from == 2024 && in.annual_to == 2024; }},
      {"annual", "2020-2030", [](auto& in) { return in.annual_from == 2020 && in.annual_to == 2030; }},
      {"datetime", "1990-05-17 14:30",
       [](auto& in) { return in.local.year == 1990 && in.local.day == 17 && in.local.minute == 30; }},
      // 闰二月初一 of 2023 was 2023-03-22.
      {"lunar", "2023 闰2 15 08:00",
       [](auto& in) { return in.local.month == 4 && in.local.day == 5 && in.local.hour == 8 && in.local.has_time; }},
  };
  for (const Case& c : cases) EXPECT_TRUE(c.holds(applied(c.key, c.text))) << c.key << " " << c.text;
}

}  // namespace
