// The people's form of the command's results: aligned Chinese tables, UTF-8.
#pragma once

#include <string>
#include <vector>

#include "chart.h"

namespace pillar::cli {

std::string chart_as_text(const chart::BirthInput& input, const chart::Chart& chart);

std::string moments_as_text(const chart::Pillars& wanted, const std::vector<chart::MomentRange>& moments);

}  // namespace pillar::cli
