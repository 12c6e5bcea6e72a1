// 神煞 of one chart: the four natal pillars and ten luck pillars, indexes
// and then the UTF-8 names a chart carries (part of the full chart's 5 µs).
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "shensha.h"

namespace {

using namespace pillar::chart;

// Charts stepped through in turn: year, a month of that year, a day, an hour of that day.
shensha::Natal sample(std::size_t i) {
  int year = static_cast<int>(i * 7 % 60), month_branch = static_cast<int>(i % 12);
  int month_stem = (year % 10 % 5 * 2 + 2 + (month_branch + 10) % 12) % 10;
  int day = static_cast<int>(i * 13 % 60), hour_branch = static_cast<int>(i * 5 % 12);
  int hour_stem = (day % 10 % 5 * 2 + hour_branch) % 10;
  auto pair = [](int stem, int branch) { return (6 * stem - 5 * branch + 60) % 60; };
  return {year, pair(month_stem, month_branch), day, pair(hour_stem, hour_branch),
          i % 2 ? Sex::Male : Sex::Female};
}

void BM_ShenshaNatalAndTenLuck(benchmark::State& state) {
  const shensha::RuleSet& rules = shensha::default_rules();
  std::array<std::vector<std::string_view>, 14> names;
  std::vector<std::uint8_t> found;
  std::size_t i = 0;
  for (auto _ : state) {
    shensha::Natal natal = sample(i++ % 240);
    shensha::Finder finder(rules, natal);
    for (int k = 0; k < 14; ++k) {
      found.clear();
      if (k < 4) finder.natal(k, found);
      else finder.extra((natal.month + k - 3) % 60, found);
      shensha::assign_names(rules, found, names[k]);
    }
    benchmark::DoNotOptimize(names);
  }
}
BENCHMARK(BM_ShenshaNatalAndTenLuck);

}  // namespace
