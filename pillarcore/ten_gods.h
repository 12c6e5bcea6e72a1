// Ten gods, hidden stems and the counts over a chart's positions.
#pragma once

#include <array>

#include "vocabulary.h"

namespace pillar::ten_gods {

using vocabulary::Name;

// 比肩 劫财 食神 伤官 偏财 正财 偏官 正官 偏印 正印: by how the other's element
// stands to the day stem's (same, generated, controlled, controlling,
// generating), the same polarity first in each pair.
extern const std::array<Name, 10> kTenGodNames;

// The hidden stems of branch number 1-12 (子 to 亥), main stem first, or the
// empty name for any other number.
Name hidden_stems(int branch_number);

// The ten-god name of `other`, a stem or a branch, seen from `day_stem`.
// Mode 1 judges 子 午 巳 亥 by their place in the branch order, any other
// mode by their main hidden stems. The empty name for unrecognised texts.
Name ten_god(Name day_stem, Name other, int mode);

}  // namespace pillar::ten_gods
