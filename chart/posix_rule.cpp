// Read with the date library's ptz.h, the library the engine already reads
// its zones with (see place.cpp). Built as C++17: the header names
// hh_mm_ss from both `date` and `std::chrono`, ambiguous under C++20.
#include "posix_rule.h"

#include <date/ptz.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace pillar::chart::detail {

struct PosixRule::Rule {
  Posix::time_zone zone;
};

std::optional<PosixRule> PosixRule::closing(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (data.size() < 2 || data.back() != '\n') return std::nullopt;
  std::size_t start = data.rfind('\n', data.size() - 2);
  if (start == std::string::npos || start + 2 == data.size()) return std::nullopt;
  std::string text = data.substr(start + 1, data.size() - start - 2);
  // ptz.h reads the time of day of a change from 0 to 99 hours; the format
  // also allows -167..167 (Greenland's "M3.5.0/-1"). Such a time is read as
  // 0 and added to the changes afterwards.
  PosixRule rule;
  int* shifts[2] = {&rule.start_shift_, &rule.end_shift_};
  std::size_t comma = text.find(',');
  for (int part = 0; part < 2 && comma != std::string::npos; ++part) {
    std::size_t next = text.find(',', comma + 1), slash = text.find('/', comma);
    std::size_t end = next == std::string::npos ? text.size() : next;
    if (slash < end) {
      std::string time = text.substr(slash + 1, end - slash - 1);
      bool negative = !time.empty() && time[0] == '-';
      std::size_t hour_digits = std::min(time.find(':'), time.size()) - (negative || time[0] == '+');
      if (negative || hour_digits > 2) {
        int hours = 0, minutes = 0, seconds = 0;
        std::sscanf(time.c_str() + (negative || time[0] == '+'), "%d:%d:%d", &hours, &minutes, &seconds);
        *shifts[part] = (negative ? -1 : 1) * ((hours * 60 + minutes) * 60 + seconds);
        text.replace(slash + 1, end - slash - 1, "0");
        if (next != std::string::npos) next = slash + 2;
      }
    }
    comma = next;
  }
  try {
    rule.rule_ = std::make_shared<Rule>(Rule{Posix::time_zone(text)});
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return rule;
}

PosixRule::Stretch PosixRule::at(std::int64_t utc) const {
  auto stretch = [this](std::int64_t instant) {
    date::sys_info info = rule_->zone.get_info(date::sys_seconds(std::chrono::seconds(instant)));
    constexpr std::int64_t kFar = 100'000'000'000;
    std::int64_t begins = info.begin.time_since_epoch().count(), ends = info.end.time_since_epoch().count();
    // A rule without changes leaves `save` unset.
    if (begins <= -kFar && ends >= kFar) info.save = std::chrono::minutes(0);
    bool saving = info.save.count() != 0;
    if (begins > -kFar) begins += saving ? start_shift_ : end_shift_;
    if (ends < kFar) ends += saving ? end_shift_ : start_shift_;
    return std::pair(Stretch{static_cast<int>(info.offset.count()),
                             static_cast<int>(std::chrono::seconds(info.save).count()), begins, ends},
                     saving);
  };
  auto [found, saving] = stretch(utc);
  if (utc < found.begins) return stretch(found.begins - 1 - (saving ? start_shift_ : end_shift_)).first;
  if (utc >= found.ends) return stretch(found.ends - (saving ? end_shift_ : start_shift_)).first;
  return found;
}

}  // namespace pillar::chart::detail
