// A birth as given: the checks made before anything is computed.
#pragma once

#include "chart.h"

namespace pillar::chart::detail {

// Throws InputError for a date or time of day that does not exist.
void check_civil(const CivilMoment& moment);
// Throws InputError for a field out of its range (the civil moment included).
void check_birth_input(const BirthInput& input);

}  // namespace pillar::chart::detail
