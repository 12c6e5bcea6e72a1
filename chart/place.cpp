#include "place.h"

#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "chart.h"
#include "pillar_arithmetic.h"

namespace pillar::chart::detail {

namespace {

constexpr int kLargestOffset = 18 * 3600;
// Enough for every place of a large batch; beyond, the oldest is replaced.
constexpr std::size_t kKeptPlaces = 32;
// Two centuries of a zone with daylight saving and luck reaching far ahead
// stay below this; beyond, the stretches are forgotten and asked again.
constexpr std::size_t kKnownStretches = 8192;

}  // namespace

Place::Place(const std::string& zone, std::optional<int> utc_offset_seconds) {
  if (utc_offset_seconds) {
    if (*utc_offset_seconds < -kLargestOffset || *utc_offset_seconds > kLargestOffset)
      throw InputError("UTC offset out of range (at most 18 hours either way): " +
                       offset_text(*utc_offset_seconds));
    fixed_offset_ = *utc_offset_seconds;
    name_ = "UTC" + offset_text(fixed_offset_);
    return;
  }
  try {
    zone_ = date::locate_zone(zone);
  } catch (const std::exception&) {
    throw InputError("unknown time zone: \"" + zone + "\"");
  }
  name_ = zone;
}

const Place& Place::kept(const std::string& zone, std::optional<int> utc_offset_seconds) {
  thread_local std::vector<std::unique_ptr<Place>> places;
  thread_local std::size_t next_replaced = 0;
  for (const auto& place : places)
    if (utc_offset_seconds ? !place->zone_ && place->fixed_offset_ == *utc_offset_seconds
                           : place->zone_ && place->name_ == zone)
      return *place;
  auto place = std::make_unique<Place>(zone, utc_offset_seconds);
  if (places.size() < kKeptPlaces) return *places.emplace_back(std::move(place));
  std::unique_ptr<Place>& slot = places[next_replaced++ % kKeptPlaces];
  slot = std::move(place);
  return *slot;
}

Place::Offset Place::offset_at(std::int64_t utc) const {
  if (last_ && utc >= last_->begins && utc < last_->ends) return *last_;
  auto after = std::upper_bound(known_.begin(), known_.end(), utc,
                                [](std::int64_t instant, const Offset& o) { return instant < o.begins; });
  if (after != known_.begin() && utc < (after - 1)->ends) {
    last_ = *(after - 1);
    return *last_;
  }
  last_ = lookup(utc);
  if (known_.size() >= kKnownStretches) known_.clear(), after = known_.end();
  known_.insert(after, *last_);
  return *last_;
}

Place::Resolved Place::resolve(std::int64_t clock_seconds) const {
  constexpr std::int64_t kClear = 2 * kSecondsPerDay;  // farther from a change than any offset
  // Most readings lie well inside the stretch looked at last.
  if (last_) {
    std::int64_t utc = clock_seconds - last_->total;
    if (utc - last_->begins >= kClear && last_->ends - utc >= kClear) return {utc, last_->total};
  }
  Offset guess = offset_at(clock_seconds - (last_ ? last_->total : fixed_offset_));
  std::int64_t utc = clock_seconds - guess.total;
  if (utc - guess.begins >= kClear && guess.ends - utc >= kClear && offset_at(utc).total == guess.total)
    return {utc, guess.total};
  std::int64_t earlier = instants_of(clock_seconds).earlier;
  return {earlier, offset_at(earlier).total};
}

Place::Offset Place::lookup(std::int64_t utc) const {
  // Far enough to mean "never", near enough that distances to it do not overflow.
  constexpr std::int64_t kNever = std::int64_t{1} << 60;
  if (!zone_) return {fixed_offset_, 0, -kNever, kNever};
  date::sys_info info = zone_->get_info(date::sys_seconds(std::chrono::seconds(utc)));
  Offset result{static_cast<int>(info.offset.count()), 0, info.begin.time_since_epoch().count(),
                info.end.time_since_epoch().count()};
  // Read from the system's compiled zone files, `save` only says whether
  // daylight saving is in force; its amount is the distance from the last
  // standard offset before.
  for (int step = 0; info.save != std::chrono::minutes(0) && step < 16; ++step) {
    info = zone_->get_info(info.begin - std::chrono::seconds(1));
    if (info.save == std::chrono::minutes(0)) result.dst = result.total - static_cast<int>(info.offset.count());
  }
  return result;
}

Place::Reading Place::instants_of(std::int64_t clock_seconds) const {
  if (!zone_) return {Reading::Unique, clock_seconds - fixed_offset_, clock_seconds - fixed_offset_};
  date::local_info info =
      zone_->get_info(date::local_seconds(std::chrono::seconds(clock_seconds)));
  std::int64_t first = clock_seconds - info.first.offset.count();
  if (info.result == date::local_info::unique) return {Reading::Unique, first, first};
  std::int64_t second = clock_seconds - info.second.offset.count();
  return {info.result == date::local_info::ambiguous ? Reading::Fold : Reading::Gap,
          std::min(first, second), std::max(first, second)};
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
