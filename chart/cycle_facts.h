// pillarcore's sexagenary tables read once into small numbers: ten gods,
// growth phases, hidden stems, relations and void branches by index, so that
// the chart parts index arrays and make texts only at the edge. Every fact
// still comes from pillarcore; nothing here is written a second time.
// Indices are 0-based: stems 0-9 (甲 …), branches 0-11 (子 …), pairs 0-59
// (甲子 …), ten gods in ten_gods::kTenGodNames order, phases 0 长生 … 11 养.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pillar::chart::facts {

constexpr int stem_of(int pair) { return pair % 10; }
constexpr int branch_of(int pair) { return pair % 12; }
// The pair of a stem and a branch of the same polarity.
constexpr int pair_of(int stem, int branch) { return (6 * stem - 5 * branch + 60) % 60; }
constexpr int wrap(int value, int cycle) { return (value % cycle + cycle) % cycle; }

// The relations the chart reports, in the order they are listed.
enum RelationKind : std::uint8_t {
  kStemCombination, kStemClash,
  kBranchCombination, kBranchClash, kBranchPunishment, kBranchHarm, kBranchBreak,
  kRelationKindCount
};
constexpr bool of_stems(int kind) { return kind <= kStemClash; }

struct CycleFacts {
  std::array<std::array<std::uint8_t, 10>, 10> ten_god{};  // [day stem][stem]
  std::array<std::array<std::uint8_t, 12>, 10> phase{};    // [stem][branch], yin stems on their own cycle
  std::array<std::array<std::uint8_t, 3>, 12> hidden{};    // main stem first
  std::array<std::uint8_t, 12> hidden_count{};
  std::array<std::array<std::uint8_t, 10>, 10> stem_relations{};    // bit k: RelationKind k holds
  std::array<std::array<std::uint8_t, 12>, 12> branch_relations{};
  std::array<std::array<std::uint8_t, 2>, 60> void_branches{};      // of each pair's decade
  // UTF-8 names for the edge.
  std::array<std::string, 12> phase_names;       // 长生 … 养
  std::array<std::string, kRelationKindCount> relation_names;  // 合 冲 合 冲 刑 害 破
};

const CycleFacts& cycle_facts();

}  // namespace pillar::chart::facts
