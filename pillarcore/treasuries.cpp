// The treasury and office branches of a day-master stem.
#include <array>

#include "treasuries.h"

#include "frame.h"
#include "vocabulary.h"

namespace pillar {
namespace {

using namespace vocabulary;

// Each table gives one branch per stem, in stem order.
using BranchOfStem = std::array<Name, 10>;

const BranchOfStem kWealthTreasuries = {"丑", "戌", "辰", "丑", "未", "辰", "戌", "未", "丑", "戌"};
const BranchOfStem kSealTreasuries = {"未", "辰", "戌", "未", "丑", "戌", "丑", "戌", "辰", "丑"};
const BranchOfStem kOfficeBranches = {"酉", "申", "子", "亥", "卯", "寅", "午", "巳", "午", "巳"};

// Only a lone stem has a branch.
auto branch_from(const BranchOfStem& table) {
  return [&table](Name stem_text) {
    int stem = stem_index(stem_text);
    return stem ? copy_text(table[stem - 1]) : HeapText();
  };
}

}  // namespace

namespace treasuries {

Branches of_stem(int stem) {
  if (stem < 1 || stem > 10) return {};
  return {kWealthTreasuries[stem - 1], kSealTreasuries[stem - 1], kOfficeBranches[stem - 1]};
}

}  // namespace treasuries

const char* PILLAR_CALL 取财库(Text stem) {
  return run_export<Export::取财库>(branch_from(kWealthTreasuries), stem);
}

const char* PILLAR_CALL 取印库(Text stem) {
  return run_export<Export::取印库>(branch_from(kSealTreasuries), stem);
}

const char* PILLAR_CALL 取官禄(Text stem) {
  return run_export<Export::取官禄>(branch_from(kOfficeBranches), stem);
}

}  // namespace pillar
