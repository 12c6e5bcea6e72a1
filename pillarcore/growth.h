// The growth phase of a stem in a branch, for calculations beyond the exports.
#pragma once

#include "vocabulary.h"

namespace pillar::growth {

// The phase text of stem 1-10 in branch 1-12 ("长生" … " 养 ", the
// one-character names padded with blanks); the empty name for other numbers.
// Mode 1 gives yin stems their own backward cycle, any other mode the cycle
// of the yang stem of their element.
vocabulary::Name phase_name(int stem, int branch, int mode);

}  // namespace pillar::growth
