#include "calendar.h"

#include <cmath>

namespace pillar::calendar {

std::optional<Seconds> instant_of(Date value) {
  if (!(value >= kFirstDateValue && value < kEndDateValue)) return std::nullopt;
  double whole = std::trunc(value);
  auto time_of_day = std::llround(std::fabs(value - whole) * static_cast<double>(kSecondsPerDay));
  return static_cast<Seconds>(whole) * kSecondsPerDay + time_of_day;
}

std::optional<Day> day_of(Date value) {
  if (!(value >= kFirstDateValue && value < kEndDateValue)) return std::nullopt;
  return static_cast<Day>(std::trunc(value));
}

Date date_value_of(Seconds instant) {
  Day day = floor_div(instant, kSecondsPerDay);
  double time_of_day = static_cast<double>(instant - day * kSecondsPerDay) / kSecondsPerDay;
  // Before the epoch the fraction still counts forward from the day's start.
  return day >= 0 ? static_cast<double>(day) + time_of_day : static_cast<double>(day) - time_of_day;
}

Date add_days(Date value, std::int64_t days) {
  if (value >= 0 && value + static_cast<double>(days) >= 0) return value + static_cast<double>(days);
  double whole = std::trunc(value);
  double time_of_day = std::fabs(value - whole);
  double day = whole + static_cast<double>(days);
  return day >= 0 ? day + time_of_day : day - time_of_day;
}

namespace {

const SolarTermEntry* table_entry(int year, int calendar_index) {
  if (year < kFirstTableYear || year > kLastTableYear) return nullptr;
  return &kSolarTermTable[(year - kFirstTableYear) * kTermCount + calendar_index - 1];
}

}  // namespace

std::optional<Seconds> term_instant(int year, int number) {
  if (!is_term_number(number)) return std::nullopt;
  const SolarTermEntry* entry = table_entry(year, calendar_index_of(number));
  if (!entry) return std::nullopt;
  return seconds_of({year, entry->month, entry->day, entry->hour, entry->minute, entry->second});
}

Date term_instant_value(int year, int number) {
  std::optional<Seconds> instant = term_instant(year, number);
  return instant ? date_value_of(*instant) : kFirstDateValue;
}

// Every month of the table holds exactly two terms, calendar indexes 2m-1 and
// 2m (the table test checks this), so only those two are compared.
int term_of_day(Day day) {
  if (day < kFirstTermDay || day > kLastTermDay) return 0;
  CivilDate date = civil_date_of(day);
  for (int calendar_index = 2 * date.month - 1; calendar_index <= 2 * date.month; ++calendar_index) {
    const SolarTermEntry* entry = table_entry(date.year, calendar_index);
    if (entry->month == date.month && entry->day == date.day) return term_number_of(calendar_index);
  }
  return 0;
}

std::optional<int> year_stem_of(Seconds instant) {
  int year = civil_time_of(instant).year;
  std::optional<Seconds> li_chun = term_instant(year, kLiChun);
  if (!li_chun) return std::nullopt;
  if (instant < *li_chun) --year;
  return stem_of_pillar_year(year);
}

}  // namespace pillar::calendar
