#include "place.h"

#include <date/tz.h>

#include <chrono>
#include <limits>

#include "chart.h"
#include "pillar_arithmetic.h"

namespace pillar::chart::detail {

namespace {

constexpr int kLargestOffset = 18 * 3600;

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

Place::Offset Place::offset_at(std::int64_t utc) const {
  if (!zone_)
    return {fixed_offset_, 0, std::numeric_limits<std::int64_t>::min(),
            std::numeric_limits<std::int64_t>::max()};
  date::sys_info info = zone_->get_info(date::sys_seconds(std::chrono::seconds(utc)));
  return {static_cast<int>(info.offset.count()),
          static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(info.save).count()),
          info.begin.time_since_epoch().count(), info.end.time_since_epoch().count()};
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
