// The grade of a pillar.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
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
  const struct {
    const char* grade;
    const char* pairs;
  } kGradeLists[] = {
      {"上等", "甲子 戊辰 庚午 丙子 庚辰 辛巳 壬午 丁亥 戊子 癸巳 丁酉 己亥 癸卯 乙巳 己酉 甲寅 乙卯 丙辰 庚申 辛酉 壬戌"},
      {"中等", "乙丑 丙寅 丁卯 己巳 辛未 甲戌 乙亥 丁丑 戊寅 癸未 丙戌 己丑 庚寅 壬辰 甲午 乙未 丙申 戊戌 辛丑 "
               "壬寅 甲辰 丁未 庚戌 辛亥 癸丑 己未"},
      {"下等", "壬申 癸酉 己卯 甲申 乙酉 辛卯 庚子 丙午 戊申 壬子 丁巳 戊午 癸亥"},
  };
  std::map<std::string, std::string> grade_of;
  for (const auto& list : kGradeLists) {
    std::istringstream pairs(list.pairs);
    for (std::string pair; pairs >> pair;) grade_of[pair] = list.grade;
  }
  ASSERT_EQ(grade_of.size(), 60u);
  for (auto pair : vocabulary::kSixtyPairs) {
    std::string text(pair);
    EXPECT_EQ(text_or_null(取八字等级(text.c_str())), grade_of[text]) << text;
  }
}

TEST(PillarGrade, AnythingButOnePairHasNoGrade) {
  for (const char* text : {"甲", "子", "子甲", "甲丑", "上等"}) EXPECT_EQ(取八字等级(text), nullptr) << text;
  for (const char* bad : MalformedTexts("甲子"))
    EXPECT_EQ(取八字等级(bad), nullptr) << MalformedTexts::describe(bad);
}

}  // namespace
