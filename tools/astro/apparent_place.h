// Apparent geocentric ecliptic longitudes of the Sun and the Moon on the true
// equinox and ecliptic of date, and the Sun's apparent direction on the true
// equator and equinox of date, for the build-time generators:
//   - the body's barycentric position retarded for light time;
//   - annual aberration (eraAb) with the Earth's barycentric velocity;
//   - frame bias, IAU 2006 precession and IAU 2000A nutation (eraPn06a),
//     then the true obliquity of date for the ecliptic.
// Time is TT in days after J2000.0, taken as TDB (they differ by under 2 ms).
// Each instant's Earth and rotation are computed once and serve both bodies.
#pragma once

#include <functional>

namespace pillar::astro {

inline constexpr double kPi = 3.14159265358979323846;
// J2000.0 (2000-01-01 12:00 TT) in days after 1899-12-30 00:00.
inline constexpr double kJ2000InDateDays = 36526.5;

// Positions in au and velocities in au/day, ICRS axes.
class Ephemeris {
 public:
  virtual ~Ephemeris() = default;
  // The Earth's barycentric position and velocity.
  virtual void earth(double tt, double position[3], double velocity[3]) const = 0;
  // The Sun's barycentric position.
  virtual void sun(double tt, double position[3]) const = 0;
  // The Moon's geocentric position.
  virtual void moon(double tt, double position[3]) const = 0;
};

// The Earth from eraEpv00, the Moon from eraMoon98.
class ErfaEphemeris : public Ephemeris {
 public:
  void earth(double tt, double position[3], double velocity[3]) const override;
  void sun(double tt, double position[3]) const override;
  void moon(double tt, double position[3]) const override;

 private:
  // eraEpv00 is the costly call: its last answer is kept, since the Earth and
  // the unretarded Sun are asked for the same instant.
  void earth_at(double tt) const;
  mutable double cached_tt_ = -1e300;
  mutable double helio_[2][3] = {}, bary_[2][3] = {};
};

// The sky at one instant.
class ApparentSky {
 public:
  ApparentSky(const Ephemeris& ephemeris, double tt);
  double sun_longitude() const;   // radians
  double moon_longitude() const;  // radians
  // The Sun's apparent direction, a unit vector on the true equator and
  // equinox of date.
  void sun_direction_of_date(double out[3]) const;

 private:
  void rotated_to_date(const double apparent[3], double out[3]) const;
  double ecliptic_longitude(const double of_date[3]) const;
  void apparent_direction(const double geometric[3], double distance, double out[3]) const;

  const Ephemeris& ephemeris_;
  double tt_;
  double earth_[3], earth_velocity_[3];
  double rbpn_[3][3], obliquity_;
};

double wrapped(double angle);  // into (−π, π]

// TT at which f (radians, continuous near the root) reaches 0, by Newton steps
// with a central difference, starting from `guess`, until a step is below
// `tolerance` days (default 1 µs).
double solve_crossing(const std::function<double(double)>& f, double guess, double derivative_step,
                      double tolerance = 1e-6 / 86400);

}  // namespace pillar::astro
