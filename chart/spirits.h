// The chart's 神煞: the rules of shensha.h on the natal pillars and on the
// luck and annual pillars.
#pragma once

#include "chart.h"
#include "pillar_arithmetic.h"
#include "shensha.h"

namespace pillar::chart::detail {

// Fills the spirits lists of `chart`'s analysis and luck in place (a reused
// chart keeps their storage); the analysis and luck are already made.
void mark_spirits(const shensha::RuleSet& rules, const BirthInput& input, const PillarNumbers& numbers,
                  Chart& chart);

}  // namespace pillar::chart::detail
