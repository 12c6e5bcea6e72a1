// `pillar chart --batch`: one JSON object per input line, one per output line.
#pragma once

#include <cstdio>

#include "chart.h"

namespace pillar::cli {

// Each line's keys override `defaults` (the command line's options). A line
// that gives no chart gives {"error": ..., "line": N} and the batch goes on.
// Returns the exit status: 0 when every line was read, 1 when a line met a
// fault of this program; throws StreamError when reading or writing fails.
int run_batch(const chart::BirthInput& defaults, std::FILE* in, std::FILE* out);

}  // namespace pillar::cli
