// The equation of time computed with ERFA: apparent minus mean solar time.
// Shared by the table generator and the test that checks the table.
#pragma once

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace pillar::equation_of_time {

// TT - UT in seconds. One fixed value for 1880-2080: ΔT stays within about
// 75 s of it over the span, and the equation of time moves at most 0.35 ms
// per second, so the error this leaves is below 0.03 s.
inline constexpr double kTtMinusUt = 60.0;

// Apparent minus mean solar time, in seconds, at `ut_days` days of UT after
// J2000.0 (2000-01-01 12:00).
//   - the Earth's heliocentric and barycentric position and velocity from
//     eraEpv00; the Sun's direction one light time ago;
//   - annual aberration (eraAb);
//   - bias, IAU 2006 precession and IAU 2000A nutation (eraPnm06a) to the
//     true equator and equinox of date: the Sun's apparent right ascension;
//   - Greenwich apparent sidereal time (eraGst06a);
//   - apparent solar time at Greenwich is the Sun's hour angle + 12 h, mean
//     solar time is UT.
inline double equation_of_time_seconds(double ut_days) {
  double tt_days = ut_days + kTtMinusUt / ERFA_DAYSEC;
  double earth_helio[2][3], earth_bary[2][3];
  eraEpv00(ERFA_DJ00, tt_days, earth_helio, earth_bary);  // warns outside 1900-2100; still valid

  double to_sun[3], distance = 0, light_days = 0;
  for (int pass = 0; pass < 2; ++pass) {
    double then_helio[2][3], then_bary[2][3];
    eraEpv00(ERFA_DJ00, tt_days - light_days, then_helio, then_bary);
    for (int i = 0; i < 3; ++i) to_sun[i] = (then_bary[0][i] - then_helio[0][i]) - earth_bary[0][i];
    distance = eraPm(to_sun);
    light_days = distance * ERFA_AULT / ERFA_DAYSEC;
  }
  double natural[3], velocity[3], apparent[3];
  eraSxp(1.0 / distance, to_sun, natural);
  eraSxp(ERFA_AULT / ERFA_DAYSEC, earth_bary[1], velocity);
  double bm1 = std::sqrt(1.0 - eraPdp(velocity, velocity));
  eraAb(natural, velocity, distance, bm1, apparent);

  double rbpn[3][3], of_date[3];
  eraPnm06a(ERFA_DJ00, tt_days, rbpn);
  eraRxp(rbpn, apparent, of_date);
  double right_ascension = std::atan2(of_date[1], of_date[0]);

  double sidereal = eraGst06a(ERFA_DJ00, ut_days, ERFA_DJ00, tt_days);
  // UT counted from midnight: J2000.0 is noon.
  double ut_angle = ERFA_D2PI * (ut_days + 0.5 - std::floor(ut_days + 0.5));
  double equation = std::remainder(sidereal - right_ascension + ERFA_DPI - ut_angle, ERFA_D2PI);
  return equation * ERFA_DAYSEC / ERFA_D2PI;
}

}  // namespace pillar::equation_of_time
