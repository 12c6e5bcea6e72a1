#include "pillar_grade.h"

#include "frame.h"

namespace pillar::pillar_grade {
namespace {

using vocabulary::Name;

constexpr Name kUpperGradePairs[] = {"甲子", "戊辰", "庚午", "丙子", "庚辰", "辛巳", "壬午",
                                 "丁亥", "戊子", "癸巳", "丁酉", "己亥", "癸卯", "乙巳",
                                 "己酉", "甲寅", "乙卯", "丙辰", "庚申", "辛酉", "壬戌"};
constexpr Name kMiddleGradePairs[] = {"乙丑", "丙寅", "丁卯", "己巳", "辛未", "甲戌", "乙亥",
                                  "丁丑", "戊寅", "癸未", "丙戌", "己丑", "庚寅", "壬辰",
                                  "甲午", "乙未", "丙申", "戊戌", "辛丑", "壬寅", "甲辰",
                                  "丁未", "庚戌", "辛亥", "癸丑", "己未"};
constexpr Name kLowerGradePairs[] = {"壬申", "癸酉", "己卯", "甲申", "乙酉", "辛卯", "庚子",
                                 "丙午", "戊申", "壬子", "丁巳", "戊午", "癸亥"};

// The grade (0-2 in kGrades order, -1 for none) of each pair number, fixed
// when the library is compiled; every entry is a pair, so a text has the
// grade of its pair number.
constexpr std::array<int, 61> kGradeOfPairNumber = [] {
  std::array<int, 61> grades{};
  grades.fill(-1);
  const std::span<const Name> lists[3] = {kUpperGradePairs, kMiddleGradePairs, kLowerGradePairs};
  for (int grade = 2; grade >= 0; --grade)
    for (Name pair : lists[grade]) grades[vocabulary::pair_number(pair)] = grade;
  return grades;
}();
static_assert(kGradeOfPairNumber[0] == -1, "every graded text is one of the sixty pairs");

}  // namespace

int grade_of_pair(vocabulary::Name text) {
  return kGradeOfPairNumber[vocabulary::pair_number(text)];
}

const std::array<Grade, 3> kGrades = {{
    {"上等", kUpperGradePairs},
    {"中等", kMiddleGradePairs},
    {"下等", kLowerGradePairs},
}};

}  // namespace pillar::pillar_grade

namespace pillar {

// Anything but one of the sixty pairs, written stem first, has no grade.
const char* PILLAR_CALL 取八字等级(Text pillar) {
  return run_export<Export::取八字等级>(
      [](vocabulary::Name text) -> ResultText {
        int grade = pillar_grade::grade_of_pair(text);
        return grade < 0 ? ResultText() : copy_text(pillar_grade::kGrades[grade].name);
      },
      pillar);
}

}  // namespace pillar
