// The interpolated equation of time against the ERFA computation, anywhere
// in the charts' range, and against two values of the almanac.
#include <gtest/gtest.h>

#include <cstdint>

#include "equation_of_time.h"
#include "erfa_equation_of_time.h"

namespace {

constexpr double kUnixEpochFromJ2000 = -10957.5;  // days

TEST(EquationOfTime, WithinASecondOfErfa) {
  std::uint64_t state = 7;
  const std::int64_t first = -2'838'000'000LL, span = 6'300'000'000LL;  // 1880-01 … 2079-09
  double worst = 0;
  for (int i = 0; i < 3000; ++i) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    std::int64_t utc = first + static_cast<std::int64_t>(state >> 16) % span;
    double table = pillar::chart::detail::equation_of_time(utc);
    double erfa = pillar::equation_of_time::equation_of_time_seconds(utc / 86400.0 + kUnixEpochFromJ2000);
    worst = std::max(worst, std::abs(table - erfa));
  }
  EXPECT_LT(worst, 1.0);
}

// The sun runs about 16 min 26 s ahead in early November and 14 min 13 s
// behind in mid-February.
TEST(EquationOfTime, SeasonalExtremes) {
  EXPECT_NEAR(pillar::chart::detail::equation_of_time(973'209'600), 16 * 60 + 26, 20);  // 2000-11-03
  EXPECT_NEAR(pillar::chart::detail::equation_of_time(950'227'200), -(14 * 60 + 13), 20);  // 2000-02-11
}

}  // namespace
