// Time per call of the relation, growth-phase and direction-spirit exports,
// natively, through the same frame the DLL runs.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "exports.h"

namespace {

using namespace pillar;

// The last entry of the punishment table, then the group rule.
void BM_BranchPunishment(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(是否地支相刑("申", "寅"));
}
BENCHMARK(BM_BranchPunishment);

// The last pair of the table, matched from its second side.
void BM_BranchBreakPartner(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(取支破("戌"));
}
BENCHMARK(BM_BranchBreakPartner);

void BM_GrowthPhase(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(取旺衰状态("癸", "亥", 1));
}
BENCHMARK(BM_GrowthPhase);

void BM_SpiritDirections(benchmark::State& state) {
  std::int32_t out[8];
  for (auto _ : state) {
    取八神方向("癸亥", &out[0], &out[1], &out[2], &out[3], &out[4], &out[5], &out[6], &out[7]);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_SpiritDirections);

}  // namespace
