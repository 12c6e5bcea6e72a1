// The relation predicates over the pair tables, for calculations beyond the
// exports.
#pragma once

#include "vocabulary.h"

namespace pillar::relations {

enum class Relation {
  StemCombination, StemClash,
  BranchCombination, BranchClash, BranchPunishment, BranchHarm, BranchBreak,
};

// Whether the two texts stand in the relation (either order), as the
// matching predicate export answers.
bool holds(Relation relation, vocabulary::Name first, vocabulary::Name second);

}  // namespace pillar::relations
