// The grade of a pillar.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "exports.h"
#include "malformed_texts.h"
#include "pillar_grade.h"
#include "vocabulary.h"

namespace {

using namespace pillar;

std::string text_or_null(const char* text) { return text ? text : "(no text)"; }

TEST(PillarGrade, TableHolds21And26And13PairsCoveringAllSixtyOnce) {
  const auto& grades = pillar_grade::kGrades;
  EXPECT_EQ(grades[0].name, "上等");
  EXPECT_EQ(grades[0].pairs.size(), 21u);
  EXPECT_EQ(grades[1].name, "中等");
  EXPECT_EQ(grades[1].pairs.size(), 26u);
  EXPECT_EQ(grades[2].name, "下等");
  EXPECT_EQ(grades[2].pairs.size(), 13u);
  std::map<vocabulary::Name, int> occurrences;
  for (const auto& grade : grades)
    for (auto pair : grade.pairs) ++occurrences[pair];
  EXPECT_EQ(occurrences.size(), 60u);
  for (auto pair : vocabulary::kSixtyPairs) EXPECT_EQ(occurrences[pair], 1) << pair;
}

TEST(PillarGrade, EveryPairHasItsGrade) {
  EXPECT_EQ(text_or_null(取八字等级("甲子")), "上等");
  EXPECT_EQ(text_or_null(取八字等级("乙丑")), "中等");
  EXPECT_EQ(text_or_null(取八字等级("癸亥")), "下等");
  EXPECT_EQ(text_or_null(取八字等级("庚午")), "上等");
  EXPECT_EQ(text_or_null(取八字等级("庚戌")), "中等");
  EXPECT_EQ(text_or_null(取八字等级("壬申")), "下等");
  std::map<std::string, int> per_grade;
  for (auto pair : vocabulary::kSixtyPairs) ++per_grade[text_or_null(取八字等级(std::string(pair).c_str()))];
  EXPECT_EQ(per_grade, (std::map<std::string, int>{{"上等", 21}, {"中等", 26}, {"下等", 13}}));
}

TEST(PillarGrade, AnythingButOnePairHasNoGrade) {
  for (const char* text : {"甲", "子", "子甲", "甲丑", "上等"}) EXPECT_EQ(取八字等级(text), nullptr) << text;
  for (const char* bad : MalformedTexts("甲子"))
    EXPECT_EQ(取八字等级(bad), nullptr) << MalformedTexts::describe(bad);
}

}  // namespace
