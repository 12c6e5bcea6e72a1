// Time per call of the exports, natively, through the same frame the DLL runs.
#include <benchmark/benchmark.h>

#include "exports.h"

namespace {

using namespace pillar;

void BM_StemOrBranchIndex(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(取干支序数("亥"));
}
BENCHMARK(BM_StemOrBranchIndex);

void BM_ElementIndex(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(取五行序号("土"));
}
BENCHMARK(BM_ElementIndex);

void BM_PairNumber(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(取甲子序号("癸亥"));
}
BENCHMARK(BM_PairNumber);

void BM_ElementOfStemOrBranch(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(取干支五行("未"));
}
BENCHMARK(BM_ElementOfStemOrBranch);

void BM_ZodiacAnimal(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(取年支属相("亥"));
}
BENCHMARK(BM_ZodiacAnimal);

void BM_GenerationControlValue(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(取生克数值("土", "金"));
}
BENCHMARK(BM_GenerationControlValue);

}  // namespace
