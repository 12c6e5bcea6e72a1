// The chart engine: pillars from an instant (the fast path of batches and
// the finder) and the whole chart with analysis and luck.
#include <benchmark/benchmark.h>

#include <cstdint>

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

void BM_FindMoments(benchmark::State& state) {
  Pillars wanted{"庚午", "辛巳", "壬午", std::string("丁未")};
  for (auto _ : state)
    benchmark::DoNotOptimize(find_moments(wanted, "Asia/Shanghai", std::nullopt, ZiSchool::NextDayStem));
}
BENCHMARK(BM_FindMoments);

}  // namespace
