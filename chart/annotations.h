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

// `natal` holds the four natal pairs, the hour -1 when unknown.
PillarNotes notes_of(int pair, const std::array<int, 4>& natal);

}  // namespace pillar::chart
