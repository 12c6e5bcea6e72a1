// A birth as given: the date-time text and the checks of every field.
#include "birth_input.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "date_value.h"
#include "pillar_arithmetic.h"
#include "clocks.h"

namespace pillar::chart {

void detail::check_civil(const CivilMoment& m) {
  auto fail = [&](const char* what) {
    char text[80];
    std::snprintf(text, sizeof text, "%s: %04d-%02d-%02dT%02d:%02d:%02d", what, m.year, m.month, m.day, m.hour,
                  m.minute, m.second);
    throw InputError(text);
  };
  if (m.month < 1 || m.month > 12 || m.day < 1 || m.year < 1 || m.year > 9999 ||
      m.day > calendar::days_in_month(m.year, m.month))
    fail("no such date");
  if (m.hour < 0 || m.hour > 23 || m.minute < 0 || m.minute > 59 || m.second < 0 || m.second > 59)
    fail("no such time of day");
}

namespace {

constexpr int kMaxLuckCount = 120;
constexpr int kMaxAnnualYears = 200;
constexpr int kMaxMargin = 86400;

std::string number_text(long long value) { return std::to_string(value); }

}  // namespace

void detail::check_birth_input(const BirthInput& input) {
  if (input.lunar_date) {
    lunar::CivilDate date{};
    lunar::LunarStatus status = lunar::solar_of(*input.lunar_date, date, input.lunar_rule);
    if (status != lunar::LunarStatus::Ok)
      throw InputError(lunar::status_message(status, *input.lunar_date, input.lunar_rule));
  }
  check_civil(input.local);
  if (input.longitude && !(std::fabs(*input.longitude) <= 180))
    throw InputError("longitude must lie between -180 and 180 degrees");
  if (input.solar_time && needs_longitude(*input.solar_time) && !input.longitude)
    throw InputError("solar time needs a longitude");
  if (input.margin_seconds < 0 || input.margin_seconds > kMaxMargin)
    throw InputError("the boundary margin must lie between 0 and 86400 seconds");
  if (input.sex && (input.luck_count < 1 || input.luck_count > kMaxLuckCount))
    throw InputError("the number of luck pillars must lie between 1 and " + number_text(kMaxLuckCount));
  if (input.annual_from.has_value() != input.annual_to.has_value())
    throw InputError("the annual range needs both a first and a last year");
  if (input.annual_from &&
      (*input.annual_from > *input.annual_to || *input.annual_to - *input.annual_from >= kMaxAnnualYears ||
       *input.annual_from < 1 || *input.annual_to > 9999))
    throw InputError("the annual range must run forward over at most " + number_text(kMaxAnnualYears) + " years");
  if (input.local.year > kLastYear || input.local.year < kFirstYear)
    out_of_range("the date " + number_text(input.local.year));
}

CivilMoment parse_civil_moment(std::string_view text) {
  auto fail = [&]() -> InputError {
    return InputError("not a date and time (YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS): \"" +
                      std::string(text) + "\"");
  };
  auto digits = [&](std::size_t at, std::size_t count) {
    if (at + count > text.size()) throw fail();
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
      if (text[i] < '0' || text[i] > '9') throw fail();
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  auto expect = [&](std::size_t at, char wanted) {
    if (at >= text.size() || text[at] != wanted) throw fail();
  };
  CivilMoment m;
  m.year = digits(0, 4);
  expect(4, '-');
  m.month = digits(5, 2);
  expect(7, '-');
  m.day = digits(8, 2);
  if (text.size() == 10) {
    m.has_time = false;
  } else {
    if (text.size() < 16 || (text[10] != 'T' && text[10] != ' ')) throw fail();
    m.hour = digits(11, 2);
    expect(13, ':');
    m.minute = digits(14, 2);
    if (text.size() == 19) {
      expect(16, ':');
      m.second = digits(17, 2);
    } else if (text.size() != 16) {
      throw fail();
    }
  }
  detail::check_civil(m);
  return m;
}

}  // namespace pillar::chart
