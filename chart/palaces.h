// The four palaces of a chart: 胎元, 胎息, 命宫 and 身宫, as pair numbers
// (0-59). Schools differ on the month 命宫 and 身宫 count from and on the
// stem of a palace in 子 or 丑; both are named options.
#pragma once

namespace pillar::chart {

// The month the palaces count: the month branch of the jie (every peer), or
// one branch on once the month's 中气 has passed (太阳过宫).
enum class PalaceMonth { Jie, ZhongQi };
// The stem of a palace: 五虎遁 from the year stem, continued past 亥 into 子
// and 丑 (甲年 丙子 丁丑), or 五鼠遁 (甲年 甲子 乙丑), two stems lower there.
enum class PalaceStem { TigerContinued, Rat };

struct PalaceNumbers {
  int fetal_origin, fetal_breath;
  int life = -1, body = -1;  // -1 when the hour is unknown
  bool operator==(const PalaceNumbers&) const = default;
};

// `month_branch` is the branch (0 子 … 11 亥) the palaces count from: the
// month pillar's, or the next one under PalaceMonth::ZhongQi after the 中气.
// `day_pair` is the day pillar of the chosen late-子 school; `hour_pair` -1
// when unknown.
PalaceNumbers palaces_of(int year_pair, int month_pair, int day_pair, int hour_pair, int month_branch,
                         PalaceStem stem_rule);

}  // namespace pillar::chart
