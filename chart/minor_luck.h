// 小运: the hour pillar stepped one pair a year of 虚岁 age, in the direction
// of the luck pillars (the rule of every peer that has it).
#pragma once

namespace pillar::chart {

// The 小运 pair (0-59) at 虚岁 `age` (1 = the year of birth).
constexpr int minor_luck_pair(int hour_pair, bool forward, int age) {
  int step = forward ? age : -age;
  return ((hour_pair + step) % 60 + 60) % 60;
}

}  // namespace pillar::chart
