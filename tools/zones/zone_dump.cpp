// Writes what the engine's Place reads from each zone of the system's tz
// database, for tools/zones/check_zones.py to hold against another reading.
//
// Reads lines from standard input, in seconds since 1970:
//   ZONE         ->  S ZONE BEGINS TOTAL DST  for every stretch of one offset
//                    from 1880 up to 2080 (the first begins in 1880)
//   ZONE CLOCK   ->  R ZONE CLOCK KIND EARLIER LATER: the instants at which
//                    the clock reading occurs (KIND u, g for a gap, f a fold)
// or E ZONE for a zone the engine does not know.
#include <cstdint>
#include <iostream>
#include <string>

#include "chart.h"
#include "place.h"

namespace {

using pillar::chart::detail::Place;

constexpr std::int64_t kFrom = -2840140800;  // 1880-01-01T00:00Z
constexpr std::int64_t kTo = 3471292800;     // 2080-01-01T00:00Z

void reading(const std::string& zone, std::int64_t clock) {
  Place::Reading r = Place::kept(zone, std::nullopt).instants_of(clock);
  const char kind = r.kind == Place::Reading::Unique ? 'u' : r.kind == Place::Reading::Gap ? 'g' : 'f';
  std::cout << "R " << zone << ' ' << clock << ' ' << kind << ' ' << r.earlier << ' ' << r.later << '\n';
}

void dump(const std::string& zone) {
  const Place& place = Place::kept(zone, std::nullopt);
  Place::Offset stretch = place.offset_at(kFrom);
  std::int64_t begins = kFrom;
  while (true) {
    std::cout << "S " << zone << ' ' << begins << ' ' << stretch.total << ' ' << stretch.dst << '\n';
    if (stretch.ends >= kTo) break;
    begins = stretch.ends;
    stretch = place.offset_at(begins);
  }
}

}  // namespace

int main() {
  for (std::string line; std::getline(std::cin, line);) {
    std::size_t space = line.find(' ');
    try {
      if (space == std::string::npos) dump(line);
      else reading(line.substr(0, space), std::stoll(line.substr(space + 1)));
    } catch (const std::exception& e) {  // a zone the engine does not know
      std::cout << "E " << line.substr(0, space) << '\n';
    }
  }
}
