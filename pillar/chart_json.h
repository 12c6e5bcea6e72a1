// The JSON form of the command's results; docs/chart-json.md describes
// every key. Raise kSchemaVersion whenever a key changes meaning or goes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chart.h"
#include "json_writer.h"

namespace pillar::cli {

inline constexpr int kSchemaVersion = 2;

// One chart as one line-free JSON object, appended to `out`.
void append_chart_json(OutputBuffer& out, const chart::Chart& chart);

// A batch line that gave no chart: {"error": "...", "line": N}.
void append_error_json(OutputBuffer& out, std::string_view message, long long line);

// The moments at which four pillars hold.
void append_moments_json(OutputBuffer& out, const chart::Pillars& wanted,
                         const std::vector<chart::MomentRange>& moments);

}  // namespace pillar::cli
