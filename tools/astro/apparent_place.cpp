#include "apparent_place.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pillar::astro {

namespace {
constexpr double kLightDaysPerAu = ERFA_AULT / ERFA_DAYSEC;
}

void ErfaEphemeris::earth_at(double tt) const {
  if (tt == cached_tt_) return;
  eraEpv00(ERFA_DJ00, tt, helio_, bary_);  // warns outside 1900-2100; still valid
  cached_tt_ = tt;
}

void ErfaEphemeris::earth(double tt, double position[3], double velocity[3]) const {
  earth_at(tt);
  for (int i = 0; i < 3; ++i) {
    position[i] = bary_[0][i];
    velocity[i] = bary_[1][i];
  }
}

void ErfaEphemeris::sun(double tt, double position[3]) const {
  earth_at(tt);
  for (int i = 0; i < 3; ++i) position[i] = bary_[0][i] - helio_[0][i];
}

void ErfaEphemeris::moon(double tt, double position[3]) const {
  double pv[2][3];
  eraMoon98(ERFA_DJ00, tt, pv);
  for (int i = 0; i < 3; ++i) position[i] = pv[0][i];
}

ApparentSky::ApparentSky(const Ephemeris& ephemeris, double tt) : ephemeris_(ephemeris), tt_(tt) {
  ephemeris.earth(tt, earth_, earth_velocity_);
  double dpsi, deps, epsa, rb[3][3], rp[3][3], rbp[3][3], rn[3][3];
  eraPn06a(ERFA_DJ00, tt, &dpsi, &deps, &epsa, rb, rp, rbp, rn, rbpn_);
  obliquity_ = epsa + deps;
}

double ApparentSky::sun_longitude() const {
  double direction[3];
  sun_direction_of_date(direction);
  return ecliptic_longitude(direction);
}

void ApparentSky::sun_direction_of_date(double out[3]) const {
  // The sun as seen now left it one light time ago.
  double to_sun[3], distance = 0, light_days = 0;
  for (int pass = 0; pass < 3; ++pass) {
    double sun[3];
    ephemeris_.sun(tt_ - light_days, sun);
    for (int i = 0; i < 3; ++i) to_sun[i] = sun[i] - earth_[i];
    distance = eraPm(to_sun);
    light_days = distance * kLightDaysPerAu;
  }
  double apparent[3];
  apparent_direction(to_sun, distance, apparent);
  rotated_to_date(apparent, out);
}

double ApparentSky::moon_longitude() const {
  // Over the 1.3 s of the Moon's light time the Earth moves in a straight line
  // to far below a metre.
  double to_moon[3];
  ephemeris_.moon(tt_, to_moon);
  for (int pass = 0; pass < 3; ++pass) {
    double light_days = eraPm(to_moon) * kLightDaysPerAu;
    double moon[3];
    ephemeris_.moon(tt_ - light_days, moon);
    for (int i = 0; i < 3; ++i) to_moon[i] = moon[i] - earth_velocity_[i] * light_days;
  }
  // The aberration's small relativistic term wants the Sun's distance.
  double sun[3], to_sun[3];
  ephemeris_.sun(tt_, sun);
  for (int i = 0; i < 3; ++i) to_sun[i] = sun[i] - earth_[i];
  double apparent[3], direction[3];
  apparent_direction(to_moon, eraPm(to_sun), apparent);
  rotated_to_date(apparent, direction);
  return ecliptic_longitude(direction);
}

void ApparentSky::apparent_direction(const double geometric[3], double sun_distance,
                                     double out[3]) const {
  // ERFA takes no const arguments: copies are passed.
  double direction[3] = {geometric[0], geometric[1], geometric[2]};
  double earth_velocity[3] = {earth_velocity_[0], earth_velocity_[1], earth_velocity_[2]};
  double natural[3], velocity[3];
  eraSxp(1.0 / eraPm(direction), direction, natural);
  eraSxp(kLightDaysPerAu, earth_velocity, velocity);  // in units of c
  double bm1 = std::sqrt(1.0 - eraPdp(velocity, velocity));
  eraAb(natural, velocity, sun_distance, bm1, out);
}

void ApparentSky::rotated_to_date(const double apparent[3], double out[3]) const {
  for (int i = 0; i < 3; ++i)
    out[i] = rbpn_[i][0] * apparent[0] + rbpn_[i][1] * apparent[1] + rbpn_[i][2] * apparent[2];
}

double ApparentSky::ecliptic_longitude(const double of_date[3]) const {
  double y = std::cos(obliquity_) * of_date[1] + std::sin(obliquity_) * of_date[2];
  return std::atan2(y, of_date[0]);
}

double wrapped(double angle) { return std::remainder(angle, 2 * kPi); }

double solve_crossing(const std::function<double(double)>& f, double guess, double derivative_step,
                      double tolerance) {
  double t = guess;
  for (int iteration = 0; iteration < 30; ++iteration) {
    double miss = f(t);
    double rate = (f(t + derivative_step) - f(t - derivative_step)) / (2 * derivative_step);
    double step = miss / rate;
    t -= step;
    if (std::fabs(step) < tolerance) return t;
  }
  std::fprintf(stderr, "no convergence near TT %.3f\n", guess);
  std::exit(3);
}

}  // namespace pillar::astro
