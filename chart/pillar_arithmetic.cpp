#include "pillar_arithmetic.h"

#include <algorithm>
#include <cstdlib>

#include "calendar.h"
#include "texts.h"

namespace pillar::chart::detail {

namespace {

// 1970-01-01 is day 25569 of the library's date value.
constexpr std::int64_t kUnixEpochInLibrarySeconds = 25569 * kSecondsPerDay;

}  // namespace

const std::array<std::int64_t, kJieCount>& jie_instants() {
  static const std::array<std::int64_t, kJieCount> instants = [] {
    std::array<std::int64_t, kJieCount> result{};
    for (int index = 0; index < kJieCount; ++index) {
      int year = kFirstYear + index / 12;
      auto local = calendar::term_instant(year, jie_number_of_index(index));
      result[index] = *local - kUnixEpochInLibrarySeconds - kTableClockOffset;
    }
    return result;
  }();
  return instants;
}

// The jie lie close to a twelfth of a tropical year apart (29.4 to 31.5
// days, never more than about two days off the even spacing), so the even
// spacing guesses the index and a step or two corrects it.
int jie_index_at(std::int64_t utc) {
  const auto& instants = jie_instants();
  constexpr double kMeanSpacing = 365.2422 * kSecondsPerDay / 12;
  double guess = static_cast<double>(utc - instants[0]) / kMeanSpacing;
  int index = guess < 0 ? -1 : guess >= kJieCount ? kJieCount - 1 : static_cast<int>(guess);
  while (index >= 0 && instants[index] > utc) --index;
  while (index + 1 < kJieCount && instants[index + 1] <= utc) ++index;
  return index;
}

std::int64_t first_instant() { return jie_instants()[1]; }

std::int64_t end_instant() {
  static const std::int64_t end = seconds_of_civil(kLastYear + 1, 1, 2, 0, 0, 0) - kTableClockOffset;
  return end;
}

int day_pillar_at(std::int64_t clock_seconds, ZiSchool school) {
  // From 23:00 the day-at-23 school reads the next day.
  std::int64_t shifted = school == ZiSchool::DayChangesAt23 ? clock_seconds + 3600 : clock_seconds;
  return day_pillar_of_day(floor_div(shifted, kSecondsPerDay));
}

int hour_pillar_at(std::int64_t clock_seconds, ZiSchool school) {
  // Two-hour periods counted from 1969-12-31 23:00; every period is one step
  // on in the sixty, and the 子 period of 1970-01-01 (a 辛 day) is 戊子 (24).
  std::int64_t period = floor_div(clock_seconds + 3600, 7200);
  int pillar = mod(period + 24, 60);
  if (school == ZiSchool::SameDayStem && mod(clock_seconds, kSecondsPerDay) >= 23 * 3600)
    pillar = mod(pillar - 12, 60);  // the 子 pillar of the day that is ending
  return pillar;
}

PillarNumbers numbers_at(std::int64_t term_utc, std::int64_t clock_seconds, ZiSchool school) {
  int jie = jie_index_at(term_utc);
  // A year runs from 立春 (index 1 of its calendar year) to the next 小寒's month end.
  int year = kFirstYear + (jie - 1) / 12;
  // 小寒 1880 opens 丁丑 (13); every jie steps one pair on.
  return {year_pillar_of_year(year), mod(jie + 13, 60), day_pillar_at(clock_seconds, school),
          hour_pillar_at(clock_seconds, school)};
}

Pillars texts_of(const PillarNumbers& numbers) {
  const auto& pairs = pairs_utf8();
  Pillars result{pairs[numbers.year], pairs[numbers.month], pairs[numbers.day], std::nullopt};
  if (numbers.hour >= 0) result.hour = pairs[numbers.hour];
  return result;
}

std::int64_t seconds_of_civil(int year, int month, int day, int hour, int minute, int second) {
  return (calendar::day_of(year, month, day) - 25569) * kSecondsPerDay + hour * 3600 + minute * 60 +
         second;
}

Civil civil_of(std::int64_t seconds) {
  calendar::CivilTime t = calendar::civil_time_of(seconds + kUnixEpochInLibrarySeconds);
  return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

namespace {

// Fixed-width decimal digits, written backwards from `end`.
char* put_digits(char* end, int value, int width) {
  for (int i = 0; i < width; ++i, value /= 10) *--end = static_cast<char>('0' + value % 10);
  return end;
}

}  // namespace

// Written by hand: this runs a dozen times a chart, and printf dominated it.
std::string iso_of(std::int64_t clock_seconds) { return iso_of(civil_of(clock_seconds)); }

std::string iso_of(const Civil& c) {
  char text[19] = {0, 0, 0, 0, '-', 0, 0, '-', 0, 0, 'T', 0, 0, ':', 0, 0, ':', 0, 0};
  put_digits(text + 4, c.year, 4);
  put_digits(text + 7, c.month, 2);
  put_digits(text + 10, c.day, 2);
  put_digits(text + 13, c.hour, 2);
  put_digits(text + 16, c.minute, 2);
  put_digits(text + 19, c.second, 2);
  return std::string(text, sizeof text);
}

namespace {

// "+08:00", or "+08:05:43" for an offset with seconds; returns the length.
std::size_t put_offset(char* text, int offset_seconds) {
  int magnitude = std::abs(offset_seconds);
  text[0] = offset_seconds < 0 ? '-' : '+';
  text[3] = text[6] = ':';
  put_digits(text + 3, magnitude / 3600, 2);
  put_digits(text + 6, magnitude / 60 % 60, 2);
  put_digits(text + 9, magnitude % 60, 2);
  return magnitude % 60 ? 9 : 6;
}

}  // namespace

std::string offset_text(int offset_seconds) {
  char text[9];
  return std::string(text, put_offset(text, offset_seconds));
}

std::string iso_with_offset(std::int64_t utc, int offset_seconds) {
  return iso_with_offset(civil_of(utc + offset_seconds), offset_seconds);
}

std::string iso_with_offset(const Civil& civil, int offset_seconds) {
  std::string text = iso_of(civil);
  char offset[9];
  text.append(offset, put_offset(offset, offset_seconds));
  return text;
}

}  // namespace pillar::chart::detail
