#include "equation_of_time.h"

#include "pillar_arithmetic.h"

namespace pillar::chart::detail {

// Linear between the days: the curve bends by at most 0.7 s/day², so the
// interpolation stays within 0.1 s of the computation.
double equation_of_time(std::int64_t utc) {
  std::int64_t day = floor_div(utc, kSecondsPerDay);
  double fraction = static_cast<double>(utc - day * kSecondsPerDay) / kSecondsPerDay;
  long index = static_cast<long>(day - kEquationOfTimeFirstDay);
  double before = kEquationOfTimeTenths[index], after = kEquationOfTimeTenths[index + 1];
  return (before + (after - before) * fraction) / 10.0;
}

}  // namespace pillar::chart::detail
