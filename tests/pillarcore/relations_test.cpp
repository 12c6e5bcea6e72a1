// The relation predicates and the partner lookups.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "exports.h"
#include "malformed_texts.h"
#include "vocabulary.h"

namespace {

using namespace pillar;

using Predicate = Int (*)(Text, Text);
using Lookup = const char* (*)(Text);

std::vector<std::string> texts_of(auto names) { return {names.begin(), names.end()}; }

const std::vector<std::string> kStems = texts_of(vocabulary::kStems);
const std::vector<std::string> kBranches = texts_of(vocabulary::kBranches);

struct PredicateCase {
  const char* name;
  Predicate predicate;
  const std::vector<std::string>& kind;  // what it relates: stems or branches
  const std::vector<std::string>& other_kind;
  const char* sample_first;  // one pair that stands in the relation
  const char* sample_second;
};

const PredicateCase kPredicates[] = {
    {"是否天干相合", 是否天干相合, kStems, kBranches, "甲", "己"},
    {"是否天干相冲", 是否天干相冲, kStems, kBranches, "丁", "癸"},
    {"是否地支相冲", 是否地支相冲, kBranches, kStems, "巳", "亥"},
    {"是否地支相害", 是否地支相害, kBranches, kStems, "酉", "戌"},
    {"是否地支相合", 是否地支相合, kBranches, kStems, "午", "未"},
    {"是否地支相破", 是否地支相破, kBranches, kStems, "申", "巳"},
    {"是否地支相刑", 是否地支相刑, kBranches, kStems, "寅", "巳"},
};

TEST(RelationPredicates, AreSymmetricAndAnswerOnlyOneOrZero) {
  for (const auto& c : kPredicates) {
    std::vector<std::string> texts = c.kind;
    texts.insert(texts.end(), c.other_kind.begin(), c.other_kind.end());
    texts.insert(texts.end(), {"", "甲子", "子 "});
    for (const auto& a : texts) {
      for (const auto& b : texts) {
        Int forward = c.predicate(a.c_str(), b.c_str());
        EXPECT_TRUE(forward == 0 || forward == 1) << c.name;
        EXPECT_EQ(forward, c.predicate(b.c_str(), a.c_str())) << c.name << " " << a << " " << b;
      }
    }
  }
}

TEST(RelationPredicates, TheOtherKindOfCharacterNeverStandsInTheRelation) {
  for (const auto& c : kPredicates)
    for (const auto& a : c.other_kind)
      for (const auto& b : c.other_kind) EXPECT_EQ(c.predicate(a.c_str(), b.c_str()), 0) << c.name;
}

TEST(RelationPredicates, MalformedTextsOnEitherSideGiveZero) {
  for (const auto& c : kPredicates) {
    for (const char* bad : MalformedTexts(c.sample_first)) {
      EXPECT_EQ(c.predicate(bad, c.sample_second), 0) << c.name << " " << MalformedTexts::describe(bad);
      EXPECT_EQ(c.predicate(c.sample_second, bad), 0) << c.name << " " << MalformedTexts::describe(bad);
    }
    EXPECT_EQ(c.predicate(nullptr, nullptr), 0) << c.name;
  }
}

TEST(RelationPredicates, PairsHoldInEitherOrderAndOnlyAsListed) {
  EXPECT_EQ(是否天干相合("己", "甲"), 1);
  EXPECT_EQ(是否天干相合("甲", "甲"), 0);
  EXPECT_EQ(是否天干相冲("戊", "己"), 0);
  EXPECT_EQ(是否天干相冲("戊", "甲"), 0);
  EXPECT_EQ(是否地支相冲("亥", "巳"), 1);
  EXPECT_EQ(是否地支相冲("子", "子"), 0);
  EXPECT_EQ(是否地支相合("寅", "亥"), 1);
  EXPECT_EQ(是否地支相破("亥", "寅"), 1);
}

TEST(BranchPunishment, CombinesItsTableWithTheYinSiShenGroup) {
  EXPECT_EQ(是否地支相刑("辰", "辰"), 1);
  EXPECT_EQ(是否地支相刑("子", "子"), 0);
  EXPECT_EQ(是否地支相刑("未", "戌"), 1);
  EXPECT_EQ(是否地支相刑("戌", "丑"), 1);
  EXPECT_EQ(是否地支相刑("丑", "未"), 0);
  EXPECT_EQ(是否地支相刑("申", "寅"), 1);
  EXPECT_EQ(是否地支相刑("巳", "申"), 1);
  EXPECT_EQ(是否地支相刑("寅", "寅"), 0);
  EXPECT_EQ(是否地支相刑("卯", "子"), 1);
  // Self-punishment is exactly 辰, 午, 酉 and 亥.
  std::string self_punishing;
  for (const auto& branch : kBranches)
    if (是否地支相刑(branch.c_str(), branch.c_str())) self_punishing += branch;
  EXPECT_EQ(self_punishing, "辰午酉亥");
  // Three pairs of the table, four self-punishments, three pairs of the group.
  int holding = 0;
  for (const auto& a : kBranches)
    for (const auto& b : kBranches) holding += 是否地支相刑(a.c_str(), b.c_str());
  EXPECT_EQ(holding, 3 * 2 + 4 + 3 * 2);
  // The group rule applies to branches only, not to look-alike texts.
  EXPECT_EQ(是否地支相刑("寅", "巳 "), 0);
  EXPECT_EQ(是否地支相刑("寅巳", "申"), 0);
}

struct LookupCase {
  const char* name;
  Lookup lookup;
  Predicate predicate;  // the relation it shares its table with
  const std::vector<std::string>& kind;
  const std::vector<std::string>& other_kind;
  // The partner of each character of `kind`, in order; "" for none.
  std::vector<std::string> partners;
};

const LookupCase kLookups[] = {
    {"取干合", 取干合, 是否天干相合, kStems, kBranches,
     {"己", "庚", "辛", "壬", "癸", "甲", "乙", "丙", "丁", "戊"}},
    {"取干冲", 取干冲, 是否天干相冲, kStems, kBranches,
     {"庚", "辛", "壬", "癸", "", "", "甲", "乙", "丙", "丁"}},
    {"取支合", 取支合, 是否地支相合, kBranches, kStems,
     {"丑", "子", "亥", "戌", "酉", "申", "未", "午", "巳", "辰", "卯", "寅"}},
    {"取支冲", 取支冲, 是否地支相冲, kBranches, kStems,
     {"午", "未", "申", "酉", "戌", "亥", "子", "丑", "寅", "卯", "辰", "巳"}},
    {"取支害", 取支害, 是否地支相害, kBranches, kStems,
     {"未", "午", "巳", "辰", "卯", "寅", "丑", "子", "亥", "戌", "酉", "申"}},
    {"取支破", 取支破, 是否地支相破, kBranches, kStems,
     {"酉", "辰", "亥", "午", "丑", "申", "卯", "戌", "巳", "子", "未", "寅"}},
};

std::optional<std::string> lookup(Lookup function, const std::string& argument) {
  const char* result = function(argument.c_str());
  if (!result) return std::nullopt;
  return std::string(result);
}

TEST(PartnerLookups, GiveTheCompleteTables) {
  for (const auto& c : kLookups) {
    ASSERT_EQ(c.partners.size(), c.kind.size());
    for (std::size_t i = 0; i < c.kind.size(); ++i) {
      auto partner = lookup(c.lookup, c.kind[i]);
      if (c.partners[i].empty()) {
        EXPECT_EQ(partner, std::nullopt) << c.name << " " << c.kind[i];
      } else {
        EXPECT_EQ(partner, c.partners[i]) << c.name << " " << c.kind[i];
      }
    }
  }
}

TEST(PartnerLookups, APartnersPartnerIsTheArgument) {
  for (const auto& c : kLookups) {
    for (const auto& text : c.kind) {
      auto partner = lookup(c.lookup, text);
      if (partner) {
        EXPECT_EQ(lookup(c.lookup, *partner), text) << c.name << " " << text;
      }
    }
  }
}

TEST(PartnerLookups, AgreeWithTheirPredicates) {
  for (const auto& c : kLookups) {
    for (const auto& a : c.kind) {
      auto partner = lookup(c.lookup, a);
      for (const auto& b : c.kind)
        EXPECT_EQ(c.predicate(a.c_str(), b.c_str()), partner == b ? 1 : 0) << c.name << " " << a << " " << b;
    }
  }
}

TEST(PartnerLookups, RefuseTheOtherKindAndMalformedTexts) {
  for (const auto& c : kLookups) {
    for (const auto& text : c.other_kind) EXPECT_EQ(c.lookup(text.c_str()), nullptr) << c.name << " " << text;
    for (const char* bad : MalformedTexts(c.kind[0]))
      EXPECT_EQ(c.lookup(bad), nullptr) << c.name << " " << MalformedTexts::describe(bad);
  }
}

}  // namespace
