// The vocabulary a chart is written in: everything the analysis and the
// luck look up, asked once of pillarcore's routines and kept in UTF-8, so
// that a chart is indexing only.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "relations.h"

namespace pillar::chart::detail {

constexpr int stem_of(int pair) { return pair % 10 + 1; }    // 1-10
constexpr int branch_of(int pair) { return pair % 12 + 1; }  // 1-12

// The relations a chart lists, in the order it lists them.
struct RelationKind {
  relations::Relation relation;
  const char* name;
  bool of_stems;
};
inline constexpr std::array<RelationKind, 7> kRelationKinds = {{
    {relations::Relation::StemCombination, "合", true},
    {relations::Relation::StemClash, "冲", true},
    {relations::Relation::BranchCombination, "合", false},
    {relations::Relation::BranchClash, "冲", false},
    {relations::Relation::BranchPunishment, "刑", false},
    {relations::Relation::BranchHarm, "害", false},
    {relations::Relation::BranchBreak, "破", false},
}};

struct Lexicon {
  std::array<std::string, 10> stems;
  std::array<std::string, 12> branches;
  std::array<std::string, 5> elements;
  std::array<std::string, 10> ten_gods;
  std::array<std::string, 60> nayin, grade, void_branches;
  std::array<std::array<int, 10>, 10> ten_god_of{};    // [day stem][stem]: index into ten_gods
  std::array<std::array<std::string, 12>, 10> growth;  // [day stem][branch]
  std::array<std::vector<int>, 12> hidden;             // stems (1-10) hidden in each branch
  std::array<int, 10> stem_element{};                  // 0-4
  std::array<int, 12> branch_element{};
  // Bit k: kRelationKinds[k] holds between the two.
  std::array<std::array<unsigned, 10>, 10> stem_relations{};
  std::array<std::array<unsigned, 12>, 12> branch_relations{};
  std::array<std::array<std::string, 3>, 10> treasuries;  // wealth, seal, office

  Lexicon();
};

const Lexicon& lexicon();

// The ten god of `stem` (1-10) seen from the day stem of `day_pair`.
const std::string& ten_god_text(int day_pair, int stem);

// `to` = `from`, keeping the storage of a reused chart's string.
void set_text(std::string& to, std::string_view from);

}  // namespace pillar::chart::detail
