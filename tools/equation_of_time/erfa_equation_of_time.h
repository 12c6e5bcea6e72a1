// The equation of time computed with ERFA: apparent minus mean solar time.
// Shared by the table generator and the test that checks the table.
#pragma once

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "apparent_place.h"

namespace pillar::equation_of_time {

// TT - UT in seconds. One fixed value for 1880-2080: ΔT stays within about
// 70 s of it over the span. At a given UT a wrong TT misplaces the Sun by its
// motion in right ascension, at most 3.1 ms per second, so the error this
// leaves is below 0.25 s (0.21 s against the observed ΔT and its prediction).
inline constexpr double kTtMinusUt = 60.0;

// Apparent minus mean solar time, in seconds, at `ut_days` days of UT after
// J2000.0 (2000-01-01 12:00):
//   - the Sun's apparent right ascension on the true equator and equinox of
//     date (pillar::astro);
//   - Greenwich apparent sidereal time (eraGst06a);
//   - apparent solar time at Greenwich is the Sun's hour angle + 12 h, mean
//     solar time is UT.
inline double equation_of_time_seconds(double ut_days) {
  double tt_days = ut_days + kTtMinusUt / ERFA_DAYSEC;
  pillar::astro::ErfaEphemeris ephemeris;
  double sun[3];
  pillar::astro::ApparentSky(ephemeris, tt_days).sun_direction_of_date(sun);
  double right_ascension = std::atan2(sun[1], sun[0]);

  double sidereal = eraGst06a(ERFA_DJ00, ut_days, ERFA_DJ00, tt_days);
  // UT counted from midnight: J2000.0 is noon.
  double ut_angle = ERFA_D2PI * (ut_days + 0.5 - std::floor(ut_days + 0.5));
  double equation = std::remainder(sidereal - right_ascension + ERFA_DPI - ut_angle, ERFA_D2PI);
  return equation * ERFA_DAYSEC / ERFA_D2PI;
}

}  // namespace pillar::equation_of_time
