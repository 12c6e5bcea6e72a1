#include "cycle_facts.h"

#include "growth.h"
#include "relations.h"
#include "sexagenary.h"
#include "ten_gods.h"
#include "texts.h"
#include "vocabulary.h"

namespace pillar::chart::facts {

namespace {

using vocabulary::Name;

constexpr relations::Relation kRelations[kRelationKindCount] = {
    relations::Relation::StemCombination,   relations::Relation::StemClash,
    relations::Relation::BranchCombination, relations::Relation::BranchClash,
    relations::Relation::BranchPunishment,  relations::Relation::BranchHarm,
    relations::Relation::BranchBreak,
};
// 合 冲 合 冲 刑 害 破, written as GBK like pillarcore's own texts.
constexpr Name kRelationNames[kRelationKindCount] = {"\xBA\xCF", "\xB3\xE5", "\xBA\xCF", "\xB3\xE5",
                                                     "\xD0\xCC", "\xBA\xA6", "\xC6\xC6"};

// Ten gods judge by the main hidden stem; yin stems grow on their own cycle
// (the modes the chart's analysis uses).
constexpr int kTenGodMode = 0;
constexpr int kGrowthMode = 1;

std::string trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

CycleFacts read_facts() {
  CycleFacts f;
  const auto& stems = vocabulary::kStems;
  const auto& branches = vocabulary::kBranches;
  // Phase numbers: 甲 is born (长生) in 亥 and steps one phase a branch.
  constexpr int kJiaBirth = 11;
  for (int k = 0; k < 12; ++k)
    f.phase_names[k] = trimmed(utf8_of(growth::phase_name(1, (kJiaBirth + k) % 12 + 1, kGrowthMode)));
  for (int s = 0; s < 10; ++s)
    for (int b = 0; b < 12; ++b) {
      std::string name = trimmed(utf8_of(growth::phase_name(s + 1, b + 1, kGrowthMode)));
      for (int k = 0; k < 12; ++k)
        if (f.phase_names[k] == name) f.phase[s][b] = static_cast<std::uint8_t>(k);
    }
  for (int day = 0; day < 10; ++day)
    for (int s = 0; s < 10; ++s) {
      Name god = ten_gods::ten_god(stems[day], stems[s], kTenGodMode);
      for (int i = 0; i < 10; ++i)
        if (vocabulary::same_text(god, ten_gods::kTenGodNames[i])) f.ten_god[day][s] = static_cast<std::uint8_t>(i);
    }
  for (int b = 0; b < 12; ++b) {
    Name all = ten_gods::hidden_stems(b + 1);
    for (std::size_t i = 0; i + 2 <= all.size() && f.hidden_count[b] < 3; i += 2)
      f.hidden[b][f.hidden_count[b]++] = static_cast<std::uint8_t>(vocabulary::stem_index(all.substr(i, 2)) - 1);
  }
  for (int k = 0; k < kRelationKindCount; ++k) {
    f.relation_names[k] = utf8_of(kRelationNames[k]);
    int size = of_stems(k) ? 10 : 12;
    for (int a = 0; a < size; ++a)
      for (int b = 0; b < size; ++b) {
        if (of_stems(k) && relations::holds(kRelations[k], stems[a], stems[b])) f.stem_relations[a][b] |= 1u << k;
        if (!of_stems(k) && relations::holds(kRelations[k], branches[a], branches[b]))
          f.branch_relations[a][b] |= 1u << k;
      }
  }
  for (int pair = 0; pair < 60; ++pair) {
    Name text = sexagenary::void_branches(vocabulary::kSixtyPairs[pair]);  // "戌、亥"
    f.void_branches[pair] = {static_cast<std::uint8_t>(vocabulary::branch_index(text.substr(0, 2)) - 1),
                             static_cast<std::uint8_t>(vocabulary::branch_index(text.substr(text.size() - 2)) - 1)};
  }
  return f;
}

}  // namespace

const CycleFacts& cycle_facts() {
  static const CycleFacts facts = read_facts();
  return facts;
}

}  // namespace pillar::chart::facts
