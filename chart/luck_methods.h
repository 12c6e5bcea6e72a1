// How the span between the birth and the jie becomes the age at which the
// luck begins: the library's count and the counts of the peers, each named.
// A method gives years, months, days, hours, minutes and seconds of life;
// every method but the library's adds them to the birth as calendar units.
#pragma once

#include <cstdint>

#include "chart.h"
#include "pillar_arithmetic.h"

namespace pillar::chart {

struct LuckSpan {
  int years = 0, months = 0, days = 0, hours = 0, minutes = 0, seconds = 0;
  bool operator==(const LuckSpan&) const = default;
};

// `span` is the distance to the jie in seconds; `birth` and `jie` read birth
// and jie on the birth's civil clock, for the count that compares clock
// dates and 时辰.
LuckSpan luck_span(LuckMethod method, std::int64_t span, detail::CivilReading birth, detail::CivilReading jie,
                   bool forward);

// The civil reading at which a span counted from `birth` ends: years and
// months on the civil month (the day kept, or the month's last day), then
// days, hours, minutes and seconds as elapsed time. The library's count adds
// its days alone (360-day years as plain days).
detail::CivilReading luck_start_clock(LuckMethod method, detail::CivilReading birth, const LuckSpan& span);

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
