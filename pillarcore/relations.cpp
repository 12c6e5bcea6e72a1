// Combination, clash, harm, break and punishment of stems and branches: the
// seven predicates and the six partner lookups, over one set of pair tables.
#include <array>
#include <span>

#include "relations.h"

#include "frame.h"
#include "vocabulary.h"

namespace pillar {
namespace {

using vocabulary::Name;
using vocabulary::same_text;

// An unordered pair: the relation holds from either side.
struct Pair {
  Name a, b;
};
using PairTable = std::span<const Pair>;

const Pair kStemCombinations[] = {
    {"甲", "己"}, {"乙", "庚"}, {"丙", "辛"}, {"丁", "壬"}, {"戊", "癸"}};
// 戊 and 己 clash with nothing.
const Pair kStemClashes[] = {{"甲", "庚"}, {"乙", "辛"}, {"丙", "壬"}, {"丁", "癸"}};
const Pair kBranchClashes[] = {{"子", "午"}, {"丑", "未"}, {"寅", "申"},
                               {"卯", "酉"}, {"辰", "戌"}, {"巳", "亥"}};
const Pair kBranchHarms[] = {{"子", "未"}, {"丑", "午"}, {"寅", "巳"},
                             {"卯", "辰"}, {"申", "亥"}, {"酉", "戌"}};
const Pair kBranchCombinations[] = {{"子", "丑"}, {"寅", "亥"}, {"卯", "戌"},
                                    {"辰", "酉"}, {"巳", "申"}, {"午", "未"}};
const Pair kBranchBreaks[] = {{"子", "酉"}, {"丑", "辰"}, {"寅", "亥"},
                              {"卯", "午"}, {"申", "巳"}, {"未", "戌"}};
// 戌 punishes 丑 and 未, yet 丑-未 is no punishment; four branches punish
// themselves. 寅, 巳 and 申 are left to their group below.
const Pair kBranchPunishments[] = {{"子", "卯"}, {"丑", "戌"}, {"未", "戌"}, {"辰", "辰"},
                                   {"午", "午"}, {"酉", "酉"}, {"亥", "亥"}};
// Any two different members punish each other.
const std::array<Name, 3> kPunishmentGroup = {"寅", "巳", "申"};

bool stands_in(PairTable table, Name first, Name second) {
  for (const Pair& pair : table)
    if ((same_text(first, pair.a) && same_text(second, pair.b)) ||
        (same_text(first, pair.b) && same_text(second, pair.a)))
      return true;
  return false;
}

bool in_punishment_group(Name text) {
  for (Name member : kPunishmentGroup)
    if (same_text(member, text)) return true;
  return false;
}

// Every text occurs at most once in a partner table, so the first hit is the
// only one.
HeapText partner_in(PairTable table, Name text) {
  for (const Pair& pair : table) {
    if (same_text(text, pair.a)) return copy_text(pair.b);
    if (same_text(text, pair.b)) return copy_text(pair.a);
  }
  return {};
}

auto relation(PairTable table) {
  return [table](Name first, Name second) { return stands_in(table, first, second); };
}

auto partner(PairTable table) {
  return [table](Name text) { return partner_in(table, text); };
}

bool punish(Name a, Name b) {
  if (stands_in(kBranchPunishments, a, b)) return true;
  return !same_text(a, b) && in_punishment_group(a) && in_punishment_group(b);
}

}  // namespace

namespace relations {

bool holds(Relation relation, Name first, Name second) {
  switch (relation) {
    case Relation::StemCombination: return stands_in(kStemCombinations, first, second);
    case Relation::StemClash: return stands_in(kStemClashes, first, second);
    case Relation::BranchCombination: return stands_in(kBranchCombinations, first, second);
    case Relation::BranchClash: return stands_in(kBranchClashes, first, second);
    case Relation::BranchPunishment: return punish(first, second);
    case Relation::BranchHarm: return stands_in(kBranchHarms, first, second);
    case Relation::BranchBreak: return stands_in(kBranchBreaks, first, second);
  }
  return false;
}

}  // namespace relations

Int PILLAR_CALL 是否天干相合(Text first, Text second) {
  return run_export<Export::是否天干相合>(relation(kStemCombinations), first, second);
}

Int PILLAR_CALL 是否天干相冲(Text first, Text second) {
  return run_export<Export::是否天干相冲>(relation(kStemClashes), first, second);
}

Int PILLAR_CALL 是否地支相冲(Text first, Text second) {
  return run_export<Export::是否地支相冲>(relation(kBranchClashes), first, second);
}

Int PILLAR_CALL 是否地支相害(Text first, Text second) {
  return run_export<Export::是否地支相害>(relation(kBranchHarms), first, second);
}

Int PILLAR_CALL 是否地支相合(Text first, Text second) {
  return run_export<Export::是否地支相合>(relation(kBranchCombinations), first, second);
}

Int PILLAR_CALL 是否地支相破(Text first, Text second) {
  return run_export<Export::是否地支相破>(relation(kBranchBreaks), first, second);
}

Int PILLAR_CALL 是否地支相刑(Text first, Text second) {
  return run_export<Export::是否地支相刑>(punish, first, second);
}

const char* PILLAR_CALL 取干合(Text stem) {
  return run_export<Export::取干合>(partner(kStemCombinations), stem);
}

const char* PILLAR_CALL 取干冲(Text stem) {
  return run_export<Export::取干冲>(partner(kStemClashes), stem);
}

const char* PILLAR_CALL 取支合(Text branch) {
  return run_export<Export::取支合>(partner(kBranchCombinations), branch);
}

const char* PILLAR_CALL 取支冲(Text branch) {
  return run_export<Export::取支冲>(partner(kBranchClashes), branch);
}

const char* PILLAR_CALL 取支害(Text branch) {
  return run_export<Export::取支害>(partner(kBranchHarms), branch);
}

const char* PILLAR_CALL 取支破(Text branch) {
  return run_export<Export::取支破>(partner(kBranchBreaks), branch);
}

}  // namespace pillar
