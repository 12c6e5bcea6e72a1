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

// The place's offset in force at `utc`, daylight saving included.
inline int offset_at(const Place& place, Utc utc) { return place.offset_at(utc.seconds).total; }

// The instant of a civil reading and the offset then: the earlier in a
// fold, in a gap the reading on the offset before it, which falls after
// the change (02:30 in a spring-forward gap is 03:30): print the instant,
// not the reading asked for.
struct Resolved {
  Utc utc;
  int offset;
};
inline Resolved resolve(const Place& place, CivilReading civil) {
  Place::Resolved r = place.resolve(civil.seconds);
  return {Utc(r.utc), r.offset};
}

// The instants and clock readings the pillars of one birth are read from.
struct Reading {
  Utc utc;             // the birth instant
  Utc term_utc;        // the instant compared with the jie (solar clock - 8 h when it rules all pillars)
  SolarReading clock;  // the reading for day and hour
  int offset;          // civil offset in force
  CivilReading civil() const { return reading_at<CivilClock>(utc, offset); }
};
Reading read_at(Utc utc, const Place& place, const Solar& solar);
// Whether the pillars of `r` lie inside the term table.
bool in_range(const Reading& r);
// Throws InputError unless in_range(r).
void check_range(const Reading& r);

// The UTC instant of the civil reading `civil` at `place`; a reading in a
// gap or a fold is resolved by `input.fold` (an InputError when it says
// Reject, or when the hour is unknown).
Utc birth_instant(CivilReading civil, const BirthInput& input, const Place& place);

// The pillar numbers of a reading, the year pillar counted as `input.year_start` says.
PillarNumbers numbers_of(const Reading& r, const BirthInput& input);

// What was applied to turn the clock time into the reading: written into
// `k`, whose texts keep their storage.
void describe_corrections(const Reading& birth, const Place& place, const Solar& solar, bool hour_known,
                          Corrections& k);

}  // namespace pillar::chart::detail
