// Time per call of the date exports and of passwords by length, natively,
// through the frame.
#include <benchmark/benchmark.h>

#include "calendar.h"
#include "exports.h"

namespace {

using namespace pillar;

// 2000-06-07 05:37:56, a month from its next jie: the longest forward walk.
const Date kBirth = calendar::date_value_of(calendar::seconds_of({2000, 6, 7, 5, 37, 56}));

void BM_LuckStartAge(benchmark::State& state) {
  Int days, previous, next;
  Date start, previous_instant, next_instant;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        取起运年龄(kBirth, 1, &days, &start, &previous, &previous_instant, &next, &next_instant));
}
BENCHMARK(BM_LuckStartAge);

void BM_MonthCommander(benchmark::State& state) {
  const Date day = 36589;  // 2000-03-04, day 30 of 立春: the longest walk back
  for (auto _ : state) benchmark::DoNotOptimize(取司令(day));
}
BENCHMARK(BM_MonthCommander);

void BM_Pentad(benchmark::State& state) {
  const Date day = 36572;  // 2000-02-16, day 13 of 立春
  for (auto _ : state) benchmark::DoNotOptimize(取气候(day));
}
BENCHMARK(BM_Pentad);

// Letters and digits, two draws a character: the time should grow linearly.
void BM_RandomPasswordByLength(benchmark::State& state) {
  const auto length = static_cast<Int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(取得随机密码(length, 3));
  state.SetComplexityN(length);
}
BENCHMARK(BM_RandomPasswordByLength)->RangeMultiplier(10)->Range(10, 1000000)->Complexity(benchmark::oN);

}  // namespace
