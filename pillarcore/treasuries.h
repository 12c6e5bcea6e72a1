// The treasury and office branches of a day-master stem, for calculations
// beyond the exports.
#pragma once

#include "vocabulary.h"

namespace pillar::treasuries {

struct Branches {
  vocabulary::Name wealth, seal, office;
};

// The branches of stem 1-10; empty names for any other number.
Branches of_stem(int stem);

}  // namespace pillar::treasuries
