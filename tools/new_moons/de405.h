// JPL DE405 as Debian packages it for casacore. casacore's headers want
// C++17, so they stay inside de405.cpp.
#pragma once

#include "apparent_place.h"

namespace pillar::astro {

class De405Ephemeris : public Ephemeris {
 public:
  // Points casacore at the packaged table; call before any other casacore use.
  static void locate_data();
  // Whether TT days after J2000.0 lie inside the packaged table, with a day
  // to spare for a solver's neighbouring instants.
  static bool covers(double tt);

  void earth(double tt, double position[3], double velocity[3]) const override;
  void sun(double tt, double position[3]) const override;
  void moon(double tt, double position[3]) const override;
};

}  // namespace pillar::astro
