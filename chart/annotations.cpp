#include "annotations.h"

#include <string>

#include "lexicon.h"

namespace pillar::chart {

namespace {

using detail::kRelationKinds;

constexpr unsigned bit_of(relations::Relation relation) {
  for (std::size_t k = 0; k < kRelationKinds.size(); ++k)
    if (kRelationKinds[k].relation == relation) return 1u << k;
  return 0;
}
constexpr unsigned kClashes = bit_of(relations::Relation::StemClash) | bit_of(relations::Relation::BranchClash);

}  // namespace

NatalNotes::NatalNotes(const std::array<int, 4>& natal) {
  const detail::Lexicon& x = detail::lexicon();
  // The day's void branches as the lexicon writes them ("戌、亥").
  unsigned day_void = 0;
  for (int b = 0; b < 12; ++b)
    if (x.void_branches[natal[2]].find(x.branches[b]) != std::string::npos) day_void |= 1u << b;
  for (int pair = 0; pair < 60; ++pair) {
    const int stem = pair % 10, branch = pair % 12;
    PillarNotes& notes = notes_[pair];
    notes.pair = pair;
    for (int i = 0; i < 4; ++i) {
      if (natal[i] < 0) continue;
      unsigned held = x.stem_relations[stem][natal[i] % 10] | x.branch_relations[branch][natal[i] % 12];
      notes.relations[i] = static_cast<std::uint8_t>(held);
      if (natal[i] == pair) notes.repeats |= static_cast<std::uint8_t>(1u << i);
      if ((held & kClashes) == kClashes) notes.opposes |= static_cast<std::uint8_t>(1u << i);
    }
    notes.in_day_void = day_void >> branch & 1u;
  }
}

}  // namespace pillar::chart
