#include "annotations.h"

namespace pillar::chart {

PillarNotes notes_of(int pair, const std::array<int, 4>& natal) {
  const facts::CycleFacts& f = facts::cycle_facts();
  const int stem = facts::stem_of(pair), branch = facts::branch_of(pair);
  PillarNotes notes;
  notes.pair = pair;
  notes.star_phase = f.phase[facts::stem_of(natal[2])][branch];
  notes.self_phase = f.phase[stem][branch];
  constexpr unsigned kClashes = 1u << facts::kStemClash | 1u << facts::kBranchClash;
  for (int i = 0; i < 4; ++i) {
    if (natal[i] < 0) continue;
    unsigned held = f.stem_relations[stem][facts::stem_of(natal[i])] |
                    f.branch_relations[branch][facts::branch_of(natal[i])];
    notes.relations[i] = static_cast<std::uint8_t>(held);
    if (natal[i] == pair) notes.repeats |= static_cast<std::uint8_t>(1u << i);
    if ((held & kClashes) == kClashes) notes.opposes |= static_cast<std::uint8_t>(1u << i);
  }
  const auto& day_void = f.void_branches[natal[2]];
  notes.in_day_void = branch == day_void[0] || branch == day_void[1];
  return notes;
}

}  // namespace pillar::chart
