// The parts of a chart beyond the pillars, the analysis and the luck:
// palaces, 小运, notes on the luck, 流月/流日/流时, sign and animal. The
// engine calls this once the pillars and the luck are known.
#pragma once

#include <cstdint>

#include "chart.h"
#include "pillar_arithmetic.h"
#include "place.h"

namespace pillar::chart::detail {

struct PartsContext {
  const BirthInput& input;
  const Place& place;
  std::int64_t utc;        // the birth instant
  std::int64_t term_utc;   // the instant compared with the jie and 中气
  PillarNumbers numbers;   // hour -1 when unknown
};

void fill_parts(const PartsContext& context, Chart& chart);

// The 交运 sentence of a luck starting at clock reading `start_clock` (year
// stem of the year pillar at `start_utc`).
void assign_handover(std::string& out, std::int64_t start_utc, std::int64_t start_clock);

}  // namespace pillar::chart::detail
