// Notes on a pillar met in the luck (a luck, minor or annual pillar) as seen
// from the natal chart: numbers only; the edge turns them into texts.
#pragma once

#include <array>
#include <cstdint>

#include "cycle_facts.h"

namespace pillar::chart {

struct PillarNotes {
  int pair = 0;
  int star_phase = 0;   // the day stem's growth phase on the pillar's branch (星运)
  int self_phase = 0;   // the pillar's own stem on its branch (自坐)
  // Per natal position (year, month, day, hour): bit k = facts::RelationKind k
  // holds between the stems or the branches.
  std::array<std::uint8_t, 4> relations{};
  std::uint8_t repeats = 0;   // bit i: 伏吟, the same pair as natal position i
  std::uint8_t opposes = 0;   // bit i: 反吟, stems and branches both clash with position i
  bool in_day_void = false;   // the branch is one of the natal day pillar's 旬空
  bool operator==(const PillarNotes&) const = default;
};

// `natal` holds the four natal pairs, the hour -1 when unknown.
PillarNotes notes_of(int pair, const std::array<int, 4>& natal);

}  // namespace pillar::chart
