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
  Utc utc;                 // the birth instant
  Utc term_utc;            // the instant compared with the jie and 中气
  PillarNumbers numbers;   // hour -1 when unknown
};

void fill_parts(const PartsContext& context, Chart& chart);

// The 交运 sentence of a luck starting at `start_utc`, read `start_civil`
// on the birth's clock: the two stems of the years it comes round (the
// year pillar's at the start and the one five on), the civil month and day.
void assign_handover(std::string& out, Utc start_utc, CivilReading start_civil);

}  // namespace pillar::chart::detail
