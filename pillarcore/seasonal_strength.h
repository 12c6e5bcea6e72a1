// The month commander, for calculations beyond the exports.
#pragma once

#include "vocabulary.h"

namespace pillar::seasonal_strength {

// The commander text of day `day_of_month` (the jie's own day is 1) of the
// month opened by jie number `jie`; the empty name past the last period or
// for a number that is no jie.
vocabulary::Name commander(int jie, int day_of_month);

}  // namespace pillar::seasonal_strength
