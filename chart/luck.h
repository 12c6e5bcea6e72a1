// The luck of a birth: its direction and start, the ten-year luck pillars and
// the annual pillars.
#pragma once

#include "chart.h"
#include "clocks.h"
#include "pillar_arithmetic.h"
#include "place.h"

namespace pillar::chart::detail {

// The pair number (0-59) of luck pillar `index` (1 the first).
constexpr int luck_pillar_pair(const PillarNumbers& numbers, bool forward, int index) {
  return mod(numbers.month + (forward ? index : -index), 60);
}

// Fills `luck` in place: a reused chart keeps the storage of its texts and
// lists. Needs input.sex.
void luck_of(const BirthInput& input, const Reading& birth, const PillarNumbers& numbers, const Place& place,
             Luck& luck);

}  // namespace pillar::chart::detail
