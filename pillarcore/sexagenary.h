// Lookups on one sexagenary pair that other calculations share.
#pragma once

#include "vocabulary.h"

namespace pillar::sexagenary {

// The bare Nayin name of a pair ("海中金" for 甲子), or the empty name for any
// text that is no pair.
vocabulary::Name nayin_name(vocabulary::Name pair);

// The two void branches of a pair's decade ("戌、亥" for 甲子 … 癸酉), or the
// empty name for any text that is no pair.
vocabulary::Name void_branches(vocabulary::Name pair);

}  // namespace pillar::sexagenary
