// Seasonal strength: elements related by generation and control, the
// strength label of a ten god, and the stem commanding a day of its month.
#include <array>
#include <optional>

#include "seasonal_strength.h"

#include "calendar.h"
#include "frame.h"
#include "vocabulary.h"

namespace pillar {
namespace {

using namespace vocabulary;

// Steps along the element order (each generates the next and controls the
// one two places on) for modes 2 to 5: the generated, the generator, the
// controller, the controlled.
constexpr std::array<int, 4> kElementStepOfMode = {+1, -1, -2, +2};

HeapText related_element(Name element, Int mode) {
  if (mode == 1) return copy_text(element);
  if (mode < 2 || mode > 5) return {};
  int index = element_index(element);
  if (index == 0) return {};
  int related = cyclic_index(index + kElementStepOfMode[mode - 2] + 5, 5);
  return copy_text(kElements[related - 1]);
}

struct StrengthLabel {
  std::array<Name, 2> ten_gods;
  Name label;
};
const std::array<StrengthLabel, 4> kStrengthLabels = {{
    {{"比肩", "劫财"}, "【旺】"},
    {{"正印", "偏印"}, "【相】"},
    {{"伤官", "食神"}, "【休】"},
    {{"正财", "偏财"}, "【囚】"},
}};

// The officers and everything unrecognised have the empty label.
Name strength_label(Name ten_god) {
  for (const auto& entry : kStrengthLabels)
    for (Name name : entry.ten_gods)
      if (name == ten_god) return entry.label;
  return "";
}

// The commanders of each jie's month: each holds from its first day to the
// last day of its period; days beyond the last period have none.
struct CommanderPeriod {
  int last_day;
  Name stem;
};
struct JieCommanders {
  int jie;  // library number
  std::array<CommanderPeriod, 3> periods;
};
const std::array<JieCommanders, 12> kMonthCommanders = {{
    {1, {{{5, "戊土"}, {10, "丙火"}, {30, "甲木"}}}},          // 立春
    {3, {{{7, "甲木"}, {30, "乙木"}}}},                        // 惊蛰
    {5, {{{7, "乙木"}, {12, "壬水"}, {30, "戊土"}}}},          // 清明
    {7, {{{5, "戊土"}, {10, "庚金"}, {30, "丙火"}}}},          // 立夏
    {9, {{{7, "丙火"}, {30, "丁火"}}}},                        // 芒种
    {11, {{{7, "丁火"}, {12, "甲木"}, {30, "己土"}}}},         // 小暑
    {13, {{{5, "戊土(坤土)"}, {10, "壬水"}, {30, "庚金"}}}},   // 立秋
    {15, {{{7, "庚金"}, {30, "辛金"}}}},                       // 白露
    {17, {{{7, "辛金"}, {12, "丙火"}, {30, "戊土"}}}},         // 寒露
    {19, {{{5, "戊土"}, {10, "甲木"}, {30, "壬水"}}}},         // 立冬
    {21, {{{7, "壬水"}, {30, "癸水"}}}},                       // 大雪
    {23, {{{7, "癸水"}, {12, "庚金"}, {30, "己土"}}}},         // 小寒
}};

constexpr int kLongestJieMonth = 30;

}  // namespace

namespace seasonal_strength {

Name commander(int jie, int day_of_month) {
  if (day_of_month < 1) return {};
  for (const auto& commanders : kMonthCommanders) {
    if (commanders.jie != jie) continue;
    for (const auto& period : commanders.periods)
      if (day_of_month <= period.last_day) return period.stem;
  }
  return {};
}

}  // namespace seasonal_strength

namespace {

HeapText month_commander(Date date) {
  std::optional<calendar::Day> day = calendar::day_of(date);
  if (!day) return {};
  auto found = calendar::find_term_day(*day, -1, kLongestJieMonth - 1, calendar::is_jie);
  if (!found) return {};
  return copy_or_no_text(seasonal_strength::commander(found->number, found->steps + 1));
}

}  // namespace

const char* PILLAR_CALL 取旺相五行(Text element, Int mode) {
  return run_export<Export::取旺相五行>(related_element, element, mode);
}

const char* PILLAR_CALL 日主旺相(Text ten_god) {
  return run_export<Export::日主旺相>(
      [](Name name) { return copy_text(strength_label(name)); }, ten_god);
}

const char* PILLAR_CALL 取司令(Date day) {
  return run_export<Export::取司令>(month_commander, day);
}

}  // namespace pillar
