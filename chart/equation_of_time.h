// The equation of time (apparent minus mean solar time), interpolated in a
// table computed with ERFA when the engine is built.
#pragma once

#include <cstdint>

namespace pillar::chart::detail {

extern const long kEquationOfTimeFirstDay;         // days since 1970-01-01
extern const std::int16_t kEquationOfTimeTenths[];  // one a day at 0h UT, tenths of a second

// Seconds, at a UTC instant of 1879-12-01 … 2080-01-31.
double equation_of_time(std::int64_t utc);

}  // namespace pillar::chart::detail
