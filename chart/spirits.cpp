#include "spirits.h"

#include <vector>

#include "luck.h"

namespace pillar::chart::detail {

void mark_spirits(const shensha::RuleSet& rules, const BirthInput& input, const PillarNumbers& numbers,
                  Chart& chart) {
  shensha::Finder finder(rules, {numbers.year, numbers.month, numbers.day, numbers.hour, input.sex});
  thread_local std::vector<std::uint8_t> found;
  std::vector<PillarAnalysis>& pillars = chart.analysis.pillars;
  for (std::size_t position = 0; position < pillars.size(); ++position) {
    found.clear();
    finder.natal(static_cast<int>(position), found);
    shensha::assign_names(rules, found, pillars[position].spirits);
  }
  if (!chart.luck) return;
  Luck& luck = *chart.luck;
  for (std::size_t i = 0; i < luck.pillars.size(); ++i) {
    found.clear();
    finder.extra(luck_pillar_pair(numbers, luck.forward, static_cast<int>(i) + 1), found);
    shensha::assign_names(rules, found, luck.pillars[i].spirits);
  }
  for (AnnualPillar& annual : luck.annual) {
    found.clear();
    finder.extra(year_pillar_of_year(annual.year), found);
    shensha::assign_names(rules, found, annual.spirits);
  }
}

}  // namespace pillar::chart::detail
