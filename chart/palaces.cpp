#include "palaces.h"

namespace pillar::chart {

namespace {

constexpr int wrap(int value, int cycle) { return (value % cycle + cycle) % cycle; }
constexpr int stem_of(int pair) { return pair % 10; }
constexpr int branch_of(int pair) { return pair % 12; }
// The pair of a stem and a branch of the same polarity.
constexpr int pair_of(int stem, int branch) { return wrap(6 * stem - 5 * branch, 60); }

constexpr int kYin = 2;  // 寅, where the months and 五虎遁 begin

// The stem of a palace in `branch` for a year with `year_stem`.
int palace_stem(int year_stem, int branch, PalaceStem rule) {
  if (rule == PalaceStem::Rat) return wrap(2 * (year_stem % 5) + branch, 10);
  // 五虎遁: 甲己 start 寅 with 丙, and the stems run on through 子 and 丑.
  return wrap(2 * (year_stem % 5) + 2 + wrap(branch - kYin, 12), 10);
}

}  // namespace

PalaceNumbers palaces_of(int year_pair, int month_pair, int day_pair, int hour_pair, int month_branch,
                         PalaceStem stem_rule) {
  PalaceNumbers p{};
  // 胎元: the month stem one on, the month branch three on.
  p.fetal_origin = pair_of(wrap(stem_of(month_pair) + 1, 10), wrap(branch_of(month_pair) + 3, 12));
  // 胎息: the partners of the day stem (五合) and the day branch (六合).
  p.fetal_breath = pair_of(wrap(stem_of(day_pair) + 5, 10), wrap(13 - branch_of(day_pair), 12));
  if (hour_pair < 0) return p;
  int hour_branch = branch_of(hour_pair);
  int month_number = wrap(month_branch - kYin, 12) + 1;  // 寅 1 … 丑 12
  int year_stem = stem_of(year_pair);
  // 命宫: months from 寅 = 1, hours from 寅 = 1; the palace counts back from 卯.
  int life_sum = month_number + wrap(hour_branch - kYin, 12) + 1;
  int life_number = (life_sum >= 14 ? 26 : 14) - life_sum;
  int life_branch = wrap(kYin + life_number - 1, 12);
  p.life = pair_of(palace_stem(year_stem, life_branch, stem_rule), life_branch);
  // 身宫: hours from 子 = 1, counted forward.
  int body_sum = month_number + hour_branch + 1;
  if (body_sum > 12) body_sum -= 12;
  int body_branch = wrap(kYin + body_sum - 1, 12);
  p.body = pair_of(palace_stem(year_stem, body_branch, stem_rule), body_branch);
  return p;
}

}  // namespace pillar::chart
