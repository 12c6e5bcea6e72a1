// A birth as one JSON object whose keys are the batch keys of the birth
// options: a line of `pillar chart --batch`, or the body of a request.
#pragma once

#include <string_view>

#include "chart.h"

namespace pillar::cli {

// Applies the object's keys over `input` (a key whose value is null counts
// as absent). The object must give "datetime" or "lunar" and may not give
// both, nor both "tz" and "utc_offset". Throws chart::InputError with a
// one-line message. Keeps a little scratch space per thread between calls.
void read_birth_json(std::string_view json_object, chart::BirthInput& input);

}  // namespace pillar::cli
