#include "de405.h"

#include <casacore/casa/Arrays/Vector.h>
#include <casacore/casa/Quanta/MVEpoch.h>
#include <casacore/measures/Measures/MeasJPL.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace pillar::astro {

namespace {

constexpr double kMjdOfJ2000 = 51544.5;
// The packaged table's rows span these MJD (TDB).
constexpr double kFirstMjd = 36912, kEndMjd = 73488;

std::string casarc_path;

// One body's barycentric position and velocity (au, au/day); stops the
// program outside the table (MeasJPL then answers false with zeros).
casacore::Vector<casacore::Double> get(casacore::MeasJPL::Types body, double tt) {
  casacore::Vector<casacore::Double> value(6);
  double mjd = tt + kMjdOfJ2000;
  double day = std::floor(mjd);
  if (!casacore::MeasJPL::get(value, casacore::MeasJPL::DE405, body, casacore::MVEpoch(day, mjd - day))) {
    std::fprintf(stderr, "DE405 does not reach MJD %.3f\n", mjd);
    std::exit(3);
  }
  return value;
}

}  // namespace

// Debian's casacore looks for its data where the DE405 package does not put
// it: a resource file, named before the first casacore call, tells it.
void De405Ephemeris::locate_data() {
  char name[] = "/tmp/pillar_casarc_XXXXXX";
  int fd = mkstemp(name);
  const std::string settings =
      "measures.DE405.directory: /usr/share/casacore/data/ephemerides\n"
      "measures.DE200.directory: /usr/share/casacore/data/ephemerides\n"
      "measures.jpl.ephemeris: DE405\n";
  if (fd < 0 || write(fd, settings.data(), settings.size()) != static_cast<ssize_t>(settings.size())) {
    std::perror("casarc");
    std::exit(2);
  }
  close(fd);
  casarc_path = name;
  setenv("CASARCFILES", casarc_path.c_str(), 1);
  std::atexit([] { unlink(casarc_path.c_str()); });
}

bool De405Ephemeris::covers(double tt) {
  double mjd = tt + kMjdOfJ2000;
  return mjd >= kFirstMjd + 1 && mjd < kEndMjd - 1;
}

void De405Ephemeris::earth(double tt, double position[3], double velocity[3]) const {
  casacore::Vector<casacore::Double> e = get(casacore::MeasJPL::EARTH, tt);
  for (int i = 0; i < 3; ++i) {
    position[i] = e[i];
    velocity[i] = e[i + 3];
  }
}

void De405Ephemeris::sun(double tt, double position[3]) const {
  casacore::Vector<casacore::Double> s = get(casacore::MeasJPL::SUN, tt);
  for (int i = 0; i < 3; ++i) position[i] = s[i];
}

// casacore's MOON is the barycentre of the Earth and the Moon plus the
// geocentric Moon, not the barycentric Moon: the geocentric Moon is MOON
// minus that barycentre.
void De405Ephemeris::moon(double tt, double position[3]) const {
  casacore::Vector<casacore::Double> moon = get(casacore::MeasJPL::MOON, tt);
  casacore::Vector<casacore::Double> barycentre = get(casacore::MeasJPL::BARYEARTH, tt);
  for (int i = 0; i < 3; ++i) position[i] = moon[i] - barycentre[i];
}

}  // namespace pillar::astro
