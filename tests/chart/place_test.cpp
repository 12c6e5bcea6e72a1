// The clock of a place against the tz database's own rules, read afresh
// from its source (the zone and rule lines quoted) rather than from our code.
#include <gtest/gtest.h>

#include "pillar_arithmetic.h"
#include "place.h"

namespace {

using pillar::chart::detail::Place;
using pillar::chart::detail::seconds_of_civil;

struct Expected {
  const char* zone;
  int year, month, day;  // at 12:00 on the clock
  int total, dst;
};

// Past 2037 the zone files keep only their closing rule ("EST5EDT,M3.2.0,M11.1.0").
TEST(PlaceZones, OffsetsAndDaylightSavingFrom2038) {
  const Expected cases[] = {
      {"America/New_York", 2038, 7, 1, -4 * 3600, 3600},
      {"America/New_York", 2050, 7, 1, -4 * 3600, 3600},
      {"America/New_York", 2050, 1, 15, -5 * 3600, 0},
      {"Europe/London", 2067, 8, 15, 3600, 3600},
      {"Australia/Sydney", 2060, 1, 15, 11 * 3600, 3600},  // southern summer
      {"Australia/Sydney", 2079, 7, 15, 10 * 3600, 0},
      {"Europe/Dublin", 2060, 1, 15, 0, -3600},  // IST is standard, winter saves -1:00
      {"Europe/Dublin", 2060, 7, 15, 3600, 0},
      {"America/Nuuk", 2050, 7, 1, -3600, 3600},  // its rule changes at "-1" o'clock
  };
  for (const Expected& e : cases) {
    const Place& place = Place::kept(e.zone, std::nullopt);
    Place::Resolved noon = place.resolve(seconds_of_civil(e.year, e.month, e.day, 12, 0, 0));
    Place::Offset offset = place.offset_at(noon.utc);
    EXPECT_EQ(offset.total, e.total) << e.zone << ' ' << e.year << '-' << e.month;
    EXPECT_EQ(offset.dst, e.dst) << e.zone << ' ' << e.year << '-' << e.month;
  }
}

TEST(PlaceZones, DaylightSavingPartsWhereTheStandardOffsetMoved) {
  const Expected cases[] = {
      {"Pacific/Apia", 2012, 3, 29, 14 * 3600, 3600},    // -11:00 -> 13:00 on 2011-12-29, saving 1:00
      {"America/Iqaluit", 1943, 7, 1, -4 * 3600, 3600},  // "-00" until 1942, then EWT: -5:00 + 1:00
      {"Europe/Moscow", 1919, 7, 15, 4 * 3600, 3600},    // 1919 Jul 1: 3:00 + MSD 1:00
      {"Europe/Moscow", 1919, 6, 15, 16279, 7200},       // 2:31:19 + MDST 2:00
      {"Europe/London", 1941, 6, 15, 7200, 7200},        // BDST, "Rule GB-Eire 1941 ... 2:00"
  };
  for (const Expected& e : cases) {
    const Place& place = Place::kept(e.zone, std::nullopt);
    Place::Offset offset = place.offset_at(place.resolve(seconds_of_civil(e.year, e.month, e.day, 12, 0, 0)).utc);
    EXPECT_EQ(offset.total, e.total) << e.zone << ' ' << e.year;
    EXPECT_EQ(offset.dst, e.dst) << e.zone << ' ' << e.year;
  }
}

TEST(PlaceZones, GapsAndFoldsFrom2038) {
  const Place& place = Place::kept("America/New_York", std::nullopt);
  // 2050-03-13, the second Sunday of March: 02:00 -> 03:00.
  std::int64_t gap = seconds_of_civil(2050, 3, 13, 2, 30, 0);
  Place::Reading in_gap = place.instants_of(gap);
  EXPECT_EQ(in_gap.kind, Place::Reading::Gap);
  EXPECT_EQ(in_gap.earlier, gap + 4 * 3600);
  EXPECT_EQ(in_gap.later, gap + 5 * 3600);
  // A reading in a gap is taken on the offset before it and shows 03:30.
  Place::Resolved resolved = place.resolve(gap);
  EXPECT_EQ(resolved.utc, gap + 5 * 3600);
  EXPECT_EQ(resolved.utc + resolved.offset, gap + 3600);
  // 2050-11-06, the first Sunday of November: 01:30 occurs twice.
  std::int64_t fold = seconds_of_civil(2050, 11, 6, 1, 30, 0);
  Place::Reading in_fold = place.instants_of(fold);
  EXPECT_EQ(in_fold.kind, Place::Reading::Fold);
  EXPECT_EQ(in_fold.earlier, fold + 4 * 3600);
  EXPECT_EQ(in_fold.later, fold + 5 * 3600);
  EXPECT_EQ(place.resolve(fold).utc, fold + 4 * 3600);
  EXPECT_EQ(place.instants_of(fold - 3600).kind, Place::Reading::Unique);
}

// Asia/Shanghai kept Shanghai's mean time (8:05:43) until 1901; at
// longitude 116.4 the clock showed 7:45:36 ahead of UTC.
TEST(PlaceZones, LocalMeanTimeOfTheGivenLongitude) {
  std::int64_t clock = seconds_of_civil(1890, 6, 1, 13, 10, 0);
  EXPECT_EQ(Place::kept("Asia/Shanghai", std::nullopt).resolve(clock).offset, 29143);
  EXPECT_EQ(Place::kept("Asia/Shanghai", std::nullopt, 116.4).resolve(clock).offset, 27936);
  // Standard time does not depend on it.
  EXPECT_EQ(Place::kept("Asia/Shanghai", std::nullopt, 116.4).resolve(clock + 40LL * 365 * 86400).offset, 8 * 3600);
}

}  // namespace
