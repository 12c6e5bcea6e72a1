// The clock of a place: an IANA zone of the system's tz database or a fixed
// offset from UTC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace date {
class time_zone;
}

namespace pillar::chart::detail {

class Place {
 public:
  // Throws InputError for an unknown zone or an offset beyond ±18 hours.
  Place(const std::string& zone, std::optional<int> utc_offset_seconds);

  const std::string& name() const { return name_; }

  struct Offset {
    int total, dst;
    std::int64_t begins, ends;  // UTC instants between which it holds
  };
  Offset offset_at(std::int64_t utc) const;

  // The UTC instants at which a clock reading occurs: one normally, none of
  // them real in a gap (then both readings of the gap are given: with the
  // offset before and the one after), two in a fold.
  struct Reading {
    enum Kind { Unique, Gap, Fold } kind;
    std::int64_t earlier, later;  // equal when Unique
  };
  Reading instants_of(std::int64_t clock_seconds) const;

  // One instant for a clock reading: the earlier in a fold, in a gap the
  // reading on the offset before it; with the offset in force then.
  struct Resolved {
    std::int64_t utc;
    int offset;
  };
  Resolved resolve(std::int64_t clock_seconds) const;

 private:
  Offset lookup(std::int64_t utc) const;

  mutable std::optional<Offset> last_;  // the zone's offsets come in long stretches

  std::string name_;
  const date::time_zone* zone_ = nullptr;
  int fixed_offset_ = 0;
};

}  // namespace pillar::chart::detail
