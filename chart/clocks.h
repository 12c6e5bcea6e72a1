// The clocks of a birth: the UTC instant, the civil clock of the place, the
// term table's UTC+8 and the solar clock, and the pillar numbers read off
// them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "chart.h"
#include "pillar_arithmetic.h"
#include "place.h"

namespace pillar::chart::detail {

[[noreturn]] void out_of_range(const std::string& what);

struct Solar {
  SolarTime kind = SolarTime::Standard;
  double longitude = 0;
  bool all_pillars = false;
};
// The clock of day and hour the input asks for (BirthInput::solar_time).
Solar solar_of(const BirthInput& input);

// The daylight saving standard time takes off: only saving that puts the
// clock ahead. Europe/Dublin's database calls its summer offset standard
// and its winter one a negative saving; adding that hour back would move
// the reading away from the sun.
inline int daylight_saving_ahead(const Place::Offset& offset) { return offset.dst > 0 ? offset.dst : 0; }

// The place's offset in force at `utc`, daylight saving included.
inline int offset_at(const Place& place, Utc utc) { return place.offset_at(utc.seconds).total; }

// The instant of a civil reading the engine computed (a luck start) and the
// offset then: the earlier in a fold; in a gap, the reading taken on the
// offset before the change, which the clock shows moved on by the gap
// (02:30 in a spring-forward gap of an hour is 03:30).
struct Resolved {
  Utc utc;
  int offset;
};
Resolved resolve(const Place& place, CivilReading civil);

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
// Reject). Without an hour, the noon that reads year and month needs no
// choice; a day the clocks skipped is an InputError.
Utc birth_instant(CivilReading civil, const BirthInput& input, const Place& place);

// The pillar numbers of a reading, the year pillar counted as `input.year_start` says;
// an InputError outside the range or, for that year, the lunar calendar.
PillarNumbers numbers_of(const Reading& r, const BirthInput& input);
// The same, or none where they cannot be read (outside the term table, or
// outside the lunar calendar for a year from the lunar new year).
std::optional<PillarNumbers> numbers_if_readable(const Reading& r, const BirthInput& input);

// What was applied to turn the clock time into the reading: written into
// `k`, whose texts keep their storage.
void describe_corrections(const Reading& birth, const Place& place, const Solar& solar, bool hour_known,
                          Corrections& k);

}  // namespace pillar::chart::detail
