// Lookups on one sexagenary pair that other calculations share.
#pragma once

#include "vocabulary.h"

namespace pillar::sexagenary {

// The bare Nayin name of a pair ("海中金" for 甲子), or the empty name for any
// text that is no pair.
vocabulary::Name nayin_name(vocabulary::Name pair);

}  // namespace pillar::sexagenary
