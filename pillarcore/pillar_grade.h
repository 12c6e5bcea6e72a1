// The grade of a pillar: a fixed property of each of the sixty pairs.
#pragma once

#include <array>
#include <span>

#include "vocabulary.h"

namespace pillar::pillar_grade {

struct Grade {
  vocabulary::Name name;
  std::span<const vocabulary::Name> pairs;
};

// 上等, 中等 and 下等 with their pairs; every pair belongs to exactly one.
extern const std::array<Grade, 3> kGrades;

// The index in kGrades of the grade holding `text`, or -1.
int grade_of_pair(vocabulary::Name text);

}  // namespace pillar::pillar_grade
