// One benchmark per export, registered from the export list and called
// with the sample arguments the generic tests use, so that a new export is
// timed as soon as it is built. Names are "export/<ordinal>/<name in UTF-8>".
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "each_export.h"
#include "gbk_to_utf8.h"
#include "sample_arguments.h"

namespace {

// Texts the exports recognise, one per text argument in turn.
const char* const kRecognisedTexts[] = {"甲", "子", "庚", "午", "丙", "寅", "壬", "申", "戊",
                                        "辰", "癸", "亥", "甲"};

template <typename R, typename... P>
void call_repeatedly(benchmark::State& state, R (*function)(P...)) {
  CallOutcome outcome;
  std::vector<const char*> texts(std::begin(kRecognisedTexts), std::end(kRecognisedTexts));
  auto arguments = sample_arguments<P...>(texts, outcome);
  for (auto _ : state) {
    if constexpr (std::is_void_v<R>) {
      std::apply(function, arguments);
      benchmark::ClobberMemory();
    } else {
      benchmark::DoNotOptimize(std::apply(function, arguments));
    }
  }
}

const bool kRegistered = [] {
  for_each_export([](const pillar::ExportInfo& info, auto function) {
    std::string name = "export/" + std::to_string(info.ordinal) + "/" + gbk_to_utf8(info.name);
    benchmark::RegisterBenchmark(name.c_str(), [function](benchmark::State& state) {
      call_repeatedly(state, function);
    });
  });
  return true;
}();

}  // namespace
