#include "annotations.h"

#include "lexicon.h"

namespace pillar::chart {

namespace {

using detail::branch_of;
using detail::kRelationKinds;
using detail::stem_of;

// The two void branches (1-12) of each pair's decade, read off the lexicon's texts.
struct VoidBranches {
  std::array<std::array<int, 2>, 60> of_pair{};
  VoidBranches() {
    const detail::Lexicon& x = detail::lexicon();
    for (int pair = 0; pair < 60; ++pair)
      for (int b = 0, found = 0; b < 12; ++b)
        if (x.void_branches[pair].find(x.branches[b]) != std::string::npos) of_pair[pair][found++] = b + 1;
  }
};

constexpr unsigned bit_of(relations::Relation relation) {
  for (std::size_t k = 0; k < kRelationKinds.size(); ++k)
    if (kRelationKinds[k].relation == relation) return 1u << k;
  return 0;
}

}  // namespace

PillarNotes notes_of(int pair, const std::array<int, 4>& natal) {
  static const VoidBranches voids;
  const detail::Lexicon& x = detail::lexicon();
  const int stem = stem_of(pair), branch = branch_of(pair);
  PillarNotes notes;
  notes.pair = pair;
  constexpr unsigned kClashes = bit_of(relations::Relation::StemClash) | bit_of(relations::Relation::BranchClash);
  for (int i = 0; i < 4; ++i) {
    if (natal[i] < 0) continue;
    unsigned held = x.stem_relations[stem - 1][stem_of(natal[i]) - 1] |
                    x.branch_relations[branch - 1][branch_of(natal[i]) - 1];
    notes.relations[i] = static_cast<std::uint8_t>(held);
    if (natal[i] == pair) notes.repeats |= static_cast<std::uint8_t>(1u << i);
    if ((held & kClashes) == kClashes) notes.opposes |= static_cast<std::uint8_t>(1u << i);
  }
  const auto& day_void = voids.of_pair[natal[2]];
  notes.in_day_void = branch == day_void[0] || branch == day_void[1];
  return notes;
}

}  // namespace pillar::chart
