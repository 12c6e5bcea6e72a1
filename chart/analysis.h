// The analysis of a chart's pillars: ten gods, hidden stems, phases, 空亡,
// 司令, counts, treasuries and relations.
#pragma once

#include <cstdint>

#include "chart.h"
#include "pillar_arithmetic.h"

namespace pillar::chart::detail {

// Fills `a` in place (a reused chart keeps the storage of its lists);
// `term_utc` is the instant the month pillar was read at.
void analyse(const PillarNumbers& numbers, Utc term_utc, Analysis& a);

}  // namespace pillar::chart::detail
