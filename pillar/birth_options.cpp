#include "birth_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "lunar_input.h"
#include "luck_methods.h"

namespace pillar::cli {

using chart::BirthInput;
using chart::InputError;

namespace {

// The shortest text that reads back as `number`: 180.0000001 stays so.
std::string number_text(double number) {
  char text[32];
  auto [end, error] = std::to_chars(text, text + sizeof text, number);
  return std::string(text, error == std::errc() ? end : text);
}

[[noreturn]] void reject(const char* what, std::string_view text, const char* expected) {
  throw InputError(std::string(what) + " " + quoted_text(text) + ": " + expected);
}

// A number of exactly `width` digits at `pos`, or -1.
int digits(std::string_view text, std::size_t pos, std::size_t width) {
  if (pos + width > text.size()) return -1;
  int value = 0;
  for (std::size_t i = pos; i < pos + width; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

double number_of(const char* what, const OptionValue& value) {
  if (value.kind == OptionValue::Kind::Number) return value.number;
  if (value.kind == OptionValue::Kind::Text) {
    double number = 0;
    const char* first = value.text.data();
    const char* last = first + value.text.size();
    auto [end, error] = std::from_chars(first, last, number);
    if (error == std::errc() && end == last && std::isfinite(number)) return number;
    reject(what, value.text, "not a number");
  }
  throw InputError(std::string(what) + ": expected a number, not true/false");
}

int whole_number_of(const char* what, const OptionValue& value, int low, int high) {
  double number = number_of(what, value);
  if (number != std::floor(number) || number < low || number > high)
    throw InputError(std::string(what) + " " + number_text(number) + ": expected a whole number " +
                     std::to_string(low) + "-" + std::to_string(high));
  return static_cast<int>(number);
}

std::string_view text_of(const char* what, const OptionValue& value) {
  if (value.kind != OptionValue::Kind::Text) throw InputError(std::string(what) + ": expected a text");
  return value.text;
}

bool boolean_of(const char* what, const OptionValue& value) {
  if (value.kind != OptionValue::Kind::Boolean) throw InputError(std::string(what) + ": expected true or false");
  return value.boolean;
}

// A text that must be one of a few names.
template <typename Enum, std::size_t N>
Enum named_value(const char* what, std::string_view text,
                 const std::array<std::pair<std::string_view, Enum>, N>& names, const char* expected) {
  for (const auto& [name, value] : names)
    if (text == name) return value;
  reject(what, text, expected);
}

constexpr std::array<std::pair<std::string_view, chart::ZiSchool>, 3> kZiSchools = {{
    {"day-at-23", chart::ZiSchool::DayChangesAt23},
    {"next-day-stem", chart::ZiSchool::NextDayStem},
    {"same-day-stem", chart::ZiSchool::SameDayStem},
}};

}  // namespace

chart::CivilMoment parse_date_time(const char* what, std::string_view text) {
  // The engine's message quotes the text whole and as it is: only a short
  // text of printable ASCII, as every date is, goes there.
  auto printable_ascii = [](char c) { return c >= 0x20 && c < 0x7f; };
  if (text.size() > 32 || !std::all_of(text.begin(), text.end(), printable_ascii))
    reject(what, text, "expected YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS");
  try {
    return chart::parse_civil_moment(text);
  } catch (const InputError& error) {
    throw InputError(std::string(what) + ": " + error.what());
  }
}

namespace {

void apply_datetime(BirthInput& input, const OptionValue& value) {
  input.local = parse_date_time("datetime", text_of("datetime", value));
}

void apply_zone(BirthInput& input, const OptionValue& value) {
  std::string_view zone = text_of("tz", value);
  // The zone database is the engine's to search; only the shape of a name is
  // checked here: its letters, and no way out of the database's folder.
  auto name_character = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '_' ||
           c == '-' || c == '+' || c == '.';
  };
  if (zone.empty() || zone.size() > 64 || zone.find("..") != std::string_view::npos || zone.front() == '/' ||
      !std::all_of(zone.begin(), zone.end(), name_character))
    reject("tz", zone, "not a time-zone name such as Asia/Shanghai");
  input.zone.assign(zone);
  input.utc_offset_seconds.reset();
}

int parse_utc_offset(std::string_view text) {
  // Seconds too: a place's mean time, as clocks showed before standard time, is rarely whole minutes.
  constexpr const char* kShape = "expected +HH:MM or +HH:MM:SS (or -), e.g. +08:00";
  if ((text.size() != 6 && text.size() != 9) || (text[0] != '+' && text[0] != '-') || text[3] != ':' ||
      (text.size() == 9 && text[6] != ':'))
    reject("utc_offset", text, kShape);
  int hours = digits(text, 1, 2);
  int minutes = digits(text, 4, 2);
  int extra = text.size() == 9 ? digits(text, 7, 2) : 0;
  if (hours < 0 || minutes < 0 || extra < 0) reject("utc_offset", text, kShape);
  if (minutes > 59) reject("utc_offset", text, "minutes run 00-59");
  if (extra > 59) reject("utc_offset", text, "seconds run 00-59");
  int seconds = (hours * 60 + minutes) * 60 + extra;
  if (seconds > 18 * 3600) reject("utc_offset", text, "not an offset within -18:00..+18:00");
  return text[0] == '-' ? -seconds : seconds;
}

void apply_utc_offset(BirthInput& input, const OptionValue& value) {
  input.utc_offset_seconds = parse_utc_offset(text_of("utc_offset", value));
}

void apply_sex(BirthInput& input, const OptionValue& value) {
  static constexpr std::array<std::pair<std::string_view, chart::Sex>, 4> kNames = {{
      {"male", chart::Sex::Male}, {"female", chart::Sex::Female},
      {"男", chart::Sex::Male}, {"女", chart::Sex::Female},
  }};
  input.sex = named_value("sex", text_of("sex", value), kNames, "expected male, female, 男 or 女");
}

void apply_longitude(BirthInput& input, const OptionValue& value) {
  double degrees = number_of("longitude", value);
  if (degrees < -180 || degrees > 180)
    throw InputError("longitude " + number_text(degrees) + ": outside -180..180 degrees");
  input.longitude = degrees;
}

void apply_solar_time(BirthInput& input, const OptionValue& value) {
  static constexpr std::array<std::pair<std::string_view, chart::SolarTime>, 4> kNames = {{
      {"standard", chart::SolarTime::Standard}, {"clock", chart::SolarTime::Clock},
      {"mean", chart::SolarTime::Mean}, {"apparent", chart::SolarTime::Apparent},
  }};
  input.solar_time = named_value("solar_time", text_of("solar_time", value), kNames,
                                 "expected standard, clock, mean or apparent");
}

void apply_solar_all_pillars(BirthInput& input, const OptionValue& value) {
  input.solar_time_all_pillars = boolean_of("solar_all_pillars", value);
}

void apply_zi_hour(BirthInput& input, const OptionValue& value) {
  input.zi_school = named_value("zi_hour", text_of("zi_hour", value), kZiSchools,
                                "expected day-at-23, next-day-stem or same-day-stem");
}

void apply_fold(BirthInput& input, const OptionValue& value) {
  static constexpr std::array<std::pair<std::string_view, chart::FoldChoice>, 2> kNames = {{
      {"earlier", chart::FoldChoice::Earlier}, {"later", chart::FoldChoice::Later},
  }};
  input.fold = named_value("fold", text_of("fold", value), kNames, "expected earlier or later");
}

void apply_luck_method(BirthInput& input, const OptionValue& value) {
  std::string_view text = text_of("luck_method", value);
  if (text == "seconds") text = "minutes";  // tyme's name for the same count
  for (const auto& [method, name] : chart::kLuckMethodNames)
    if (text == name) {
      input.luck_method = method;
      return;
    }
  reject("luck_method", text, "expected minutes, days, whole-minutes, days-shichen or minutes-hours");
}

void apply_palace_month(BirthInput& input, const OptionValue& value) {
  static constexpr std::array<std::pair<std::string_view, chart::PalaceMonth>, 2> kNames = {{
      {"jie", chart::PalaceMonth::Jie}, {"zhongqi", chart::PalaceMonth::ZhongQi},
  }};
  input.palace_month = named_value("palace_month", text_of("palace_month", value), kNames, "expected jie or zhongqi");
}

void apply_palace_stem(BirthInput& input, const OptionValue& value) {
  static constexpr std::array<std::pair<std::string_view, chart::PalaceStem>, 4> kNames = {{
      {"tiger", chart::PalaceStem::TigerContinued}, {"rat", chart::PalaceStem::Rat},
      {"五虎遁", chart::PalaceStem::TigerContinued}, {"五鼠遁", chart::PalaceStem::Rat},
  }};
  input.palace_stem = named_value("palace_stem", text_of("palace_stem", value), kNames,
                                  "expected tiger (五虎遁) or rat (五鼠遁)");
}

void apply_sign(BirthInput& input, const OptionValue& value) {
  static constexpr std::array<std::pair<std::string_view, chart::SignRule>, 2> kNames = {{
      {"dates", chart::SignRule::FixedDates}, {"zhongqi", chart::SignRule::ZhongQi},
  }};
  input.sign_rule = named_value("sign", text_of("sign", value), kNames, "expected dates or zhongqi");
}

void apply_animal(BirthInput& input, const OptionValue& value) {
  static constexpr std::array<std::pair<std::string_view, chart::AnimalRule>, 3> kNames = {{
      {"lichun", chart::AnimalRule::LiChunInstant}, {"lichun-day", chart::AnimalRule::LiChunDay},
      {"new-year", chart::AnimalRule::LunarNewYear},
  }};
  input.animal_rule = named_value("animal", text_of("animal", value), kNames,
                                  "expected lichun, lichun-day or new-year");
}

void apply_minor_luck(BirthInput& input, const OptionValue& value) {
  if (value.kind == OptionValue::Kind::Text && value.text == "all") {
    input.minor_luck_to = -1;
    return;
  }
  input.minor_luck_to = whole_number_of("minor_luck", value, 0, 200);
}

void apply_annotate(BirthInput& input, const OptionValue& value) { input.annotate = boolean_of("annotate", value); }

void apply_months(BirthInput& input, const OptionValue& value) {
  input.months_of = whole_number_of("months", value, 1, 9999);
}

void apply_days(BirthInput& input, const OptionValue& value) {
  std::string_view text = text_of("days", value);
  int year = digits(text, 0, 4), month = digits(text, 5, 2);
  if (text.size() != 7 || text[4] != '-' || year < 0 || month < 1 || month > 12)
    reject("days", text, "expected YYYY-MM, e.g. 2025-03");
  input.days_of = std::pair{year, month};
}

void apply_hours(BirthInput& input, const OptionValue& value) {
  std::string_view text = text_of("hours", value);
  if (text.size() != 10) reject("hours", text, "expected YYYY-MM-DD, e.g. 2025-03-05");
  try {
    chart::CivilMoment m = chart::parse_civil_moment(text);
    input.hours_of = lunar::CivilDate{m.year, m.month, m.day};
  } catch (const InputError& error) {
    throw InputError(std::string("hours: ") + error.what());
  }
}

void apply_luck_count(BirthInput& input, const OptionValue& value) {
  input.luck_count = whole_number_of("luck_count", value, 1, 120);
}

// "2020-2030" or a single year "2024".
void apply_annual(BirthInput& input, const OptionValue& value) {
  std::string_view text = text_of("annual", value);
  const char* first = text.data();
  const char* last = first + text.size();
  int from = 0, to = 0;
  auto [middle, error] = std::from_chars(first, last, from);
  if (error != std::errc() || middle == first) reject("annual", text, "expected FROM-TO, e.g. 2024-2033");
  to = from;
  if (middle != last) {
    if (*middle != '-') reject("annual", text, "expected FROM-TO, e.g. 2024-2033");
    auto [end, second_error] = std::from_chars(middle + 1, last, to);
    if (second_error != std::errc() || end != last || end == middle + 1)
      reject("annual", text, "expected FROM-TO, e.g. 2024-2033");
  }
  if (from < 1 || to > 9999 || from > to || to - from >= 200)
    reject("annual", text, "expected years 1-9999, FROM <= TO, at most 200 years");
  input.annual_from = from;
  input.annual_to = to;
}

void apply_margin(BirthInput& input, const OptionValue& value) {
  double minutes = number_of("margin", value);
  if (minutes < 0 || minutes > 24 * 60)
    throw InputError("margin " + number_text(minutes) + ": expected 0-1440 minutes");
  input.margin_seconds = static_cast<int>(std::lround(minutes * 60));
}

// A lunar date takes its Gregorian date under the lunar rule, whichever of the
// two options comes first (a batch line may give them in either order); one
// that does not exist under the rule is left to the chart's checks, which
// name why.
void settle_lunar_date(BirthInput& input) {
  if (!input.lunar_date) return;
  lunar::CivilDate date{};
  if (lunar::solar_of(*input.lunar_date, date, input.lunar_rule) != lunar::LunarStatus::Ok) return;
  input.local.year = date.year;
  input.local.month = date.month;
  input.local.day = date.day;
}

// A lunar date and time read on the birth place's clock: "1965 闰4 8 08:00".
void apply_lunar(BirthInput& input, const OptionValue& value) {
  LunarMoment moment = parse_lunar_moment(text_of("lunar", value), true);
  input.lunar_date = moment.date;
  input.local = {0, 0, 0, moment.hour, moment.minute, moment.second, moment.has_time};
  settle_lunar_date(input);
}

void apply_lunar_rule(BirthInput& input, const OptionValue& value) {
  input.lunar_rule = lunar_rule_of(text_of("lunar_rule", value));
  settle_lunar_date(input);
}

void apply_year_start(BirthInput& input, const OptionValue& value) {
  static constexpr std::array<std::pair<std::string_view, chart::YearStart>, 4> kNames = {{
      {"lichun", chart::YearStart::LiChun}, {"lunar-new-year", chart::YearStart::LunarNewYear},
      {"立春", chart::YearStart::LiChun}, {"春节", chart::YearStart::LunarNewYear},
  }};
  input.year_start = named_value("year_start", text_of("year_start", value), kNames,
                                 "expected lichun (立春) or lunar-new-year (春节)");
}

constexpr std::array<BirthOption, 25> kOptions = {{
    {"datetime", "", "DATETIME",
     "birth date and time, ISO 8601: 1990-05-17T14:30[:00]; a bare date means the hour is unknown",
     apply_datetime},
    {"lunar_rule", "--lunar-rule", "RULE",
     "the lunar calendar: almanac (default; before 1929 as the almanacs printed it) or modern (UTC+8 throughout)",
     apply_lunar_rule},
    {"lunar", "--lunar", "LUNAR_DATE",
     "birth date as a lunar date instead of DATETIME: '1966 闰3 8 08:00', '2023-L2-15 14:30' or '2023 2 15'",
     apply_lunar},
    {"tz", "--tz", "ZONE", "IANA time zone of the birth place (default Asia/Shanghai)", apply_zone},
    {"utc_offset", "--utc-offset", "+HH:MM[:SS]", "a fixed offset from UTC instead of a zone", apply_utc_offset},
    {"sex", "--sex", "SEX", "male, female, 男 or 女 (luck needs it)", apply_sex},
    {"longitude", "--longitude", "DEGREES", "longitude of the birth place, east positive, for solar time",
     apply_longitude},
    {"solar_time", "--solar-time", "KIND",
     "the time day and hour are read from: standard (the clock less daylight saving; the default), "
     "clock (as the clock read), mean or apparent solar time (the default with a longitude)",
     apply_solar_time},
    {"solar_all_pillars", "--solar-all-pillars", "", "read year and month from solar time too",
     apply_solar_all_pillars},
    {"zi_hour", "--zi-hour", "SCHOOL", "late 子 hour: day-at-23, next-day-stem (default) or same-day-stem",
     apply_zi_hour},
    {"fold", "--fold", "WHICH", "earlier or later: which of two readings of a repeated local time",
     apply_fold},
    {"luck_method", "--luck-method", "METHOD",
     "luck start: minutes (default; alias seconds), days (取起运年龄's count), whole-minutes, days-shichen or "
     "minutes-hours",
     apply_luck_method},
    {"luck_count", "--luck-count", "N", "number of luck pillars (default 10)", apply_luck_count},
    {"annual", "--annual", "FROM-TO", "annual pillars for these years, e.g. 2024-2033", apply_annual},
    {"margin", "--margin", "MINUTES", "warn within this many minutes of a boundary (default 15)",
     apply_margin},
    {"year_start", "--year-start", "WHEN",
     "where the year pillar begins: lichun (立春, default) or lunar-new-year (春节, some schools)",
     apply_year_start},
    {"palace_month", "--palace-month", "BASIS", "命宫 and 身宫 count the month from its jie (default) or zhongqi",
     apply_palace_month},
    {"palace_stem", "--palace-stem", "RULE", "stem of a palace in 子 or 丑: tiger (五虎遁 continued, default) or rat (五鼠遁)",
     apply_palace_stem},
    {"sign", "--sign", "RULE", "星座 by fixed dates (default) or by the zhongqi instant", apply_sign},
    {"animal", "--animal", "RULE", "生肖 from the lichun instant (default), the lichun day or the lunar new-year",
     apply_animal},
    {"minor_luck", "--minor-luck", "AGE", "小运 for 虚岁 1 to AGE, or all: to the end of the last luck pillar",
     apply_minor_luck},
    {"annotate", "--annotate", "", "notes on every luck, minor and annual pillar: 纳音, 旬空, 星运, 自坐, relations",
     apply_annotate},
    {"months", "--months", "YEAR", "流月: the twelve months of the year from its 立春", apply_months},
    {"days", "--days", "YYYY-MM", "流日: the days of the jie month that begins in this civil month", apply_days},
    {"hours", "--hours", "YYYY-MM-DD", "流时: the thirteen hour slots of this civil date", apply_hours},
}};

}  // namespace

std::span<const BirthOption> birth_options() { return kOptions; }

const BirthOption* find_birth_option(std::string_view batch_key) {
  for (const BirthOption& option : birth_options())
    if (batch_key == option.batch_key) return &option;
  return nullptr;
}

}  // namespace pillar::cli
