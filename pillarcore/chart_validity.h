// Whether eight texts form a possible chart.
#pragma once

#include <array>

#include "vocabulary.h"

namespace pillar::chart_validity {

// Year stem, year branch, month stem, month branch, day stem, day branch,
// hour stem, hour branch.
using Chart = std::array<vocabulary::Name, 8>;

// Every pillar a sexagenary pair of one stem and one branch, the month pillar
// one that the year stem allows and the hour pillar one that the day stem
// allows.
bool is_possible_chart(const Chart& chart);

}  // namespace pillar::chart_validity
