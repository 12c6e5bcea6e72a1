#include "lunar_input.h"

#include <string>

#include "birth_options.h"

namespace pillar::cli {

namespace {

constexpr std::string_view kLeapMark = "闰";

[[noreturn]] void reject(std::string_view text, const char* why) {
  throw chart::InputError("lunar date " + quoted_text(text) + ": " + why +
                          " (e.g. 2023 闰2 15, 2023-L2-15 or 2023 2 15 08:00)");
}

// Digits at the front of `rest`, consumed; -1 when there are none or too many.
int take_number(std::string_view& rest, std::size_t most_digits) {
  std::size_t n = 0;
  int value = 0;
  while (n < rest.size() && n <= most_digits && rest[n] >= '0' && rest[n] <= '9') value = value * 10 + (rest[n++] - '0');
  if (n == 0 || n > most_digits) return -1;
  rest.remove_prefix(n);
  return value;
}

bool take(std::string_view& rest, std::string_view prefix) {
  if (!rest.starts_with(prefix)) return false;
  rest.remove_prefix(prefix.size());
  return true;
}

}  // namespace

LunarMoment parse_lunar_moment(std::string_view text, bool allow_time) {
  std::string_view rest = text;
  LunarMoment moment;
  moment.date.year = take_number(rest, 4);
  if (moment.date.year < 0) reject(text, "no year");
  bool dashed = take(rest, "-");
  if (!dashed && !take(rest, " ")) reject(text, "expected a space or '-' after the year");
  moment.date.leap = take(rest, kLeapMark) || take(rest, "L") || take(rest, "l");
  moment.date.month = take_number(rest, 2);
  if (moment.date.month < 0) reject(text, "no month");
  if (!take(rest, dashed ? "-" : " ")) reject(text, dashed ? "expected '-' after the month" : "expected a space after the month");
  moment.date.day = take_number(rest, 2);
  if (moment.date.day < 0) reject(text, "no day");
  if (rest.empty()) return moment;
  if (!allow_time) reject(text, "unexpected text after the day");
  if (!take(rest, " ") && !take(rest, "T")) reject(text, "expected a space before the time");
  moment.has_time = true;
  moment.hour = take_number(rest, 2);
  if (moment.hour < 0 || moment.hour > 23 || !take(rest, ":")) reject(text, "the time must be HH:MM or HH:MM:SS");
  moment.minute = take_number(rest, 2);
  if (moment.minute < 0 || moment.minute > 59) reject(text, "the time must be HH:MM or HH:MM:SS");
  if (take(rest, ":")) {
    moment.second = take_number(rest, 2);
    if (moment.second < 0 || moment.second > 59) reject(text, "the time must be HH:MM or HH:MM:SS");
  }
  if (!rest.empty()) reject(text, "unexpected text after the time");
  return moment;
}

lunar::CivilDate solar_date_of(const lunar::LunarDate& date, lunar::LunarRule rule) {
  lunar::CivilDate out{};
  lunar::LunarStatus status = lunar::solar_of(date, out, rule);
  if (status != lunar::LunarStatus::Ok) throw chart::InputError(lunar::status_message(status, date, rule));
  return out;
}

lunar::LunarRule lunar_rule_of(std::string_view text) {
  if (text == "almanac") return lunar::LunarRule::Almanac;
  if (text == "modern") return lunar::LunarRule::Modern;
  throw chart::InputError("lunar rule " + quoted_text(text) +
                          ": expected almanac (before 1929 as the almanacs printed it) or modern (UTC+8 throughout)");
}

}  // namespace pillar::cli
