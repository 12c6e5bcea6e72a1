// The clocks of a birth: the UTC instant, the civil clock of the place, the
// term table's UTC+8 and the solar clock, and the pillar numbers read off
// them.
#pragma once

#include <cstdint>
#include <string>

#include "chart.h"
#include "pillar_arithmetic.h"
#include "place.h"

namespace pillar::chart::detail {

[[noreturn]] void out_of_range(const std::string& what);

struct Solar {
  SolarTime kind = SolarTime::Clock;
  double longitude = 0;
  bool all_pillars = false;
};
// The solar clock the input asks for: none (Clock) without a longitude.
Solar solar_of(const BirthInput& input);

// The instants and clock readings the pillars of one birth are read from.
struct Reading {
  std::int64_t utc;       // the birth instant
  std::int64_t term_utc;  // the instant compared with the jie (solar clock - 8 h when it rules all pillars)
  std::int64_t clock;     // the reading for day and hour: civil or solar
  int offset;             // civil offset in force
};
Reading read_at(std::int64_t utc, const Place& place, const Solar& solar);
// Whether the pillars of `r` lie inside the term table.
bool in_range(const Reading& r);
// Throws InputError unless in_range(r).
void check_range(const Reading& r);

// The UTC instant of the civil reading `civil` at `place`; a reading in a
// gap or a fold is resolved by `input.fold` (an InputError when it says
// Reject, or when the hour is unknown).
std::int64_t birth_instant(std::int64_t civil, const BirthInput& input, const Place& place);

// The pillar numbers of a reading, the year pillar counted as `input.year_start` says.
PillarNumbers numbers_of(const Reading& r, const BirthInput& input);

// What was applied to turn the clock time into the reading: written into
// `k`, whose texts keep their storage.
void describe_corrections(const Reading& birth, const Place& place, const Solar& solar, bool hour_known,
                          Corrections& k);

}  // namespace pillar::chart::detail
