#include "place.h"

// The zone's stored changes are read by the date library from the system's
// compiled zone files (its OS-database build); past the last stored change
// (2037 in the usual "fat" files) each file's closing POSIX TZ rule holds,
// which that build does not apply: the same library's ptz.h reads it
// (posix_rule.cpp). One library for both, reading the same files as every
// other program on the system; cctz would be a second reader of the same
// files, and ICU carries a copy of the database of its own age.
#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <vector>

#include "chart.h"
#include "pillar_arithmetic.h"
#include "posix_rule.h"

namespace pillar::chart::detail {

namespace {

constexpr int kLargestOffset = 18 * 3600;
// Enough for every place of a large batch; beyond, the oldest is replaced.
constexpr std::size_t kKeptPlaces = 32;
// Two centuries of a zone with daylight saving and luck reaching far ahead
// stay below this; beyond, the stretches are forgotten and asked again.
constexpr std::size_t kKnownStretches = 8192;
// Far enough to mean "never", near enough that distances to it do not overflow.
constexpr std::int64_t kNever = std::int64_t{1} << 60;
// The libraries' first and last stretches reach to years ±32767: from
// 10^11 seconds (year 5138) on, read "never".
constexpr std::int64_t kFar = 100'000'000'000;
// A clock reading's instants lie within this of it: offsets stay within
// 18 hours, and no change moved a clock by more than a day.
constexpr int kNoMeanTime = kLargestOffset + 1;
constexpr std::int64_t kReach = 2 * kSecondsPerDay;

std::int64_t seconds_of(date::sys_seconds instant) { return instant.time_since_epoch().count(); }
date::sys_seconds instant_of(std::int64_t seconds) { return date::sys_seconds(std::chrono::seconds(seconds)); }

}  // namespace

// One zone's stretches of one offset, as its files give them. `dst` is
// known for stretches of the closing rule; for stored ones only whether
// daylight saving is in force is.
struct ZoneRecord {
  struct Stretch {
    int total;
    bool saving;
    std::optional<int> dst;
    bool mean_time;  // the zone's local mean time, before its standard time
    std::int64_t begins, ends;
  };

  const date::time_zone* zone = nullptr;
  std::optional<PosixRule> rule;
  std::int64_t rule_from = kNever;  // the last stored change, from which the rule holds

  mutable std::optional<Place::Offset> last;  // the zone's offsets come in long stretches
  mutable std::optional<bool> last_mean_time;
  // Looked up before, by their beginning: the beginnings apart, for a quick search.
  mutable std::vector<std::int64_t> known_begins;
  mutable std::vector<std::pair<Place::Offset, bool>> known;

  Stretch stretch_at(std::int64_t utc) const {
    if (utc >= rule_from && rule) {
      PosixRule::Stretch s = rule->at(utc);
      return {s.total, s.dst != 0, s.dst, false, std::max(s.begins, rule_from), s.ends >= kFar ? kNever : s.ends};
    }
    date::sys_info info = zone->get_info(instant_of(utc));
    std::int64_t begins = seconds_of(info.begin), ends = seconds_of(info.end);
    begins = begins <= -kFar ? -kNever : begins;
    ends = std::min(ends >= kFar ? kNever : ends, rule ? rule_from : kNever);
    return {static_cast<int>(info.offset.count()), info.save.count() != 0, std::nullopt,
            begins == -kNever && info.abbrev == "LMT", begins, ends};
  }

  // See Place::Offset for the rule.
  int dst_of(const Stretch& s) const {
    if (s.dst) return *s.dst;
    if (!s.saving) return 0;
    auto standard_beside = [&](bool forward) -> std::optional<int> {
      Stretch at = s;
      for (int step = 0; step < 16; ++step) {
        if (forward ? at.ends >= kNever : at.begins <= -kNever) return std::nullopt;
        at = stretch_at(forward ? at.ends : at.begins - 1);
        if (at.dst) return at.total - *at.dst;
        if (!at.saving) return at.total;
      }
      return std::nullopt;
    };
    std::optional<int> before = standard_beside(false), after = standard_beside(true);
    auto plausible = [](int dst) { return dst != 0 && std::abs(dst) <= 2 * 3600 && dst % 60 == 0; };
    if (!before || !after || *before == *after) {
      std::optional<int> standard = before ? before : after;
      if (!standard) return 0;
      // Saving while the clock shows the standard offset of both sides: the
      // standard offset itself moved back by the saving (Argentina in
      // 1999-2000, Louisville in 1974), an amount the files do not hold; it
      // was an hour each time.
      return s.total != *standard ? s.total - *standard : 3600;
    }
    int from_before = s.total - *before, from_after = s.total - *after;
    if (plausible(from_before) != plausible(from_after)) return plausible(from_before) ? from_before : from_after;
    if (!plausible(from_before)) return 0;
    return std::abs(from_after) < std::abs(from_before) ? from_after : from_before;
  }

  std::pair<Place::Offset, bool> lookup(std::int64_t utc) const {
    Stretch s = stretch_at(utc);
    return {{s.total, dst_of(s), s.begins, s.ends}, s.mean_time};
  }

  std::pair<Place::Offset, bool> offset_at(std::int64_t utc) const {
    if (last && utc >= last->begins && utc < last->ends) return {*last, *last_mean_time};
    std::size_t after = std::upper_bound(known_begins.begin(), known_begins.end(), utc) - known_begins.begin();
    std::pair<Place::Offset, bool> found;
    if (after != 0 && utc < known[after - 1].first.ends) {
      found = known[after - 1];
    } else {
      found = lookup(utc);
      if (known.size() >= kKnownStretches) known.clear(), known_begins.clear(), after = 0;
      known.insert(known.begin() + after, found);
      known_begins.insert(known_begins.begin() + after, found.first.begins);
    }
    last = found.first;
    last_mean_time = found.second;
    return found;
  }
};

Place::Place(const std::string& zone, std::optional<int> utc_offset_seconds, std::optional<double> longitude) {
  if (utc_offset_seconds) {
    if (*utc_offset_seconds < -kLargestOffset || *utc_offset_seconds > kLargestOffset)
      throw InputError("UTC offset out of range (at most 18 hours either way): " +
                       offset_text(*utc_offset_seconds));
    fixed_offset_ = *utc_offset_seconds;
    name_ = "UTC" + offset_text(fixed_offset_);
    return;
  }
  // The records outlive the places: a batch that cycles through more places
  // than are kept still reads each zone's files once.
  thread_local std::map<std::string, std::shared_ptr<ZoneRecord>> records;
  std::shared_ptr<ZoneRecord>& record = records[zone];
  if (!record) {
    auto made = std::make_shared<ZoneRecord>();
    try {
      made->zone = date::locate_zone(zone);
    } catch (const std::exception&) {
      records.erase(zone);
      throw InputError("unknown time zone: \"" + zone + "\"");
    }
    made->rule = PosixRule::closing("/usr/share/zoneinfo/" + zone);
    date::sys_info last = made->zone->get_info(instant_of(kFar - 1));
    if (made->rule) made->rule_from = seconds_of(last.begin) <= -kFar ? -kNever : seconds_of(last.begin);
    record = std::move(made);
  }
  zone_ = record;
  name_ = zone;
  if (longitude) mean_time_offset_ = static_cast<int>(std::lround(*longitude * 240));
}

const Place& Place::kept(const std::string& zone, std::optional<int> utc_offset_seconds,
                         std::optional<double> longitude) {
  thread_local std::vector<std::unique_ptr<Place>> places;
  thread_local std::size_t next_replaced = 0;
  auto mean_time_key = [](std::optional<int> offset) { return offset ? *offset : kNoMeanTime; };
  int mean_time = longitude ? static_cast<int>(std::lround(*longitude * 240)) : kNoMeanTime;
  for (const auto& place : places)
    if (utc_offset_seconds ? !place->zone_ && place->fixed_offset_ == *utc_offset_seconds
                           : place->zone_ && mean_time_key(place->mean_time_offset_) == mean_time && place->name_ == zone)
      return *place;
  auto place = std::make_unique<Place>(zone, utc_offset_seconds, longitude);
  if (places.size() < kKeptPlaces) return *places.emplace_back(std::move(place));
  std::unique_ptr<Place>& slot = places[next_replaced++ % kKeptPlaces];
  slot = std::move(place);
  return *slot;
}

Place::Offset Place::offset_at(std::int64_t utc) const {
  if (!zone_) return {fixed_offset_, 0, -kNever, kNever};
  auto [offset, mean_time] = zone_->offset_at(utc);
  if (mean_time && mean_time_offset_) offset.total = *mean_time_offset_;
  return offset;
}

Place::Reading Place::instants_of(std::int64_t clock_seconds) const {
  if (!zone_) return {Reading::Unique, clock_seconds - fixed_offset_, clock_seconds - fixed_offset_};
  // Mostly the reading lies well inside the stretch of the offset looked at
  // last, and no other stretch comes near enough to hold it too.
  Offset at = offset_at(clock_seconds - (zone_->last ? zone_->last->total : 0));
  std::int64_t inside = clock_seconds - at.total;
  if (inside - at.begins >= kReach && at.ends - inside > kReach) return {Reading::Unique, inside, inside};
  // Else every stretch near it, in turn: those in which it occurs, or the
  // change it falls into.
  std::optional<std::int64_t> first, last;
  std::optional<Reading> gap;
  at = offset_at(clock_seconds - kReach);
  while (true) {
    std::int64_t utc = clock_seconds - at.total;
    if (utc >= at.begins && utc < at.ends) {
      if (!first) first = utc;
      last = utc;
    }
    if (at.ends > clock_seconds + kReach) break;
    Offset next = offset_at(at.ends);
    if (at.ends + at.total <= clock_seconds && clock_seconds < at.ends + next.total)
      gap = Reading{Reading::Gap, clock_seconds - next.total, clock_seconds - at.total};
    at = next;
  }
  if (first) return {*first == *last ? Reading::Unique : Reading::Fold, *first, *last};
  if (gap) return *gap;
  return {Reading::Unique, clock_seconds - at.total, clock_seconds - at.total};  // not reached
}

Place::Resolved Place::resolve(std::int64_t clock_seconds) const {
  if (!zone_) return {clock_seconds - fixed_offset_, fixed_offset_};
  Reading r = instants_of(clock_seconds);
  std::int64_t utc = r.kind == Reading::Gap ? r.later : r.earlier;
  return {utc, offset_at(utc).total};
}

}  // namespace pillar::chart::detail

namespace pillar::chart {

std::vector<std::string> zone_names() {
  const date::tzdb& database = date::get_tzdb();
  std::vector<std::string> names;
  for (const date::time_zone& zone : database.zones) names.emplace_back(zone.name());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace pillar::chart
