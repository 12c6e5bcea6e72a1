#include "pillar_arithmetic.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "calendar.h"
#include "texts.h"

namespace pillar::chart::detail {

namespace {

// 1970-01-01 is day 25569 of the library's date value.
constexpr std::int64_t kUnixEpochInLibrarySeconds = 25569 * kSecondsPerDay;

}  // namespace

const std::array<Utc, kJieCount>& jie_instants() {
  static const std::array<Utc, kJieCount> instants = [] {
    std::array<Utc, kJieCount> result{};
    for (int index = 0; index < kJieCount; ++index) {
      int year = kFirstYear + index / 12;
      auto local = calendar::term_instant(year, jie_number_of_index(index));
      result[index] = instant_of(TableReading(*local - kUnixEpochInLibrarySeconds), kTableClockOffset);
    }
    return result;
  }();
  return instants;
}

// The jie lie close to a twelfth of a tropical year apart (29.4 to 31.5
// days, never more than about two days off the even spacing), so the even
// spacing guesses the index and a step or two corrects it.
int jie_index_at(Utc utc) {
  const auto& instants = jie_instants();
  constexpr double kMeanSpacing = 365.2422 * kSecondsPerDay / 12;
  double guess = static_cast<double>(utc - instants[0]) / kMeanSpacing;
  int index = guess < 0 ? -1 : guess >= kJieCount ? kJieCount - 1 : static_cast<int>(guess);
  while (index >= 0 && instants[index] > utc) --index;
  while (index + 1 < kJieCount && instants[index + 1] <= utc) ++index;
  return index;
}

Utc first_instant() { return jie_instants()[1]; }

Utc end_instant() {
  static const Utc end = instant_of(reading_of<TableClock>({kLastYear + 1, 1, 3, 0, 0, 0}), kTableClockOffset);
  return end;
}

int day_pillar_at(SolarReading clock, ZiSchool school) {
  // From 23:00 the day-at-23 school reads the next day.
  return day_pillar_of_day(day_of(school == ZiSchool::DayChangesAt23 ? clock + 3600 : clock));
}

int hour_pillar_at(SolarReading clock, ZiSchool school) {
  std::int64_t clock_seconds = clock.seconds;
  // Two-hour periods counted from 1969-12-31 23:00; every period is one step
  // on in the sixty, and the 子 period of 1970-01-01 (a 辛 day) is 戊子 (24).
  std::int64_t period = floor_div(clock_seconds + 3600, 7200);
  int pillar = mod(period + 24, 60);
  if (school == ZiSchool::SameDayStem && mod(clock_seconds, kSecondsPerDay) >= 23 * 3600)
    pillar = mod(pillar - 12, 60);  // the 子 pillar of the day that is ending
  return pillar;
}

PillarNumbers numbers_at(Utc term_utc, SolarReading clock, ZiSchool school) {
  int jie = jie_index_at(term_utc);
  // A year runs from 立春 (index 1 of its calendar year) to the next 小寒's month end.
  int year = kFirstYear + (jie - 1) / 12;
  // 小寒 1880 opens 丁丑 (13); every jie steps one pair on.
  return {year_pillar_of_year(year), mod(jie + 13, 60), day_pillar_at(clock, school),
          hour_pillar_at(clock, school)};
}

Pillars texts_of(const PillarNumbers& numbers) {
  const auto& pairs = pairs_utf8();
  Pillars result{pairs[numbers.year], pairs[numbers.month], pairs[numbers.day], std::nullopt};
  if (numbers.hour >= 0) result.hour = pairs[numbers.hour];
  return result;
}

std::int64_t seconds_of_civil(int year, int month, int day, int hour, int minute, int second) {
  return calendar::seconds_of({year, month, day, hour, minute, second}) - kUnixEpochInLibrarySeconds;
}

Civil civil_of(std::int64_t seconds) {
  calendar::CivilTime t = calendar::civil_time_of(seconds + kUnixEpochInLibrarySeconds);
  return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

namespace {

// Two decimal digits at `text`, from a table of the hundred pairs.
void put_two(char* text, int value) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  std::memcpy(text, kPairs + 2 * value, 2);
}

// "2000-02-04T20:40:23" at `text` (19 bytes; years 0-9999).
void put_iso(char* text, const Civil& c) {
  put_two(text, c.year / 100);
  put_two(text + 2, c.year % 100);
  text[4] = text[7] = '-';
  put_two(text + 5, c.month);
  put_two(text + 8, c.day);
  text[10] = 'T';
  put_two(text + 11, c.hour);
  text[13] = text[16] = ':';
  put_two(text + 14, c.minute);
  put_two(text + 17, c.second);
}

// "+08:00", or "+08:05:43" for an offset with seconds; returns the length
// and writes nothing beyond it.
std::size_t put_offset(char* text, int offset_seconds) {
  int magnitude = std::abs(offset_seconds);
  text[0] = offset_seconds < 0 ? '-' : '+';
  text[3] = ':';
  put_two(text + 1, magnitude / 3600);
  put_two(text + 4, magnitude / 60 % 60);
  if (magnitude % 60 == 0) return 6;
  text[6] = ':';
  put_two(text + 7, magnitude % 60);
  return 9;
}

constexpr std::size_t kIsoLength = 19, kLongestIsoWithOffset = kIsoLength + 9;

// The reading with its offset at `text`; returns the length.
std::size_t put_iso_with_offset(char* text, const Civil& civil, int offset_seconds) {
  put_iso(text, civil);
  return kIsoLength + put_offset(text + kIsoLength, offset_seconds);
}

}  // namespace

// Written by hand: this runs a dozen times a chart, and printf dominated it.
std::string iso_of(std::int64_t clock_seconds) { return iso_of(civil_of(clock_seconds)); }

std::string iso_of(const Civil& c) {
  char text[kIsoLength];
  put_iso(text, c);
  return std::string(text, sizeof text);
}


std::string iso_with_offset(Utc utc, int offset_seconds) {
  return iso_with_offset(civil_of(utc.seconds + offset_seconds), offset_seconds);
}

std::string iso_with_offset(const Civil& civil, int offset_seconds) {
  char text[kLongestIsoWithOffset];
  return std::string(text, put_iso_with_offset(text, civil, offset_seconds));
}

void assign_iso_with_offset(std::string& out, const Civil& civil, int offset_seconds) {
  // Written straight into the string, whose length rarely changes.
  std::size_t length = kIsoLength + (std::abs(offset_seconds) % 60 ? 9 : 6);
  if (out.size() != length) out.resize(length);
  put_iso_with_offset(out.data(), civil, offset_seconds);
}

void assign_iso_with_offset(std::string& out, Utc utc, int offset_seconds) {
  assign_iso_with_offset(out, civil_of(utc.seconds + offset_seconds), offset_seconds);
}

void assign_iso(std::string& out, std::int64_t clock_seconds, std::string_view suffix) {
  char text[kIsoLength + 8];
  put_iso(text, civil_of(clock_seconds));
  std::size_t length = kIsoLength + std::min(suffix.size(), sizeof text - kIsoLength);
  if (!suffix.empty()) std::memcpy(text + kIsoLength, suffix.data(), length - kIsoLength);
  out.assign(text, length);
}

}  // namespace pillar::chart::detail

std::string pillar::chart::offset_text(int offset_seconds) {
  char text[9];
  return std::string(text, detail::put_offset(text, offset_seconds));
}
