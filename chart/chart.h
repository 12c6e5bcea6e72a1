// The chart engine: a birth moment at a place becomes a Four Pillars chart
// with its analysis, luck pillars and boundary warnings. Texts at this
// interface are UTF-8; the engine reads the term table, the calendar, the
// vocabulary and the analyses of pillarcore.
//
// Range: births from the 立春 instant of 1880 to the end of 2079 (civil date
// of the place); anything outside is an InputError. All functions are safe to
// call from several threads at once.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "annotations.h"
#include "lunar_calendar.h"
#include "palaces.h"
#include "zodiac.h"

namespace pillar::chart {

// Every rejected input: the message says what was wrong, in one line.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A civil date and time as written on a clock; `has_time` false for a date
// whose hour is unknown.
struct CivilMoment {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool has_time = true;
};

// "1990-05-17T14:30", "1990-05-17T14:30:05", "1990-05-17 14:30" or the date
// alone "1990-05-17" (hour unknown). Throws InputError for anything else,
// including impossible dates and times.
CivilMoment parse_civil_moment(std::string_view text);

// The late 子 hour, 23:00-24:00.
enum class ZiSchool {
  DayChangesAt23,       // "day-at-23": the day pillar changes at 23:00
  NextDayStem,          // "next-day-stem" (default): day changes at midnight, hour stem from the next day
  SameDayStem,          // "same-day-stem": day changes at midnight, hour stem from the same day
};

// The clock day and hour are read on. Daylight saving moves the clock, not
// the sun: by default the zone's standard time (the clock less its
// daylight-saving part), or with a longitude apparent solar time, both
// taken from the UTC instant; Clock keeps the clock as it read.
enum class SolarTime { Clock, Standard, Mean, Apparent };
// Mean and apparent solar time need a longitude.
constexpr bool needs_longitude(SolarTime kind) { return kind == SolarTime::Mean || kind == SolarTime::Apparent; }
enum class Sex { Male, Female };
// Which of two candidates a local time that occurs twice (or not at all)
// means: the earlier or the later of the two instants.
enum class FoldChoice { Reject, Earlier, Later };
// How the luck start is counted from the distance to the jie (luck_methods.h
// adds the result to the birth).
enum class LuckMethod {
  LibraryDays,          // "days": exactly 取起运年龄: 2 hours of distance = 10 days of life, whole days, added as days
  ExactMinutes,         // "minutes" (default): the distance to the second × 120 (3 days = 1 year, 1 day = 4 months, 1 hour = 5 days, 1 second = 2 minutes)
  WholeMinutes,         // "whole-minutes": whole minutes of distance, 4320 = 1 year, 360 = 1 month, 12 = 1 day, the rest dropped
  DaysAndDoubleHours,   // "days-shichen": clock days × 4 months plus 时辰 × 10 days
  MinutesAndHours,      // "minutes-hours": whole minutes as "whole-minutes", the rest × 2 hours
};

// Where the year pillar begins: at the 立春 instant (the default), or, as
// some schools have it, at the lunar new year (the midnight that begins
// 正月初一 on the clock of the day pillar).
enum class YearStart { LiChun, LunarNewYear };

struct BirthInput {
  CivilMoment local;
  std::string zone = "Asia/Shanghai";      // IANA name, ignored when utc_offset_seconds is set
  std::optional<int> utc_offset_seconds;   // a fixed offset instead of a zone, within ±18 h
  std::optional<double> longitude;         // degrees east, -180..180
  std::optional<SolarTime> solar_time;     // default: Apparent with a longitude, Standard without
  bool solar_time_all_pillars = false;     // read year and month off the solar clock too
  FoldChoice fold = FoldChoice::Reject;
  ZiSchool zi_school = ZiSchool::NextDayStem;
  std::optional<Sex> sex;                  // luck needs it
  LuckMethod luck_method = LuckMethod::ExactMinutes;
  int luck_count = 10;                     // 1..120
  std::optional<int> annual_from, annual_to;  // 流年 range, civil years, at most 200 years
  int margin_seconds = 15 * 60;            // boundary warnings, 0..86400
  YearStart year_start = YearStart::LiChun;
  PalaceMonth palace_month = PalaceMonth::Jie;
  PalaceStem palace_stem = PalaceStem::TigerContinued;
  SignRule sign_rule = SignRule::FixedDates;
  AnimalRule animal_rule = AnimalRule::LiChunInstant;
  // 小运 for 虚岁 1 to this age (needs sex and hour); 0 = none, none given =
  // to the end of the last luck pillar.
  std::optional<int> minor_luck_to;
  bool annotate = false;                   // notes on every luck, minor and annual pillar
  std::optional<int> months_of;            // 流月 of the year beginning at this year's 立春
  std::optional<std::pair<int, int>> days_of;  // 流日 of the jie month of this civil year and month
  std::optional<lunar::CivilDate> hours_of;    // 流时 of this civil date
  // The lunar calendar's rule, for the chart's lunar date and a year from the
  // lunar new year.
  lunar::LunarRule lunar_rule = lunar::LunarRule::Almanac;
  // A birth given as a lunar date: local then holds its Gregorian date under
  // lunar_rule; the chart refuses one that rule does not hold.
  std::optional<lunar::LunarDate> lunar_date;
};

// Two-character texts such as "甲子".
struct Pillars {
  std::string year, month, day;
  std::optional<std::string> hour;  // none when the hour is unknown
  bool operator==(const Pillars&) const = default;
};

struct HiddenStem {
  std::string stem, ten_god;
  bool operator==(const HiddenStem&) const = default;
};

struct PillarAnalysis {
  std::string pillar, nayin, grade;
  std::string stem_ten_god;   // "日主" for the day pillar
  std::string growth_phase;   // of the day stem at this pillar's branch (星运), e.g. "长生", "衰"
  std::string self_phase;     // of the pillar's own stem at its branch (自坐)
  std::vector<HiddenStem> hidden;
  bool operator==(const PillarAnalysis&) const = default;
};

struct Relation {
  std::string kind;           // 合 冲 刑 害 破 (stems: 合 冲)
  std::string first, second;  // the two characters
  std::string between;        // the two positions, e.g. "年-月"
  bool operator==(const Relation&) const = default;
};

struct Analysis {
  std::vector<PillarAnalysis> pillars;   // year, month, day, hour (when known)
  std::string void_of_year, void_of_day; // 空亡, e.g. "戌、亥"
  std::string commander;                  // 司令 of the birth day, e.g. "戊土"
  // Elements of the stems and branches (金 水 木 火 土, all five listed);
  // ten gods of the other stems and of every hidden stem (all ten listed).
  std::vector<std::pair<std::string, int>> element_counts, ten_god_counts;
  std::string wealth_treasury, seal_treasury, office;  // branches of the day stem
  std::vector<Relation> relations;
  bool operator==(const Analysis&) const = default;
};

// Numbers below (pairs, notes) become texts through cycle_texts.h.
struct LuckPillar {
  std::string pillar, ten_god;
  std::string start;  // civil date and time of the place, ISO 8601 with offset
  double age;         // years after birth (365.2425 days a year)
  int age_sui = 0;    // 虚岁 in the year it starts: its civil year - the birth's + 1
  PillarNotes notes;  // filled when annotating
  bool operator==(const LuckPillar&) const = default;
};

struct AnnualPillar {
  int year;
  std::string pillar, ten_god;
  int age_sui = 0;    // year - the birth's civil year + 1
  PillarNotes notes;
  bool operator==(const AnnualPillar&) const = default;
};

// 小运 of one year of life.
struct MinorLuck {
  int age;            // 虚岁
  int year;           // the civil year: the birth's + age - 1
  int pair;
  PillarNotes notes;
  bool operator==(const MinorLuck&) const = default;
};

struct Luck {
  bool forward;
  std::string method;     // "days" or "minutes"
  std::string start;      // civil, ISO 8601 with offset
  int years, months, days;  // the start age as counted by the method (12 months of 30 days)
  int hours = 0, minutes = 0, seconds = 0;  // the rest, for the methods that count it
  int library_age;        // 取起运年龄's result: year(start) - year(birth)
  double start_age = 0;   // exact years from birth to start (365.2425 days a year)
  int start_age_sui = 0;  // 虚岁 in the year of the start
  std::string handover;   // 交运: "每逢乙、庚年2月18日交脱大运"
  std::string previous_jie, next_jie;  // their instants, civil ISO 8601 with offset
  std::vector<LuckPillar> pillars;
  std::vector<AnnualPillar> annual;
  bool operator==(const Luck&) const = default;
};

// What was applied to turn the clock time into the instants the pillars use.
struct Corrections {
  std::string zone;             // IANA name or "UTC+08:00"
  std::string local;            // the civil moment read, ISO 8601 with its offset
  int utc_offset_seconds;       // total offset in force, daylight saving included
  int dst_seconds;              // daylight saving part (0 when none)
  std::string utc;              // the birth instant, ISO 8601 with Z
  std::string solar_kind;       // "clock", "standard", "mean" or "apparent"
  int dst_removed_seconds;      // daylight saving taken off the clock for day and hour ("standard"; else 0)
  // The reading day and hour were taken from, ISO 8601 without offset: the
  // standard time or the local solar time; none for "clock".
  std::optional<std::string> solar_time;
  std::optional<double> equation_of_time_seconds;
  std::optional<double> longitude_seconds;  // (longitude - meridian of the standard offset) in seconds of time
  bool operator==(const Corrections&) const = default;
};

struct Warning {
  std::string boundary;   // "jie", "hour", "day", "dst"
  std::vector<std::string> pillars;  // which pillars differ on the other side: "year", "month", "day", "hour"
  std::int64_t seconds_away;  // boundary minus birth, in seconds (negative: the boundary lies before)
  std::string message;    // one line for people
  Pillars other;          // the chart on the other side
  bool operator==(const Warning&) const = default;
};

// 流月: a month of the asked year from its jie.
struct MonthOfYear {
  int pair, jie;      // jie: pillarcore's term number (1 立春 … 23 小寒)
  std::string start;  // the jie instant, civil ISO 8601 with offset
  bool operator==(const MonthOfYear&) const = default;
};
struct DayOfMonth {
  std::string date;   // YYYY-MM-DD
  int pair;
  bool operator==(const DayOfMonth&) const = default;
};
struct HourOfDay {
  int first_hour, end_hour;  // [first, end) on the clock: 0-1, 1-3 … 23-24
  int pair, day_pair;
  bool operator==(const HourOfDay&) const = default;
};
struct Periods {
  std::vector<MonthOfYear> months;
  std::optional<MonthOfYear> days_month;  // the jie month the days belong to
  std::string days_end;                   // the next jie instant
  std::vector<DayOfMonth> days;
  std::string hours_date;
  std::vector<HourOfDay> hours;
  bool operator==(const Periods&) const = default;
};

struct Chart {
  Corrections corrections;
  Pillars pillars;
  // The lunar date of the birth's civil date (as read on its clock at the
  // instant used); none outside the lunar calendar's span.
  std::optional<lunar::LunarDate> lunar;
  lunar::LunarRule lunar_rule = lunar::LunarRule::Almanac;  // the rule `lunar` follows
  std::vector<std::string> candidate_hours;  // unknown hour: the 13 candidates, 早子 … 亥, 晚子
  Analysis analysis;
  std::optional<Luck> luck;
  std::vector<Warning> warnings;
  // The pillar numbers (0-59) the parts below count from; hour -1 when unknown.
  std::array<int, 4> numbers{};
  PalaceNumbers palaces{};
  std::vector<MinorLuck> minor_luck;
  Periods periods;
  int sign = 0, animal = 0;  // 星座 0 白羊 … 11 双鱼, 生肖 0 鼠 … 11 猪, by the chosen rules
  std::string_view sign_rule, animal_rule;
  bool annotated = false;    // the luck, minor and annual pillars carry notes  // the rules' option names: "dates", "lichun" …
  bool operator==(const Chart&) const = default;
};

// The chart of one birth. Throws InputError for anything it cannot answer.
Chart make_chart(const BirthInput& input);
// The same written into `chart`, reusing the storage of its texts and lists:
// the fast path of a batch. After an InputError its content is unspecified.
void make_chart(const BirthInput& input, Chart& chart);

// The four pillars of a UTC instant (seconds since 1970-01-01 UTC) read on a
// clock `clock_offset_seconds` ahead of UTC (the solar clock, if any, for day
// and hour). The fast path the batch and the finder use. Throws InputError
// outside the range.
Pillars pillars_at(std::int64_t utc_seconds, int clock_offset_seconds, ZiSchool school);

// Civil ranges [first, last] (ISO 8601 with offset, in the chosen zone, to the
// second) between 1880 and 2079 at which the four pillars hold, day and hour
// read on the zone's standard time as a chart reads them by default. Throws InputError for a text that is not one of the sixty pairs or
// an unknown zone; an impossible combination gives no range.
struct MomentRange {
  std::string first, last;
};
std::vector<MomentRange> find_moments(const Pillars& wanted, const std::string& zone,
                                      std::optional<int> utc_offset_seconds, ZiSchool school);

// The names of the zones of the system's tz database (aliases included), sorted.
std::vector<std::string> zone_names();

// An offset from UTC as results write it: "+08:00", "-05:00", "+08:05:43".
std::string offset_text(int offset_seconds);

}  // namespace pillar::chart
