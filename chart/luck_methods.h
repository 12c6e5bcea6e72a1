// How the span between the birth and the jie becomes the age at which the
// luck begins: the library's count and the counts of the peers, each named.
// A method gives years, months, days, hours, minutes and seconds of life;
// every method but the library's adds them to the birth as calendar units.
#pragma once

#include <cstdint>

#include "chart.h"

namespace pillar::chart {

struct LuckSpan {
  int years = 0, months = 0, days = 0, hours = 0, minutes = 0, seconds = 0;
  bool operator==(const LuckSpan&) const = default;
};

// `span` is the distance to the jie in seconds; `birth_clock` and
// `jie_clock` read birth and jie on the birth's clock (seconds since
// 1970-01-01), for the counts that compare clock dates and 时辰.
LuckSpan luck_span(LuckMethod method, std::int64_t span, std::int64_t birth_clock, std::int64_t jie_clock,
                   bool forward);

// The clock reading at which a span counted from `birth_clock` ends:
// years and months on the civil month (the day kept, or the month's last
// day), then days, hours, minutes and seconds as elapsed time. The library's
// count adds its days alone (360-day years as plain days).
std::int64_t luck_start_clock(LuckMethod method, std::int64_t birth_clock, const LuckSpan& span);

}  // namespace pillar::chart

namespace pillar::chart {
// Every method and its name, as options and results spell it.
struct LuckMethodName {
  LuckMethod method;
  const char* name;
};
inline constexpr LuckMethodName kLuckMethodNames[] = {
    {LuckMethod::ExactMinutes, "minutes"},
    {LuckMethod::LibraryDays, "days"},
    {LuckMethod::WholeMinutes, "whole-minutes"},
    {LuckMethod::DaysAndDoubleHours, "days-shichen"},
    {LuckMethod::MinutesAndHours, "minutes-hours"},
};
constexpr const char* luck_method_name(LuckMethod method) {
  for (const auto& entry : kLuckMethodNames)
    if (entry.method == method) return entry.name;
  return "";
}
}  // namespace pillar::chart
