// Boundary warnings: what the chart would be a second across each boundary
// near the birth.
#include "warnings.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

namespace pillar::chart::detail {

namespace {

const char* const kPillarKeys[] = {"year", "month", "day", "hour"};

std::vector<std::string> differing(const PillarNumbers& a, const PillarNumbers& b) {
  std::vector<std::string> keys;
  const int av[] = {a.year, a.month, a.day, a.hour}, bv[] = {b.year, b.month, b.day, b.hour};
  for (int i = 0; i < 4; ++i)
    if (av[i] != bv[i]) keys.push_back(kPillarKeys[i]);
  return keys;
}

std::string joined(const std::vector<std::string>& keys) {
  std::string text;
  for (const auto& key : keys) text += (text.empty() ? "" : ", ") + key;
  return text.empty() ? "no pillar" : text;
}

std::string distance_text(std::int64_t seconds) {
  if (seconds == 0) return "exactly at";
  std::int64_t magnitude = seconds < 0 ? -seconds : seconds;
  char text[64];
  std::snprintf(text, sizeof text, "%lld min %02lld s %s", static_cast<long long>(magnitude / 60),
                static_cast<long long>(magnitude % 60), seconds < 0 ? "after" : "before");
  return text;
}

// The chart one second across a boundary `seconds_away` from the birth (the
// last second before it when it lies before the birth).
void warn_across(BoundaryContext& c, const std::string& kind, std::int64_t seconds_away, const std::string& what) {
  std::int64_t shift = seconds_away <= 0 ? seconds_away - 1 : seconds_away;
  Reading other = read_at(c.birth.utc + shift, c.place, c.solar);
  if (c.solar.kind == SolarTime::Clock) other.clock = c.birth.clock + shift;  // the same clock, without a jump
  // A warning never fails a chart: no warning where the other side cannot be read.
  std::optional<PillarNumbers> readable = numbers_if_readable(other, c.input);
  if (!readable) return;
  PillarNumbers numbers = *readable;
  if (!c.hour_known) numbers.hour = -1;
  std::vector<std::string> keys = differing(c.numbers, numbers);
  if (keys.empty()) return;
  std::string boundary = kind;
  if (kind == "clock") boundary = std::find(keys.begin(), keys.end(), "day") != keys.end() ? "day" : "hour";
  c.warnings.push_back({boundary, keys, seconds_away,
                        "the birth lies " + distance_text(seconds_away) + " " + what + "; across it " +
                            joined(keys) + " would differ",
                        texts_of(numbers)});
}

}  // namespace

void boundary_warnings(BoundaryContext& c) {
  std::int64_t margin = c.margin;
  const auto& jie = jie_instants();
  int index = jie_index_at(c.birth.term_utc);
  if (c.birth.term_utc - jie[index] <= margin)
    warn_across(c, "jie", jie[index] - c.birth.term_utc, "the jie instant " + iso_of(table_reading(jie[index])) + "+08:00");
  if (index + 1 < kJieCount && jie[index + 1] - c.birth.term_utc <= margin)
    warn_across(c, "jie", jie[index + 1] - c.birth.term_utc,
                "the jie instant " + iso_of(table_reading(jie[index + 1])) + "+08:00");

  if (c.hour_known) {
    // The hour pillars change at the odd hours, the day at midnight (or at 23:00).
    static constexpr const char* kClockNames[] = {" on the clock", " standard time", " mean solar time",
                                                  " apparent solar time"};
    const char* clock = kClockNames[static_cast<int>(c.solar.kind)];
    std::int64_t of_day = mod(c.birth.clock.seconds, kSecondsPerDay);
    auto is_boundary = [](int hour) { return hour == 0 || hour == 24 || hour % 2 == 1; };
    int before = static_cast<int>(of_day / 3600), after = before + 1;
    while (!is_boundary(before)) --before;
    while (!is_boundary(after)) ++after;
    SolarReading previous = c.birth.clock - of_day + before * 3600;
    SolarReading next = c.birth.clock - of_day + after * 3600;
    if (c.birth.clock - previous <= margin)
      warn_across(c, "clock", previous - c.birth.clock, "the change of the hour at " + iso_of(previous).substr(11, 5) + clock);
    if (next - c.birth.clock <= margin)
      warn_across(c, "clock", next - c.birth.clock, "the change of the hour at " + iso_of(next).substr(11, 5) + clock);

    // A clock reading near a change of the zone's offset may have been read
    // on the other offset.
    Place::Offset offset = c.place.offset_at(c.birth.utc.seconds);
    const Utc begins(offset.begins), ends(offset.ends);
    std::optional<Utc> change;
    if (c.birth.utc - begins <= margin) change = begins;
    else if (ends - c.birth.utc <= margin) change = ends;
    if (change) {
      int other_offset = offset_at(c.place, *change == begins ? *change - 1 : *change);
      Reading other = read_at(instant_of(c.birth.civil(), other_offset), c.place, c.solar);
      if (c.solar.kind == SolarTime::Clock) other.clock = c.birth.clock;
      if (std::optional<PillarNumbers> readable = numbers_if_readable(other, c.input)) {
        const PillarNumbers& numbers = *readable;
        std::vector<std::string> keys = differing(c.numbers, numbers);
        c.warnings.push_back({"dst", keys, *change - c.birth.utc,
                              "the birth lies " + distance_text(*change - c.birth.utc) +
                                  " a change of the clock's offset; read with offset " + offset_text(other_offset) +
                                  ", " + joined(keys) + " would differ",
                              texts_of(numbers)});
      }
    }
  }
}

}  // namespace pillar::chart::detail
