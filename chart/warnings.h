// Boundary warnings: the jie, clock hours, midnight and changes of the
// zone's offset close to the birth, with the chart on their other side.
#pragma once

#include <cstdint>
#include <vector>

#include "chart.h"
#include "clocks.h"
#include "pillar_arithmetic.h"
#include "place.h"

namespace pillar::chart::detail {

struct BoundaryContext {
  const BirthInput& input;
  const Place& place;
  const Solar& solar;
  const Reading& birth;
  const PillarNumbers& numbers;
  std::vector<Warning>& warnings;
  bool hour_known;
  std::int64_t margin;  // seconds either side of the birth
};

// Appends to c.warnings every boundary within c.margin across which a pillar differs.
void boundary_warnings(BoundaryContext& c);

}  // namespace pillar::chart::detail
