// The civil moments at which four given pillars hold.
#include <algorithm>

#include "chart.h"
#include "clocks.h"
#include "pillar_arithmetic.h"
#include "place.h"
#include "texts.h"

namespace pillar::chart {

using namespace detail;

namespace {

int pair_of(const std::string& text, const char* position) {
  const auto& pairs = pairs_utf8();
  auto found = std::find(pairs.begin(), pairs.end(), text);
  if (found == pairs.end())
    throw InputError(std::string("the ") + position + " pillar \"" + text + "\" is not one of the sixty pairs");
  return static_cast<int>(found - pairs.begin());
}

// The next clock reading after `clock` at which the day or hour pillar may
// change: an odd hour or midnight.
SolarReading next_clock_boundary(SolarReading clock) {
  std::int64_t of_day = mod(clock.seconds, kSecondsPerDay);
  int hour = static_cast<int>(of_day / 3600) + 1;
  while (hour != 24 && hour % 2 == 0) ++hour;
  return clock - of_day + hour * 3600;
}

}  // namespace

std::vector<MomentRange> find_moments(const Pillars& wanted, const std::string& zone,
                                      std::optional<int> utc_offset_seconds, ZiSchool school) {
  PillarNumbers target{pair_of(wanted.year, "year"), pair_of(wanted.month, "month"),
                       pair_of(wanted.day, "day"), wanted.hour ? pair_of(*wanted.hour, "hour") : -1};
  const Place& place = Place::kept(zone, utc_offset_seconds);
  const auto& jie = jie_instants();
  // The end of 2079 on the zone's clock.
  const Utc end_of_range(place.instants_of(seconds_of_civil(kLastYear + 1, 1, 1, 0, 0, 0)).earlier);
  std::vector<MomentRange> ranges;
  // The month pillar fixes the jie month (one in sixty); within it, walk the
  // stretches between clock boundaries, offset changes and the month's ends.
  for (int index = 1; index + 1 <= kJieCount; ++index) {
    if (mod(index + 13, 60) != target.month) continue;
    if (year_pillar_of_year(kFirstYear + (index - 1) / 12) != target.year) continue;
    Utc month_end = index + 1 < kJieCount ? jie[index + 1] : end_of_range;
    Utc from = jie[index];
    std::optional<Utc> open_from;
    Utc open_to;
    while (from < month_end) {
      Place::Offset offset = place.offset_at(from.seconds);
      // Day and hour on the zone's standard time, as a chart reads them by default.
      const int standard = offset.total - daylight_saving_ahead(offset);
      SolarReading clock = reading_at<SolarClock>(from, standard);
      Utc to = std::min({month_end, Utc(offset.ends), instant_of(next_clock_boundary(clock), standard)});
      PillarNumbers at = numbers_at(from, clock, school);
      if (target.hour < 0) at.hour = -1;
      if (at == target) {
        if (!open_from) open_from = from;
        open_to = to;
      } else if (open_from) {
        ranges.push_back({iso_with_offset(*open_from, place.offset_at(open_from->seconds).total),
                          iso_with_offset(open_to - 1, place.offset_at((open_to - 1).seconds).total)});
        open_from.reset();
      }
      from = to;
    }
    if (open_from)
      ranges.push_back({iso_with_offset(*open_from, place.offset_at(open_from->seconds).total),
                        iso_with_offset(open_to - 1, place.offset_at((open_to - 1).seconds).total)});
  }
  return ranges;
}

}  // namespace pillar::chart
