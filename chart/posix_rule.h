// A POSIX TZ rule such as "EST5EDT,M3.2.0,M11.1.0", as the last line of a
// compiled zone file (TZif version 2 on) gives the zone's changes after its
// last stored one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pillar::chart::detail {

class PosixRule {
 public:
  // The rule closing the compiled zone file at `path`, if it has one.
  static std::optional<PosixRule> closing(const std::string& path);

  // The offset at a UTC instant, its daylight-saving part, and the instants
  // between which both hold (beyond ±10^11 seconds: never).
  struct Stretch {
    int total, dst;
    std::int64_t begins, ends;
  };
  Stretch at(std::int64_t utc) const;

 private:
  struct Rule;
  std::shared_ptr<const Rule> rule_;
  int start_shift_ = 0, end_shift_ = 0;  // added to the changes into and out of saving
};

}  // namespace pillar::chart::detail
