#include "chart_validity.h"

#include <cstring>

#include "character_index.h"
#include "frame.h"
#include "sexagenary.h"

namespace pillar::chart_validity {

using namespace vocabulary;

namespace {

// Stem i and stem i + 5 form a group: 甲己, 乙庚, 丙辛, 丁壬, 戊癸.
constexpr int kStemGroups = 5;

// The month pillars each year-stem group allows, 寅 month first.
const std::array<std::array<Name, 12>, kStemGroups> kMonthPillarsByYearStemGroup = {{
    {"丙寅", "丁卯", "戊辰", "己巳", "庚午", "辛未", "壬申", "癸酉", "甲戌", "乙亥", "丙子", "丁丑"},
    {"戊寅", "己卯", "庚辰", "辛巳", "壬午", "癸未", "甲申", "乙酉", "丙戌", "丁亥", "戊子", "己丑"},
    {"庚寅", "辛卯", "壬辰", "癸巳", "甲午", "乙未", "丙申", "丁酉", "戊戌", "己亥", "庚子", "辛丑"},
    {"壬寅", "癸卯", "甲辰", "乙巳", "丙午", "丁未", "戊申", "己酉", "庚戌", "辛亥", "壬子", "癸丑"},
    {"甲寅", "乙卯", "丙辰", "丁巳", "戊午", "己未", "庚申", "辛酉", "壬戌", "癸亥", "甲子", "乙丑"},
}};

// The hour pillars each day-stem group allows: the early and the late 子
// hour, then 丑 to 亥.
const std::array<std::array<Name, 13>, kStemGroups> kHourPillarsByDayStemGroup = {{
    {"甲子", "丙子", "乙丑", "丙寅", "丁卯", "戊辰", "己巳", "庚午", "辛未", "壬申", "癸酉", "甲戌", "乙亥"},
    {"丙子", "戊子", "丁丑", "戊寅", "己卯", "庚辰", "辛巳", "壬午", "癸未", "甲申", "乙酉", "丙戌", "丁亥"},
    {"戊子", "庚子", "己丑", "庚寅", "辛卯", "壬辰", "癸巳", "甲午", "乙未", "丙申", "丁酉", "戊戌", "己亥"},
    {"庚子", "壬子", "辛丑", "壬寅", "癸卯", "甲辰", "乙巳", "丙午", "丁未", "戊申", "己酉", "庚戌", "辛亥"},
    {"壬子", "甲子", "癸丑", "甲寅", "乙卯", "丙辰", "丁巳", "戊午", "己未", "庚申", "辛酉", "壬戌", "癸亥"},
}};

// A pillar's text, the stem's bytes followed by the branch's. Only a join of
// two one-character texts can be a pair; any other join stays empty, which no
// table holds.
class Pillar {
 public:
  Pillar(Name stem, Name branch) {
    if (stem.size() != 2 || branch.size() != 2) return;
    stem.copy(bytes_, 2);
    branch.copy(bytes_ + 2, 2);
    size_ = 4;
  }
  Name text() const { return Name(bytes_, size_); }

 private:
  char bytes_[4] = {};
  std::size_t size_ = 0;
};

int stem_group(Name stem) {
  int index = character_index::stem_number(stem);
  return index ? cyclic_index(index, kStemGroups) : 0;
}

// Every entry is a four-byte pair; comparing a fixed size keeps the scan
// free of calls.
template <std::size_t N>
bool holds(const std::array<Name, N>& allowed, Name pillar) {
  if (pillar.size() != 4) return false;
  for (Name entry : allowed)
    if (std::memcmp(entry.data(), pillar.data(), 4) == 0) return true;
  return false;
}

}  // namespace

bool is_possible_chart(const Chart& chart) {
  const Pillar pillars[4] = {{chart[0], chart[1]}, {chart[2], chart[3]},
                             {chart[4], chart[5]}, {chart[6], chart[7]}};
  bool possible = true;
  for (const Pillar& pillar : pillars) {
    if (sexagenary::nayin_name(pillar.text()).empty()) {
      possible = false;
      break;
    }
  }
  if (int group = stem_group(chart[0]))
    possible &= holds(kMonthPillarsByYearStemGroup[group - 1], pillars[1].text());
  if (int group = stem_group(chart[4]))
    possible &= holds(kHourPillarsByDayStemGroup[group - 1], pillars[3].text());
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
