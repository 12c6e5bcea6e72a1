#include "report.h"

#include <string_view>

namespace pairview {

const std::array<const char*, 10> kStemTexts = {"甲", "乙", "丙", "丁", "戊",
                                                "己", "庚", "辛", "壬", "癸"};
const std::array<const char*, 12> kBranchTexts = {"子", "丑", "寅", "卯", "辰", "巳",
                                                  "午", "未", "申", "酉", "戌", "亥"};
const char* const kChart1InvalidText = "八字一错误！";
const char* const kChart2InvalidText = "八字二错误！";
const char* const kInvalidChartTitle = "错误！";

namespace {

// Indexes into a Chart.
constexpr int kDayStem = 4;

// The eight positions in chart order, with their lines in the two position
// sections.
struct PositionLabels {
  const char* same_text;
  const char* same_element;
};
const std::array<PositionLabels, 8> kPositionLabels = {{
    {"    年干相同，均为", "    年干五行相同，均为"},
    {"    年支相同，均为", "    年支五行相同，均为"},
    {"    月干相同，均为", "    月干五行相同，均为"},
    {"    月支相同，均为", "    月支五行相同，均为"},
    {"    日干相同，均为", "    日干五行相同，均为"},
    {"    日支相同，均为", "    日支五行相同，均为"},
    {"    时干相同，均为", "    时干五行相同，均为"},
    {"    时支相同，均为", "    时支五行相同，均为"},
}};

// The seven ten-god positions (the day stem is the reference, so it is left
// out): chart index and label. The first three are stem positions.
struct TenGodPosition {
  int chart_index;
  const char* label;
};
const std::array<TenGodPosition, 7> kTenGodPositions = {{
    {0, "年干"}, {2, "月干"}, {6, "时干"}, {1, "年支"}, {3, "月支"}, {5, "日支"}, {7, "时支"},
}};
constexpr int kTenGodStemPositions = 3;

const std::array<const char*, 5> kElementOrder = {"金", "水", "木", "火", "土"};
const std::array<const char*, 10> kTenGodOrder = {"正官", "偏官", "正财", "偏财", "正印",
                                                  "偏印", "伤官", "食神", "劫财", "比肩"};

const char* const kNothingCommon = "无\r\n";

// The first name in the table equal to the text gets one more; a text that
// matches none is not counted.
template <std::size_t N, typename Counter>
void tally(const std::array<const char*, N>& names, std::string_view text,
           std::array<Counter, N>& counters) {
  for (std::size_t i = 0; i < N; ++i)
    if (text == names[i]) {
      ++counters[i];
      return;
    }
}

std::string sex_line(const FormReader& form) {
  int first = form.sex(1), second = form.sex(2);
  if (first == second && first == 0) return "    均未知";
  if (first == second && first == 1) return "    均为男";
  if (first == second && first == 2) return "    均为女";
  return "    不同";
}

std::string same_texts(const FormReader& form) {
  Chart one = form.chart(1), two = form.chart(2);
  std::string text;
  for (int i = 0; i < 8; ++i)
    if (one[i] == two[i]) text += kPositionLabels[i].same_text + one[i] + "\r\n";
  return text.empty() ? kNothingCommon : text;
}

std::string same_counts(const FormReader& form, ChartLibrary& library) {
  Chart one = form.chart(1), two = form.chart(2);
  std::string text;
  auto scan = [&](const char* kind, const auto& characters) {
    for (const char* character : characters) {
      int count = library.count(one, character);
      if (count != 0 && count == library.count(two, character))
        text += std::string(kind) + character + "数量相同，均为" + std::to_string(count) + "\r\n";
    }
  };
  scan("    天干", kStemTexts);
  scan("    地支", kBranchTexts);
  return text.empty() ? kNothingCommon : text;
}

std::string same_elements(const FormReader& form, ChartLibrary& library) {
  Chart one = form.chart(1), two = form.chart(2);
  std::string text;
  for (int i = 0; i < 8; ++i) {
    std::string first = library.element(one[i]);
    if (first == library.element(two[i]))
      text += kPositionLabels[i].same_element + first + "\r\n";
  }
  return text.empty() ? kNothingCommon : text;
}

// Stem lines, branch lines and whole-chart lines, each block followed by an
// empty line once anything has been written.
template <std::size_t N, typename Counter>
std::string equal_count_blocks(const std::array<const char*, N>& names,
                               const std::array<Counter, N>& stems1,
                               const std::array<Counter, N>& branches1,
                               const std::array<Counter, N>& stems2,
                               const std::array<Counter, N>& branches2,
                               const char* stem_prefix, const char* branch_prefix,
                               const char* chart_prefix) {
  std::string text;
  auto line = [&](const char* prefix, const char* name, long long count) {
    text += std::string(prefix) + name + "数量相同，均为" + std::to_string(count) + "\r\n";
  };
  for (std::size_t i = 0; i < N; ++i)
    if (stems1[i] == stems2[i]) line(stem_prefix, names[i], stems1[i]);
  if (!text.empty()) text += "\r\n";
  for (std::size_t i = 0; i < N; ++i)
    if (branches1[i] == branches2[i]) line(branch_prefix, names[i], branches1[i]);
  if (!text.empty()) text += "\r\n";
  for (std::size_t i = 0; i < N; ++i) {
    long long sum1 = static_cast<long long>(stems1[i]) + branches1[i];
    long long sum2 = static_cast<long long>(stems2[i]) + branches2[i];
    if (sum1 == sum2) line(chart_prefix, names[i], sum1);
  }
  return text;
}

std::string same_element_counts(const FormReader& form, ChartLibrary& library) {
  Chart one = form.chart(1), two = form.chart(2);
  std::array<std::int32_t, 5> stems1{}, branches1{}, stems2{}, branches2{};
  for (int pillar = 0; pillar < 4; ++pillar) {
    tally(kElementOrder, library.element(one[2 * pillar]), stems1);
    tally(kElementOrder, library.element(one[2 * pillar + 1]), branches1);
    tally(kElementOrder, library.element(two[2 * pillar]), stems2);
    tally(kElementOrder, library.element(two[2 * pillar + 1]), branches2);
  }
  return equal_count_blocks(kElementOrder, stems1, branches1, stems2, branches2,
                            "    八字天干", "    八字地支", "    八字");
}

std::string same_ten_gods(const FormReader& form, ChartLibrary& library, TenGodTallies& tallies) {
  Chart one = form.chart(1), two = form.chart(2);
  int mode = form.mode();
  std::string text;
  for (int p = 0; p < static_cast<int>(kTenGodPositions.size()); ++p) {
    const auto& position = kTenGodPositions[p];
    bool stem = p < kTenGodStemPositions;
    std::string first = library.ten_god(one[kDayStem], one[position.chart_index], mode);
    tally(kTenGodOrder, first, stem ? tallies.chart1_stems : tallies.chart1_branches);
    std::string second = library.ten_god(two[kDayStem], two[position.chart_index], mode);
    tally(kTenGodOrder, second, stem ? tallies.chart2_stems : tallies.chart2_branches);
    if (first == second)
      text += std::string("    ") + position.label + "十神相同，均为" + first + "\r\n";
  }
  return text;
}

std::string same_ten_god_counts(const TenGodTallies& t) {
  return equal_count_blocks(kTenGodOrder, t.chart1_stems, t.chart1_branches, t.chart2_stems,
                            t.chart2_branches, "    天干十神", "    地支十神", "    八字十神");
}

}  // namespace

CompareResult compare(const FormReader& form, ChartLibrary& library, TenGodTallies& tallies) {
  if (!library.chart_is_valid(form.chart(1))) return {CompareOutcome::Chart1Invalid, {}};
  if (!library.chart_is_valid(form.chart(2))) return {CompareOutcome::Chart2Invalid, {}};
  tallies = {};

  std::string report = "性别：\r\n" + sex_line(form) + "\r\n\r\n";
  report += "干支位置：\r\n" + same_texts(form) + "\r\n";
  report += "干支数量：\r\n" + same_counts(form, library) + "\r\n";
  report += "五行位置：\r\n" + same_elements(form, library) + "\r\n";
  report += "五行数量：\r\n" + same_element_counts(form, library) + "\r\n";
  // The ten-god positions fill the tallies that the count section reads.
  report += "十神位置：\r\n" + same_ten_gods(form, library, tallies) + "\r\n";
  report += "十神数量：\r\n" + same_ten_god_counts(tallies);
  return {CompareOutcome::Report, report};
}

}  // namespace pairview
