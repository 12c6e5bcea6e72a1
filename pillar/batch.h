// `pillar chart --batch`: one JSON object per input line, one per output line.
#pragma once

#include <cstdio>

#include "chart.h"
#include "input_lines.h"
#include "json_writer.h"

namespace pillar::cli {

// The batch contract for one line: its chart, or {"error": ..., "line": N}
// when it gives none; a blank line gives nothing. Each line's keys override
// `defaults`. The command's batch and the server's `charts` both answer
// through it.
class BatchAnswers {
 public:
  explicit BatchAnswers(const chart::BirthInput& defaults) : defaults_(defaults) {}
  void answer(const InputLines::Line& line, OutputBuffer& out);
  // Whether a line met a fault of this program ("internal error: ...").
  bool faulted() const { return faulted_; }

 private:
  chart::BirthInput defaults_;
  chart::BirthInput input_;  // reused: its zone keeps its capacity
  chart::Chart chart_;        // reused: its texts and lists keep theirs
  bool faulted_ = false;
};

// Each line's keys override `defaults` (the command line's options). A line
// that gives no chart gives {"error": ..., "line": N} and the batch goes on.
// Returns the exit status: 0 when every line was read, 1 when a line met a
// fault of this program; throws StreamError when reading or writing fails.
int run_batch(const chart::BirthInput& defaults, std::FILE* in, std::FILE* out);

}  // namespace pillar::cli
