// Notes on a pillar met in the luck (a luck, minor or annual pillar) as seen
// from the natal chart: numbers only; the edge turns them into texts
// (cycle_texts.h), the growth phases (星运, 自坐) among them.
#pragma once

#include <array>
#include <cstdint>

namespace pillar::chart {

struct PillarNotes {
  int pair = 0;
  // Per natal position (year, month, day, hour): bit k = the k-th relation
  // kind of the chart (texts::relation(k)) holds between stems or branches.
  std::array<std::uint8_t, 4> relations{};
  std::uint8_t repeats = 0;   // bit i: 伏吟, the same pair as natal position i
  std::uint8_t opposes = 0;   // bit i: 反吟, stems and branches both clash with position i
  bool in_day_void = false;   // the branch is one of the natal day pillar's 旬空
  bool operator==(const PillarNotes&) const = default;
};

// The natal chart's side of every note, worked out once: a chart notes a
// hundred pillars or more (小运 to old age), each then a few lookups.
class NatalNotes {
 public:
  // `natal` holds the four natal pairs, the hour -1 when unknown.
  explicit NatalNotes(const std::array<int, 4>& natal);
  const PillarNotes& of(int pair) const { return notes_[pair]; }

 private:
  std::array<PillarNotes, 60> notes_;  // of every pair: a chart notes most of them
};

}  // namespace pillar::chart
