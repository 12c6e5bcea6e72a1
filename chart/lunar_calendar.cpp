#include "lunar_calendar.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "calendar.h"
#include "new_moon_table.h"
#include "texts.h"
#include "vocabulary.h"

namespace pillar::lunar {

std::vector<LunarMonth> build_months(std::span<const Day> new_moon_days,
                                     std::span<const Day> principal_term_days,
                                     std::span<const Day> winter_solstice_days) {
  // Index of the month holding `day`: the last new moon on or before it.
  auto month_holding = [&](Day day) {
    return static_cast<std::size_t>(std::upper_bound(new_moon_days.begin(), new_moon_days.end(), day) -
                                    new_moon_days.begin()) - 1;
  };
  auto holds_principal_term = [&](std::size_t month) {
    auto term = std::lower_bound(principal_term_days.begin(), principal_term_days.end(),
                                 new_moon_days[month]);
    return term != principal_term_days.end() && *term < new_moon_days[month + 1];
  };

  std::vector<LunarMonth> months;
  for (std::size_t s = 0; s + 1 < winter_solstice_days.size(); ++s) {
    std::size_t eleventh = month_holding(winter_solstice_days[s]);
    std::size_t next_eleventh = month_holding(winter_solstice_days[s + 1]);
    int solstice_year = calendar::civil_date_of(winter_solstice_days[s]).year;
    bool leap_year = next_eleventh - eleventh == 13;
    bool leap_found = false;
    int number = 10;
    for (std::size_t i = eleventh; i < next_eleventh; ++i) {
      bool leap = leap_year && !leap_found && i != eleventh && !holds_principal_term(i);
      if (leap)
        leap_found = true;
      else
        number = number % 12 + 1;
      int year = number >= 11 ? solstice_year : solstice_year + 1;  // 11 and 12 precede month 1
      months.push_back({new_moon_days[i], year, number, leap,
                        static_cast<int>(new_moon_days[i + 1] - new_moon_days[i])});
    }
  }
  return months;
}

namespace {

// The table's months, and where each lunar year's run of them begins.
struct Calendar {
  std::vector<LunarMonth> months;
  std::vector<std::int32_t> first_days;  // the months' first days, for the lookup
  int first_year = 0;
  std::vector<std::size_t> year_start;  // one past the end for the last year
  Day first_day = 0, end_day = 0;
};

// The Beijing meridian, 116°25′ E: UTC+7:45:40, 860 s behind UTC+8.
constexpr std::int64_t kBeijingBehindUtc8Seconds = 8 * 3600 - (7 * 3600 + 45 * 60 + 40);
// The Republic's almanacs, 1912-1928, were reckoned on the Beijing meridian.
constexpr Day kRepublicAlmanacFirstDay = calendar::day_of(1912, 1, 1);
constexpr Day kRepublicAlmanacEndDay = calendar::day_of(1929, 1, 1);

// The Qing almanacs before 1912 were reckoned for Beijing too, but with the
// court's own lunar theory, so the meridian alone does not give their dates:
// of the new moons that fall on the day before on the Beijing meridian, it
// moves 1887-03-25 and 1906-04-24 as well, where the published tables keep
// the UTC+8 day. Only the new moons below, each with its reason, are dated on
// the Beijing meridian (docs/lunar-calendar.md).
constexpr CivilDate kQingNewMoonsOnBeijingMeridian[] = {
    // 1896-02-14 00:12:39 UTC+8, 1896-02-13 23:58:19 in Beijing: 光绪二十二年
    // 正月初一, which the historical tables give as 1896-02-13.
    {1896, 2, 14},
};

// The civil day of an instant of the tables (UTC+8) on the rule's clock;
// `listed` says whether a Qing almanac dated it on the Beijing meridian.
Day almanac_day(int year, int month, int day, int hour, int minute, int second, LunarRule rule, bool listed) {
  Day utc8_day = calendar::day_of(year, month, day);
  bool beijing = rule == LunarRule::Almanac &&
                 (listed || (utc8_day >= kRepublicAlmanacFirstDay && utc8_day < kRepublicAlmanacEndDay));
  if (!beijing) return utc8_day;
  std::int64_t seconds_into_day = hour * 3600 + minute * 60 + second;
  return seconds_into_day < kBeijingBehindUtc8Seconds ? utc8_day - 1 : utc8_day;
}

Calendar make_calendar(LunarRule rule) {
  std::vector<Day> new_moons, principal_terms, solstices;
  for (const NewMoonEntry& e : kNewMoons) {
    CivilDate date{e.year, e.month, e.day};
    bool listed = std::ranges::find(kQingNewMoonsOnBeijingMeridian, date) !=
                  std::end(kQingNewMoonsOnBeijingMeridian);
    new_moons.push_back(almanac_day(e.year, e.month, e.day, e.hour, e.minute, e.second, rule, listed));
  }
  for (int year = calendar::kFirstTableYear; year <= calendar::kLastTableYear; ++year) {
    for (int index = 2; index <= calendar::kTermCount; index += 2) {
      const calendar::SolarTermEntry& e =
          calendar::kSolarTermTable[(year - calendar::kFirstTableYear) * calendar::kTermCount + index - 1];
      principal_terms.push_back(almanac_day(year, e.month, e.day, e.hour, e.minute, e.second, rule, false));
    }
    solstices.push_back(principal_terms.back());  // 冬至 is the year's last term
  }
  Calendar c;
  c.months = build_months(new_moons, principal_terms, solstices);
  c.first_year = c.months.front().year;
  for (const LunarMonth& m : c.months) c.first_days.push_back(static_cast<std::int32_t>(m.first_day));
  for (std::size_t i = 0; i < c.months.size(); ++i)
    if (i == 0 || c.months[i].year != c.months[i - 1].year) c.year_start.push_back(i);
  c.year_start.push_back(c.months.size());
  c.first_day = c.months.front().first_day;
  c.end_day = c.months.back().first_day + c.months.back().length;
  return c;
}

const Calendar& the_calendar(LunarRule rule) {
  if (rule == LunarRule::Modern) {
    static const Calendar modern = make_calendar(LunarRule::Modern);
    return modern;
  }
  static const Calendar almanac = make_calendar(LunarRule::Almanac);
  return almanac;
}

// The months of `year` as [begin, end) indexes; empty outside.
std::pair<std::size_t, std::size_t> year_span(const Calendar& c, int year) {
  if (year < c.first_year || year - c.first_year + 1 >= static_cast<int>(c.year_start.size())) return {0, 0};
  return {c.year_start[year - c.first_year], c.year_start[year - c.first_year + 1]};
}

const LunarMonth* find_month(const Calendar& c, int year, int month, bool leap) {
  auto [begin, end] = year_span(c, year);
  for (std::size_t i = begin; i < end; ++i)
    if (c.months[i].number == month && c.months[i].leap == leap) return &c.months[i];
  return nullptr;
}

}  // namespace

std::optional<LunarDate> lunar_of_day(Day day, LunarRule rule) {
  const Calendar& c = the_calendar(rule);
  if (day < c.first_day || day >= c.end_day) return std::nullopt;
  // Months start within a day or so of the mean lunation: guess, then step.
  constexpr std::int64_t kMeanLunationMilliDays = 29531;
  std::size_t i = static_cast<std::size_t>((day - c.first_day) * 1000 / kMeanLunationMilliDays);
  if (i >= c.first_days.size()) i = c.first_days.size() - 1;
  while (c.first_days[i] > day) --i;
  while (i + 1 < c.first_days.size() && c.first_days[i + 1] <= day) ++i;
  const LunarMonth& m = c.months[i];
  return LunarDate{m.year, m.number, m.leap, static_cast<int>(day - m.first_day) + 1};
}

std::optional<LunarDate> lunar_of(const CivilDate& date, LunarRule rule) {
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return std::nullopt;
  Day day = calendar::day_of(date.year, date.month, date.day);
  if (calendar::civil_date_of(day) != date) return std::nullopt;
  return lunar_of_day(day, rule);
}

LunarStatus solar_of(const LunarDate& date, CivilDate& out, LunarRule rule) {
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 30) return LunarStatus::InvalidField;
  const Calendar& c = the_calendar(rule);
  const LunarMonth* month = find_month(c, date.year, date.month, date.leap);
  if (!month) {
    if (date.leap && find_month(c, date.year, date.month, false)) return LunarStatus::NoSuchLeapMonth;
    return LunarStatus::OutOfRange;
  }
  if (date.day > month->length) return LunarStatus::NoSuchDay;
  out = calendar::civil_date_of(month->first_day + date.day - 1);
  return LunarStatus::Ok;
}

std::string status_message(LunarStatus status, const LunarDate& date, LunarRule rule) {
  char text[160];
  const char* leap = date.leap ? "leap " : "";
  switch (status) {
    case LunarStatus::Ok:
      return "ok";
    case LunarStatus::InvalidField:
      std::snprintf(text, sizeof text, "no lunar date: month %d day %d (months run 1-12, days 1-30)",
                    date.month, date.day);
      break;
    case LunarStatus::OutOfRange:
      std::snprintf(text, sizeof text,
                    "lunar %d %smonth %d lies outside the calendar (month 11 of 1880 to the last month before month 11 of 2079, "
                    "%04d-%02d-%02d to %04d-%02d-%02d)",
                    date.year, leap, date.month, kFirstDate.year, kFirstDate.month, kFirstDate.day,
                    kLastDate.year, kLastDate.month, kLastDate.day);
      break;
    case LunarStatus::NoSuchLeapMonth: {
      int has = leap_month_of(date.year, rule);
      if (has)
        std::snprintf(text, sizeof text, "lunar %d has no leap month %d (its leap month is %d)", date.year,
                      date.month, has);
      else
        std::snprintf(text, sizeof text, "lunar %d has no leap month", date.year);
      break;
    }
    case LunarStatus::NoSuchDay:
      std::snprintf(text, sizeof text, "lunar %d %smonth %d has %d days, not %d", date.year, leap, date.month,
                    month_length(date.year, date.month, date.leap, rule), date.day);
      break;
  }
  return text;
}

std::vector<LunarMonth> months_of(int year, LunarRule rule) {
  const Calendar& c = the_calendar(rule);
  auto [begin, end] = year_span(c, year);
  return {c.months.begin() + static_cast<std::ptrdiff_t>(begin),
          c.months.begin() + static_cast<std::ptrdiff_t>(end)};
}

int leap_month_of(int year, LunarRule rule) {
  for (const LunarMonth& m : months_of(year, rule))
    if (m.leap) return m.number;
  return 0;
}

int month_length(int year, int month, bool leap, LunarRule rule) {
  const LunarMonth* m = find_month(the_calendar(rule), year, month, leap);
  return m ? m->length : 0;
}

std::string year_name(int year) {
  // 1984 was 甲子, number 1.
  int number = ((year - 1984) % 60 + 60) % 60;
  return chart::pairs_utf8()[number];
}

std::string year_animal(int year) {
  int branch = ((year - 1984) % 12 + 12) % 12;
  return chart::utf8_of(vocabulary::kAnimals[branch]);
}

}  // namespace pillar::lunar
