// Stem and branch numbers found by comparing two-byte character codes: the
// results of vocabulary::stem_index and branch_index, for calculations that
// number several characters per call.
#pragma once

#include "vocabulary.h"

namespace pillar::character_index {

// 1-10 for a stem, else 0.
int stem_number(vocabulary::Name text);
// 1-12 for a branch, else 0.
int branch_number(vocabulary::Name text);

}  // namespace pillar::character_index
