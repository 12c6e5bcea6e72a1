// The chart engine: a birth moment at a place becomes a Four Pillars chart
// with its analysis, luck pillars and boundary warnings. Texts at this
// interface are UTF-8; the engine reads the term table, the calendar, the
// vocabulary and the analyses of pillarcore.
//
// (Draft interface: the engine's implementer may refine names and fields, but
// keeps the shape so that the pillar command can be written against it.)
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

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

// The late 子 hour, 23:00-24:00.
enum class ZiSchool {
  DayChangesAt23,       // "day-at-23": the day pillar changes at 23:00
  NextDayStem,          // "next-day-stem" (default): day changes at midnight, hour stem from the next day
  SameDayStem,          // "same-day-stem": day changes at midnight, hour stem from the same day
};

enum class SolarTime { Clock, Mean, Apparent };
enum class Sex { Male, Female };
// Which of two candidates a local time that occurs twice (or not at all) means.
enum class FoldChoice { Reject, Earlier, Later };
// How the luck start is counted from the distance to the jie.
enum class LuckMethod {
  LibraryDays,          // "days": exactly 取起运年龄: 3 days = 1 year, counted in whole days
  ExactMinutes,         // "minutes": the distance to the second, 3 days = 1 year, 1 day = 4 months, 1 hour = 5 days
};

struct BirthInput {
  CivilMoment local;
  std::string zone = "Asia/Shanghai";      // IANA name, ignored when utc_offset_seconds is set
  std::optional<int> utc_offset_seconds;   // a fixed offset instead of a zone
  std::optional<double> longitude;         // degrees east, -180..180
  std::optional<SolarTime> solar_time;     // default: Apparent with a longitude, Clock without
  bool solar_time_all_pillars = false;     // apply solar time to year and month too
  FoldChoice fold = FoldChoice::Reject;
  ZiSchool zi_school = ZiSchool::NextDayStem;
  std::optional<Sex> sex;                  // luck needs it
  LuckMethod luck_method = LuckMethod::LibraryDays;
  int luck_count = 10;
  std::optional<int> annual_from, annual_to;  // 流年 range, civil years
  int margin_seconds = 15 * 60;            // boundary warnings
};

struct Pillars {
  std::string year, month, day;
  std::optional<std::string> hour;  // none when the hour is unknown
};

struct HiddenStem {
  std::string stem, ten_god;
};

struct PillarAnalysis {
  std::string pillar, nayin, grade, stem_ten_god, growth_phase;  // stem_ten_god empty for the day pillar? (day master: "日主")
  std::vector<HiddenStem> hidden;
};

struct Relation {
  std::string kind;         // 合 冲 刑 害 破 (stems: 合 冲)
  std::string first, second;  // the two characters
  std::string between;      // the two positions, e.g. "年-月"
};

struct Analysis {
  std::vector<PillarAnalysis> pillars;   // year, month, day, hour (when known)
  std::string void_of_year, void_of_day; // 空亡
  std::string commander;                  // 司令 of the birth day
  std::vector<std::pair<std::string, int>> element_counts, ten_god_counts;
  std::string wealth_treasury, seal_treasury, office;
  std::vector<Relation> relations;
};

struct LuckPillar {
  std::string pillar, ten_god;
  std::string start;  // civil date and time of the place, ISO 8601
  double age;         // years after birth
};

struct AnnualPillar {
  int year;
  std::string pillar, ten_god;
};

struct Luck {
  bool forward;
  std::string method;     // "days" or "minutes"
  std::string start;      // civil, ISO 8601
  int years, months, days;  // the start age as counted by the method
  std::vector<LuckPillar> pillars;
  std::vector<AnnualPillar> annual;
};

// What was applied to turn the clock time into the instants the pillars use.
struct Corrections {
  std::string zone;             // IANA name or "UTC+08:00"
  int utc_offset_seconds;       // total offset in force, daylight saving included
  int dst_seconds;              // daylight saving part (0 when none)
  std::string utc;              // the birth instant, ISO 8601 with Z
  std::optional<std::string> solar_time;  // local solar time used for day/hour, ISO 8601
  std::optional<double> equation_of_time_seconds;
  std::optional<double> longitude_seconds;  // (longitude - zone meridian) in seconds of time
};

struct Warning {
  std::string boundary;   // "jie", "hour", "day", "dst"
  std::string pillar;     // which pillar would differ: "year", "month", "day", "hour"
  int seconds_away;       // signed distance to the boundary
  std::string message;    // one Chinese/English line for people
  Pillars other;          // the chart on the other side
};

struct Chart {
  Corrections corrections;
  Pillars pillars;
  std::vector<std::string> candidate_hours;  // unknown hour: the 13 candidates
  Analysis analysis;
  std::optional<Luck> luck;
  std::vector<Warning> warnings;
};

// The chart of one birth. Throws InputError for anything it cannot answer.
Chart make_chart(const BirthInput& input);

// The four pillars of a UTC instant (seconds since 1970-01-01 UTC) read on a
// clock `clock_offset_seconds` ahead of UTC (the solar clock, if any, for day
// and hour). The fast path the batch and the finder use.
Pillars pillars_at(std::int64_t utc_seconds, int clock_offset_seconds, ZiSchool school);

// Civil ranges [first, last] (ISO 8601, in the chosen zone) between 1880 and
// 2079 at which the four pillars hold.
struct MomentRange {
  std::string first, last;
};
std::vector<MomentRange> find_moments(const Pillars& wanted, const std::string& zone,
                                      std::optional<int> utc_offset_seconds, ZiSchool school);

}  // namespace pillar::chart
