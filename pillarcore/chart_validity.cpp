#include "chart_validity.h"

#include "vocabulary.h"
#include "frame.h"

namespace pillar::chart_validity {

using namespace vocabulary;

namespace {

// Stem i and stem i + 5 form a group: 甲己, 乙庚, 丙辛, 丁壬, 戊癸.
constexpr int kStemGroups = 5;

// The month pillars each year-stem group allows, 寅 month first.
constexpr std::array<std::array<Name, 12>, kStemGroups> kMonthPillarsByYearStemGroup = {{
    {"丙寅", "丁卯", "戊辰", "己巳", "庚午", "辛未", "壬申", "癸酉", "甲戌", "乙亥", "丙子", "丁丑"},
    {"戊寅", "己卯", "庚辰", "辛巳", "壬午", "癸未", "甲申", "乙酉", "丙戌", "丁亥", "戊子", "己丑"},
    {"庚寅", "辛卯", "壬辰", "癸巳", "甲午", "乙未", "丙申", "丁酉", "戊戌", "己亥", "庚子", "辛丑"},
    {"壬寅", "癸卯", "甲辰", "乙巳", "丙午", "丁未", "戊申", "己酉", "庚戌", "辛亥", "壬子", "癸丑"},
    {"甲寅", "乙卯", "丙辰", "丁巳", "戊午", "己未", "庚申", "辛酉", "壬戌", "癸亥", "甲子", "乙丑"},
}};

// The hour pillars each day-stem group allows: the early and the late 子
// hour, then 丑 to 亥.
constexpr std::array<std::array<Name, 13>, kStemGroups> kHourPillarsByDayStemGroup = {{
    {"甲子", "丙子", "乙丑", "丙寅", "丁卯", "戊辰", "己巳", "庚午", "辛未", "壬申", "癸酉", "甲戌", "乙亥"},
    {"丙子", "戊子", "丁丑", "戊寅", "己卯", "庚辰", "辛巳", "壬午", "癸未", "甲申", "乙酉", "丙戌", "丁亥"},
    {"戊子", "庚子", "己丑", "庚寅", "辛卯", "壬辰", "癸巳", "甲午", "乙未", "丙申", "丁酉", "戊戌", "己亥"},
    {"庚子", "壬子", "辛丑", "壬寅", "癸卯", "甲辰", "乙巳", "丙午", "丁未", "戊申", "己酉", "庚戌", "辛亥"},
    {"壬子", "甲子", "癸丑", "甲寅", "乙卯", "丙辰", "丁巳", "戊午", "己未", "庚申", "辛酉", "壬戌", "癸亥"},
}};

int stem_group(Name stem) {
  int index = stem_index(stem);
  return index ? cyclic_index(index, kStemGroups) : 0;
}

// The allowed lists as pair numbers, fixed when the library is compiled:
// every entry is one of the sixty pairs, and two pairs are the same text
// exactly when their numbers are equal.
template <std::size_t N>
constexpr auto pair_numbers_of(const std::array<std::array<Name, N>, kStemGroups>& lists) {
  std::array<std::array<int, N>, kStemGroups> numbers{};
  for (int group = 0; group < kStemGroups; ++group)
    for (std::size_t i = 0; i < N; ++i) numbers[group][i] = pair_number(lists[group][i]);
  return numbers;
}
constexpr auto kMonthPillarNumbers = pair_numbers_of(kMonthPillarsByYearStemGroup);
constexpr auto kHourPillarNumbers = pair_numbers_of(kHourPillarsByDayStemGroup);
static_assert([] {
  for (const auto& list : kMonthPillarNumbers)
    for (int number : list)
      if (!number) return false;
  for (const auto& list : kHourPillarNumbers)
    for (int number : list)
      if (!number) return false;
  return true;
}(), "every allowed pillar is a pair");

template <std::size_t N>
bool holds(const std::array<int, N>& allowed, int pair_number) {
  for (int entry : allowed)
    if (entry == pair_number) return true;
  return false;
}

}  // namespace

// A pillar is the stem's bytes followed by the branch's: only the joined text
// counts, however it splits. It has a Nayin name exactly when it is one of
// the sixty pairs, so its pair number (0 for none) answers both questions.
bool is_possible_chart(const Chart& chart) {
  int numbers[4];
  bool possible = true;
  for (int pillar = 0; pillar < 4; ++pillar) {
    numbers[pillar] = joined_pair_number(chart[2 * pillar], chart[2 * pillar + 1]);
    possible &= numbers[pillar] != 0;
  }
  if (int group = stem_group(chart[0]))
    possible &= holds(kMonthPillarNumbers[group - 1], numbers[1]);
  if (int group = stem_group(chart[4]))
    possible &= holds(kHourPillarNumbers[group - 1], numbers[3]);
  return possible;
}

}  // namespace pillar::chart_validity

namespace pillar {

Int PILLAR_CALL 八字是否正确(Text year_stem, Text year_branch, Text month_stem, Text month_branch,
                             Text day_stem, Text day_branch, Text hour_stem, Text hour_branch) {
  return run_export<Export::八字是否正确>(
      [](auto... texts) { return chart_validity::is_possible_chart({texts...}); }, year_stem,
      year_branch, month_stem, month_branch, day_stem, day_branch, hour_stem, hour_branch);
}

}  // namespace pillar
