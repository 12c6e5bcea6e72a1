// The twelve growth phases of a stem through the branches. Both exports walk
// the same cycle, so a stem's phase k is always the k-th branch of its list.
#include <array>

#include "growth.h"

#include "frame.h"
#include "vocabulary.h"

namespace pillar {
namespace {

using namespace vocabulary;

// Every name is two characters wide: the one-character ones are padded.
const std::array<Name, 12> kGrowthPhases = {"长生", "沐浴", "冠带", "临官", "帝旺", " 衰 ",
                                            " 病 ", " 死 ", " 墓 ", " 绝 ", " 胎 ", " 养 "};

// The branch of phase 1 in each stem's own cycle, in stem order. Earth
// follows fire: 戊 is born where 丙 is, 己 where 丁 is.
constexpr std::array<Name, 10> kBirthBranches = {"亥", "午", "寅", "酉", "寅",
                                             "酉", "巳", "子", "申", "卯"};

// Where a stem's cycle starts (branch index) and which way it runs.
struct Cycle {
  int birth_branch;
  int step;
};

// Resolved when the library is compiled: the phase lookup is called often.
constexpr std::array<int, 10> kBirthBranchIndexes = [] {
  std::array<int, 10> indexes{};
  for (std::size_t i = 0; i < indexes.size(); ++i) indexes[i] = branch_index(kBirthBranches[i]);
  return indexes;
}();

// Mode 1 gives yin stems their own backward cycle; any other mode lends them
// the forward cycle of the yang stem of their element.
constexpr Cycle cycle_of(int stem, Int mode) {
  bool yang = stem % 2 == 1;
  int owner = yang || mode == 1 ? stem : stem - 1;
  return {kBirthBranchIndexes[owner - 1], yang || mode != 1 ? 1 : -1};
}

constexpr int wrap_to_twelve(int value) { return ((value % 12) + 12) % 12; }

// 1-12.
constexpr int phase_in(Cycle cycle, int branch) {
  return wrap_to_twelve((branch - cycle.birth_branch) * cycle.step) + 1;
}

// 1-12.
constexpr int branch_of_phase(Cycle cycle, int phase) {
  return wrap_to_twelve(cycle.birth_branch - 1 + (phase - 1) * cycle.step) + 1;
}

// The branches of phases 1 to 12 of each stem, for mode 1 ([1]) and any
// other mode ([0]), composed when the library is compiled.
using BranchList = std::array<char, 12 * 2>;
constexpr std::array<std::array<BranchList, 10>, 2> kBranchLists = [] {
  std::array<std::array<BranchList, 10>, 2> lists{};
  for (int mode = 0; mode <= 1; ++mode)
    for (int stem = 1; stem <= 10; ++stem) {
      Cycle cycle = cycle_of(stem, mode);
      BranchList& list = lists[mode][stem - 1];
      std::size_t end = 0;
      for (int phase = 1; phase <= 12; ++phase)
        for (char byte : kBranches[branch_of_phase(cycle, phase) - 1]) list[end++] = byte;
    }
  return lists;
}();

ResultText growth_phase(Name stem_text, Name branch_text, Int mode) {
  return copy_or_no_text(growth::phase_name(stem_index(stem_text), branch_index(branch_text), mode));
}

ResultText branches_of_phases(Name stem_text, Int mode) {
  int stem = stem_index(stem_text);
  if (!stem) return {};
  const BranchList& list = kBranchLists[mode == 1 ? 1 : 0][stem - 1];
  return copy_text(Name(list.data(), list.size()));
}

}  // namespace

namespace growth {

Name phase_name(int stem, int branch, int mode) {
  if (stem < 1 || stem > 10 || branch < 1 || branch > 12) return {};
  return kGrowthPhases[phase_in(cycle_of(stem, mode), branch) - 1];
}

}  // namespace growth

const char* PILLAR_CALL 取旺衰状态(Text stem, Text branch, Int mode) {
  return run_export<Export::取旺衰状态>(growth_phase, stem, branch, mode);
}

const char* PILLAR_CALL 取旺衰对应地支(Text stem, Int mode) {
  return run_export<Export::取旺衰对应地支>(branches_of_phases, stem, mode);
}

}  // namespace pillar
