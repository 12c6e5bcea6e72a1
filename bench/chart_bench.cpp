// Time per call of the chart exports, and of the library work the comparison
// report does, natively through the same frame the DLL runs. The *Calculation
// benchmarks leave the frame out, to show what the frame itself costs.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <string>

#include "chart_validity.h"
#include "exports.h"
#include "ten_gods.h"

namespace {

using namespace pillar;

// Chart order: year stem, year branch, month stem, month branch, day stem,
// day branch, hour stem, hour branch. Both pass the validity check.
using Chart = std::array<const char*, 8>;
const Chart kFirstChart = {"甲", "子", "丙", "寅", "甲", "子", "甲", "子"};
const Chart kSecondChart = {"癸", "亥", "乙", "卯", "戊", "午", "壬", "子"};

void BM_ChartValidity(benchmark::State& state) {
  const Chart& c = kSecondChart;
  for (auto _ : state)
    benchmark::DoNotOptimize(八字是否正确(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]));
}
BENCHMARK(BM_ChartValidity);

void BM_ChartValidityCalculation(benchmark::State& state) {
  chart_validity::Chart chart;
  for (int i = 0; i < 8; ++i) chart[i] = kSecondChart[i];
  for (auto _ : state) {
    benchmark::DoNotOptimize(chart);
    benchmark::DoNotOptimize(chart_validity::is_possible_chart(chart));
  }
}
BENCHMARK(BM_ChartValidityCalculation);

void BM_TenGodRelation(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(取十神关系("癸", "亥", 1));
}
BENCHMARK(BM_TenGodRelation);

void BM_TenGodRelationCalculation(benchmark::State& state) {
  ten_gods::Name day = "癸", other = "亥";
  for (auto _ : state) {
    benchmark::DoNotOptimize(day);
    benchmark::DoNotOptimize(ten_gods::ten_god(day, other, 1));
  }
}
BENCHMARK(BM_TenGodRelationCalculation);

void BM_ChartCharacterCount(benchmark::State& state) {
  const Chart& c = kSecondChart;
  for (auto _ : state)
    benchmark::DoNotOptimize(取干支数量(c[0], c[2], c[4], c[6], c[1], c[3], c[5], c[7], "亥"));
}
BENCHMARK(BM_ChartCharacterCount);

// The library calls the comparison report makes, for the charts in `charts`
// (two for one comparison): the validity checks, the character counts (the
// second chart only where the first has the character), the elements of the
// position and element-count sections and the ten gods of seven positions.
int comparison_calls(const Chart& first, const Chart& second) {
  const Chart* charts[2] = {&first, &second};
  int findings = 0;
  for (const Chart* c : charts)
    findings += 八字是否正确((*c)[0], (*c)[1], (*c)[2], (*c)[3], (*c)[4], (*c)[5], (*c)[6], (*c)[7]);

  const char* characters[22] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸", "子",
                                "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
  auto count = [](const Chart& c, const char* character) {
    return 取干支数量(c[0], c[2], c[4], c[6], c[1], c[3], c[5], c[7], character);
  };
  for (const char* character : characters) {
    int in_first = count(first, character);
    if (in_first != 0) findings += in_first == count(second, character);
  }

  char copy[16];
  for (int position = 0; position < 8; ++position) {
    const char* element = 取干支五行(first[position]);
    std::strncpy(copy, element ? element : "", sizeof copy - 1);
    const char* other = 取干支五行(second[position]);
    findings += std::strcmp(copy, other ? other : "") == 0;
  }
  for (int pillar = 0; pillar < 4; ++pillar)
    for (const Chart* c : charts) {
      benchmark::DoNotOptimize(取干支五行((*c)[2 * pillar]));
      benchmark::DoNotOptimize(取干支五行((*c)[2 * pillar + 1]));
    }

  const int ten_god_positions[7] = {0, 2, 6, 1, 3, 5, 7};
  for (int position : ten_god_positions) {
    const char* name = 取十神关系(first[4], first[position], 1);
    std::strncpy(copy, name ? name : "", sizeof copy - 1);
    const char* other = 取十神关系(second[4], second[position], 1);
    findings += std::strcmp(copy, other ? other : "") == 0;
  }
  return findings;
}

void BM_ComparisonOfTwoCharts(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(comparison_calls(kFirstChart, kSecondChart));
}
BENCHMARK(BM_ComparisonOfTwoCharts);

// What the report asks about one chart: its validity, 22 character counts,
// 16 elements and 7 ten gods.
void BM_OneChartAnalysis(benchmark::State& state) {
  const Chart& c = kSecondChart;
  const char* characters[22] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸", "子",
                                "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
  const int ten_god_positions[7] = {0, 2, 6, 1, 3, 5, 7};
  for (auto _ : state) {
    int total = 八字是否正确(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
    for (const char* character : characters)
      total += 取干支数量(c[0], c[2], c[4], c[6], c[1], c[3], c[5], c[7], character);
    for (int round = 0; round < 2; ++round)
      for (const char* text : c) benchmark::DoNotOptimize(取干支五行(text));
    for (int position : ten_god_positions) benchmark::DoNotOptimize(取十神关系(c[4], c[position], 1));
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_OneChartAnalysis);

}  // namespace
