// The clock of a place: an IANA zone of the system's tz database or a fixed
// offset from UTC.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pillar::chart::detail {

struct ZoneRecord;  // what one zone's files say, shared by the places in it

class Place {
 public:
  // Throws InputError for an unknown zone or an offset beyond ±18 hours.
  // With a longitude, the zone's local mean time (LMT, the clock of its
  // main city before standard time came) is read as the mean time of that
  // longitude instead: before standard time a clock showed its own place's
  // mean time.
  Place(const std::string& zone, std::optional<int> utc_offset_seconds,
        std::optional<double> longitude = std::nullopt);

  // The same place kept for this thread's later charts, with the offsets it
  // has looked up: a batch repeats a few places, and the zone database is
  // slow to ask. Throws as the constructor does.
  static const Place& kept(const std::string& zone, std::optional<int> utc_offset_seconds,
                           std::optional<double> longitude = std::nullopt);

  const std::string& name() const { return name_; }

  // `dst` is the daylight-saving part of `total`, as the database's rules
  // give it (negative in Europe/Dublin's winter). The compiled zone files
  // store only whether daylight saving is in force, so it is read as the
  // offset less the standard offset on either side of that run of daylight
  // saving. Where these two differ (the standard offset itself changed
  // meanwhile, as in Pacific/Apia in December 2011), the part is the one
  // that is a whole number of minutes within two hours, the smaller if both
  // are. Where neither is, the database cannot say, and the change counts
  // as a change of standard offset: dst 0. Where the clock under saving
  // shows the standard offset of both sides, the standard offset moved
  // back by the saving: an hour, as every time it happened.
  struct Offset {
    int total, dst;
    std::int64_t begins, ends;  // UTC instants between which it holds
  };
  Offset offset_at(std::int64_t utc) const;

  // The UTC instants at which a clock reading occurs: one normally, none of
  // them real in a gap (then both readings of the gap are given: `earlier`
  // with the offset after the change, `later` with the offset before it),
  // two in a fold.
  struct Reading {
    enum Kind { Unique, Gap, Fold } kind;
    std::int64_t earlier, later;  // equal when Unique
  };
  Reading instants_of(std::int64_t clock_seconds) const;

  // One instant for a clock reading: in a fold the earlier; in a gap the
  // reading taken on the offset before the change, which falls after it, so
  // the clock shows the reading moved on by the gap (02:30 in a one-hour
  // spring-forward gap is 03:30). `offset` is the one in force at `utc`:
  // utc + offset is a reading that exists.
  struct Resolved {
    std::int64_t utc;
    int offset;
  };
  Resolved resolve(std::int64_t clock_seconds) const;

 private:
  std::string name_;
  std::shared_ptr<ZoneRecord> zone_;  // none for a fixed offset
  int fixed_offset_ = 0;
  std::optional<int> mean_time_offset_;  // the longitude's, for the zone's LMT
};

}  // namespace pillar::chart::detail
