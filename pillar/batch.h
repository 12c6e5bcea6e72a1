// `pillar chart --batch`: one JSON object per input line, one per output line.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "chart.h"
#include "json_writer.h"

namespace pillar::cli {

// The batch contract, fed with input as it arrives: for each non-blank line,
// in order, its chart or {"error": ..., "line": N}. Each line's keys override
// `defaults`. The command's batch and the server's `charts` both answer
// through it.
class BatchLines {
 public:
  // A longer line is an error and is not kept.
  static constexpr std::size_t kLineLimit = 64 * 1024;

  explicit BatchLines(const chart::BirthInput& defaults) : defaults_(defaults) {}

  // Answers every line that `data` ends; keeps the start of an unended one.
  void feed(std::string_view data, OutputBuffer& out);
  // Answers the last line, which needs no newline.
  void finish(OutputBuffer& out);
  // Whether a line met a fault of this program (an "internal error").
  bool faulted() const { return faulted_; }

 private:
  void line(std::string_view text, OutputBuffer& out);

  chart::BirthInput defaults_;
  chart::BirthInput input_;  // reused: its zone keeps its capacity
  chart::Chart chart_;        // reused: its texts and lists keep theirs
  std::string unended_;       // the start of a line whose newline has not come yet
  bool overlong_ = false;     // the unended line passed the limit: dropped up to its newline
  long long line_number_ = 0;
  bool faulted_ = false;
};

// Each line's keys override `defaults` (the command line's options).
// Returns the exit status: 0 when every line was read, 1 when a line met a
// fault of this program; throws StreamError when reading or writing fails.
int run_batch(const chart::BirthInput& defaults, std::FILE* in, std::FILE* out);

}  // namespace pillar::cli
