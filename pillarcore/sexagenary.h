// Lookups on one sexagenary pair that other calculations share.
#pragma once

#include "vocabulary.h"

namespace pillar::sexagenary {

// The number 1-60 of a pair, worked out from its stem and branch halves;
// 0 for any other text. Agrees with vocabulary::pair_number.
int pair_number_from_halves(vocabulary::Name text);

// The bare Nayin name of a pair ("海中金" for 甲子), or the empty name for any
// text that is no pair.
vocabulary::Name nayin_name(vocabulary::Name pair);

}  // namespace pillar::sexagenary
