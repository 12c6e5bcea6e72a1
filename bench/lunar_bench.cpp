// Time per conversion of the lunar calendar, natively, over a spread of dates.
#include <benchmark/benchmark.h>

#include "lunar_calendar.h"

namespace {

using namespace pillar::lunar;

void BM_SolarToLunar(benchmark::State& state) {
  const Day first = pillar::calendar::day_of(1881, 1, 1);
  Day day = first;
  lunar_of_day(day);  // the tables are built on first use
  for (auto _ : state) {
    benchmark::DoNotOptimize(lunar_of(pillar::calendar::civil_date_of(day)));
    day = first + (day - first + 7919) % 72000;
  }
}
BENCHMARK(BM_SolarToLunar);

void BM_LunarToSolar(benchmark::State& state) {
  int i = 0;
  CivilDate out{};
  lunar_of_day(0);
  for (auto _ : state) {
    LunarDate date{1881 + i % 197, 1 + i % 12, false, 1 + i % 29};
    benchmark::DoNotOptimize(solar_of(date, out));
    i += 7;
  }
}
BENCHMARK(BM_LunarToSolar);

}  // namespace
