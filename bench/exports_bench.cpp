// One benchmark per export, registered from the export list, cycling through
// varied, valid arguments (tests/support/varied_arguments.h), so that a new
// export is timed as soon as it is built. Names are
// "export/<ordinal>/<name in UTF-8>"; the counter "nonzero" is the share of
// the rows that gave a text or a non-zero value (a zero count or a false
// predicate is a valid answer too). A few "rejection/" benchmarks
// time an unrecognised argument on purpose.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "each_export.h"
#include "gbk_to_utf8.h"
#include "varied_arguments.h"

namespace {

template <typename R, typename... P>
void cycle_through_rows(benchmark::State& state, pillar::Export e, R (*function)(P...)) {
  varied::Outputs outputs;
  const auto rows = varied::rows_for<P...>(e, outputs);
  if constexpr (!std::is_void_v<R>) {
    int nonzero = 0;
    for (const auto& row : rows) nonzero += std::apply(function, row) != R{};
    state.counters["nonzero"] = static_cast<double>(nonzero) / static_cast<double>(rows.size());
  }
  std::size_t next = 0;
  for (auto _ : state) {
    if constexpr (std::is_void_v<R>) {
      std::apply(function, rows[next]);
      benchmark::ClobberMemory();
    } else {
      benchmark::DoNotOptimize(std::apply(function, rows[next]));
    }
    next = next + 1 == rows.size() ? 0 : next + 1;
  }
}

const bool kRegistered = [] {
  for_each_export([](const pillar::ExportInfo& info, auto function) {
    std::string name = "export/" + std::to_string(info.ordinal) + "/" + gbk_to_utf8(info.name);
    auto e = static_cast<pillar::Export>(info.ordinal);
    benchmark::RegisterBenchmark(name.c_str(), [e, function](benchmark::State& state) {
      cycle_through_rows(state, e, function);
    });
  });
  return true;
}();

// Unrecognised arguments, timed on purpose: a stem where a pair belongs, a
// chart whose month pillar the year stem does not allow, a stem where a
// branch belongs.
void BM_RejectionNayinOfAStem(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(pillar::取纳音("甲"));
}
BENCHMARK(BM_RejectionNayinOfAStem)->Name("rejection/23/nayin of a stem");

void BM_RejectionVoidOfAStem(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(pillar::取空亡("甲"));
}
BENCHMARK(BM_RejectionVoidOfAStem)->Name("rejection/22/void branches of a stem");

void BM_RejectionImpossibleChart(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(pillar::八字是否正确("甲", "子", "甲", "寅", "甲", "子", "甲", "子"));
}
BENCHMARK(BM_RejectionImpossibleChart)->Name("rejection/1/month pillar not allowed");

void BM_RejectionClashOfAStem(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(pillar::取支冲("甲"));
}
BENCHMARK(BM_RejectionClashOfAStem)->Name("rejection/41/branch clash of a stem");

}  // namespace
