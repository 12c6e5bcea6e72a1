// The chart engine: pillars from an instant (the fast path of batches and
// the finder) and the whole chart with analysis and luck.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "chart.h"

namespace {

using namespace pillar::chart;

// Instants spread over 1900-2060, 1024 of them, stepped through in turn.
std::int64_t instant(std::size_t i) {
  return -2'208'988'800LL + static_cast<std::int64_t>((i * 2654435761u) % 1024) * 4'900'000LL + 12345;
}

void BM_PillarsAt(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(pillars_at(instant(i++), 8 * 3600, ZiSchool::NextDayStem));
}
BENCHMARK(BM_PillarsAt);

BirthInput sample_birth(bool longitude) {
  BirthInput input;
  input.local = parse_civil_moment("1990-05-17T14:30");
  input.sex = Sex::Female;
  if (longitude) input.longitude = 116.4;
  return input;
}

void BM_ChartWithAnalysisAndLuck(benchmark::State& state) {
  BirthInput input = sample_birth(false);
  for (auto _ : state) benchmark::DoNotOptimize(make_chart(input));
}
BENCHMARK(BM_ChartWithAnalysisAndLuck);

// Every part on: palaces, ten luck pillars, 小运 to the end of the last
// luck pillar (about 100 years), notes on every luck, minor and annual
// pillar, ten annual pillars; a reused chart, as a batch keeps one.
void BM_ChartWithEveryPart(benchmark::State& state) {
  BirthInput input = sample_birth(false);
  input.minor_luck_to = -1;
  input.annotate = true;
  input.annual_from = 2020;
  input.annual_to = 2029;
  Chart chart;
  for (auto _ : state) {
    make_chart(input, chart);
    benchmark::DoNotOptimize(chart);
  }
  state.counters["minor"] = static_cast<double>(chart.minor_luck.size());
}
BENCHMARK(BM_ChartWithEveryPart);

void BM_ChartReusedDefaultParts(benchmark::State& state) {
  BirthInput input = sample_birth(false);
  Chart chart;
  for (auto _ : state) {
    make_chart(input, chart);
    benchmark::DoNotOptimize(chart);
  }
}
BENCHMARK(BM_ChartReusedDefaultParts);

void BM_ChartApparentSolarTime(benchmark::State& state) {
  BirthInput input = sample_birth(true);
  for (auto _ : state) benchmark::DoNotOptimize(make_chart(input));
}
BENCHMARK(BM_ChartApparentSolarTime);

void BM_ChartFixedOffset(benchmark::State& state) {
  BirthInput input = sample_birth(false);
  input.utc_offset_seconds = 8 * 3600;
  for (auto _ : state) benchmark::DoNotOptimize(make_chart(input));
}
BENCHMARK(BM_ChartFixedOffset);

// A batch in a zone with daylight saving: births scattered over 1900-2079
// in New York, each at its own longitude, with luck (ten resolved starts).
void BM_ChartsScatteredInAZone(benchmark::State& state) {
  std::vector<BirthInput> births(256);
  for (std::size_t i = 0; i < births.size(); ++i) {
    BirthInput& input = births[i];
    std::int64_t day = (i * 2654435761u) % 65700;  // days from 1900 to 2079
    input.local = parse_civil_moment("1900-01-01T09:15");
    input.local.year += static_cast<int>(day / 365);
    input.local.month = 1 + static_cast<int>(day % 365 / 31);
    input.local.day = 1 + static_cast<int>(day % 28);
    input.zone = "America/New_York";
    input.sex = Sex::Male;
    input.longitude = -74.0 + static_cast<double>(i % 16) / 8;
  }
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(make_chart(births[i++ % births.size()]));
}
BENCHMARK(BM_ChartsScatteredInAZone);

void BM_FindMoments(benchmark::State& state) {
  Pillars wanted{"庚午", "辛巳", "壬午", std::string("丁未")};
  for (auto _ : state)
    benchmark::DoNotOptimize(find_moments(wanted, "Asia/Shanghai", std::nullopt, ZiSchool::NextDayStem));
}
BENCHMARK(BM_FindMoments);

}  // namespace
