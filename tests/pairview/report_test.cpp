// The comparison report built against the real library, linked directly,
// and against a scripted library for the layout rules that real charts reach
// only with difficulty.
#include "report.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "exports.h"
#include "expected_reports.h"

namespace pairview {
namespace {

class DirectLibrary : public ChartLibrary {
 public:
  bool chart_is_valid(const Chart& c) override {
    return pillar::八字是否正确(c[0].c_str(), c[1].c_str(), c[2].c_str(), c[3].c_str(),
                                c[4].c_str(), c[5].c_str(), c[6].c_str(), c[7].c_str()) != 0;
  }
  int count(const Chart& c, const std::string& character) override {
    return pillar::取干支数量(c[0].c_str(), c[2].c_str(), c[4].c_str(), c[6].c_str(),
                              c[1].c_str(), c[3].c_str(), c[5].c_str(), c[7].c_str(),
                              character.c_str());
  }
  std::string element(const std::string& text) override {
    const char* result = pillar::取干支五行(text.c_str());
    return result ? result : "";
  }
  std::string ten_god(const std::string& day_stem, const std::string& text, int mode) override {
    const char* result = pillar::取十神关系(day_stem.c_str(), text.c_str(), mode);
    return result ? result : "";
  }
};

// A form with fixed values that counts how often each chart is read.
class FixedForm : public FormReader {
 public:
  Chart charts[2];
  int sexes[2] = {0, 0};
  int mode_value = 1;
  mutable int reads[2] = {0, 0};

  FixedForm(Chart one, Chart two) : charts{std::move(one), std::move(two)} {}
  Chart chart(int number) const override {
    ++reads[number - 1];
    return charts[number - 1];
  }
  int sex(int number) const override { return sexes[number - 1]; }
  int mode() const override { return mode_value; }
};

std::string report_of(FixedForm& form) {
  DirectLibrary library;
  TenGodTallies tallies;
  CompareResult result = compare(form, library, tallies);
  EXPECT_EQ(result.outcome, CompareOutcome::Report);
  return result.report;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ReportTest, WorkedExampleOfTheStartValues) {
  FixedForm form(kStartChart, kStartChart);
  EXPECT_EQ(report_of(form), kStartValuesReport);
}

TEST(ReportTest, SexLine) {
  struct Case {
    int first, second;
    const char* line;
  };
  for (Case c : {Case{0, 0, "    均未知"}, Case{1, 1, "    均为男"}, Case{2, 2, "    均为女"},
                 Case{1, 0, "    不同"}, Case{0, 2, "    不同"}, Case{1, 2, "    不同"}}) {
    FixedForm form(kStartChart, kStartChart);
    form.sexes[0] = c.first;
    form.sexes[1] = c.second;
    EXPECT_EQ(report_of(form).rfind(std::string("性别：\r\n") + c.line + "\r\n\r\n干支位置：", 0),
              0u)
        << c.first << " " << c.second;
  }
}

TEST(ReportTest, IdenticalChartsListEveryPositionElementAndName) {
  Chart chart = {"庚", "午", "戊", "子", "丁", "巳", "辛", "亥"};
  ASSERT_TRUE(DirectLibrary().chart_is_valid(chart));
  FixedForm form(chart, chart);
  std::string report = report_of(form);
  for (const char* position : {"年干相同", "年支相同", "月干相同", "月支相同", "日干相同",
                               "日支相同", "时干相同", "时支相同", "年干五行相同",
                               "年支五行相同", "月干五行相同", "月支五行相同", "日干五行相同",
                               "日支五行相同", "时干五行相同", "时支五行相同"})
    EXPECT_TRUE(contains(report, position)) << position;
  for (const char* position : {"年干", "月干", "时干", "年支", "月支", "日支", "时支"})
    EXPECT_TRUE(contains(report, std::string("    ") + position + "十神相同，均为")) << position;
  for (const char* element : {"金", "水", "木", "火", "土"})
    for (const char* block : {"八字天干", "八字地支", "八字"})
      EXPECT_TRUE(contains(report, std::string("    ") + block + element + "数量相同")) << block;
  for (const char* god : {"正官", "偏官", "正财", "偏财", "正印", "偏印", "伤官", "食神", "劫财",
                          "比肩"})
    for (const char* block : {"天干十神", "地支十神", "八字十神"})
      EXPECT_TRUE(contains(report, std::string("    ") + block + god + "数量相同")) << block;
}

TEST(ReportTest, CountsListOnlyCharactersPresentInBothCharts) {
  FixedForm form(kStartChart, kStartChart);
  std::string report = report_of(form);
  EXPECT_TRUE(contains(report, "    地支子数量相同，均为3\r\n"));
  EXPECT_FALSE(contains(report, "天干乙数量"));  // 0 and 0 are equal, yet not listed
  EXPECT_FALSE(contains(report, "地支亥数量"));

  Chart twice = {"甲", "子", "丙", "寅", "甲", "子", "丙", "寅"};
  ASSERT_TRUE(DirectLibrary().chart_is_valid(twice));
  FixedForm pair(twice, twice);
  std::string counts = report_of(pair);
  EXPECT_TRUE(contains(counts, "干支数量：\r\n    天干甲数量相同，均为2\r\n    天干丙数量相同，均为2\r\n"
                               "    地支子数量相同，均为2\r\n    地支寅数量相同，均为2\r\n\r\n"));
}

TEST(ReportTest, ModeChangesOnlyTheBranchesItConcerns) {
  FixedForm checked(kStartChart, kStartChart), unchecked(kStartChart, kStartChart);
  unchecked.mode_value = 0;
  std::string with_mode = report_of(checked), without_mode = report_of(unchecked);
  EXPECT_TRUE(contains(with_mode, "    年支十神相同，均为偏印\r\n"));
  EXPECT_TRUE(contains(without_mode, "    年支十神相同，均为正印\r\n"));
  // Stems and 寅 keep their ten gods.
  EXPECT_TRUE(contains(without_mode, "    月干十神相同，均为食神\r\n"));
  EXPECT_TRUE(contains(without_mode, "    月支十神相同，均为比肩\r\n"));
  // Everything before the ten-god sections is the same.
  auto before_ten_gods = [](const std::string& r) { return r.substr(0, r.find("十神位置")); };
  EXPECT_EQ(before_ten_gods(with_mode), before_ten_gods(without_mode));
}

TEST(ReportTest, SecondComparisonGivesTheSameReport) {
  FixedForm form(kStartChart, kOtherChart);
  DirectLibrary library;
  TenGodTallies tallies;
  std::string first = compare(form, library, tallies).report;
  EXPECT_EQ(compare(form, library, tallies).report, first);
}

TEST(ReportTest, InvalidChartsStopBeforeAnyReport) {
  Chart bad = kStartChart;
  bad[3] = "卯";  // 丙卯 is no sexagenary pair
  DirectLibrary library;
  TenGodTallies tallies;
  tallies.chart1_stems[0] = 7;  // left from an earlier run

  FixedForm first_bad(bad, kStartChart);
  EXPECT_EQ(compare(first_bad, library, tallies).outcome, CompareOutcome::Chart1Invalid);
  EXPECT_EQ(first_bad.reads[1], 0) << "chart 2 is read only once chart 1 has passed";

  FixedForm both_bad(bad, bad);
  EXPECT_EQ(compare(both_bad, library, tallies).outcome, CompareOutcome::Chart1Invalid);

  FixedForm second_bad(kStartChart, bad);
  CompareResult result = compare(second_bad, library, tallies);
  EXPECT_EQ(result.outcome, CompareOutcome::Chart2Invalid);
  EXPECT_TRUE(result.report.empty());
  EXPECT_EQ(tallies.chart1_stems[0], 7) << "tallies are untouched by a refused comparison";
}

// Answers from tables, for layouts no pair of real charts gives easily.
class ScriptedLibrary : public ChartLibrary {
 public:
  std::map<std::string, std::string> elements, ten_gods;
  std::map<std::string, int> counts_chart1, counts_chart2;
  Chart chart1;

  bool chart_is_valid(const Chart&) override { return true; }
  int count(const Chart& c, const std::string& character) override {
    auto& table = c == chart1 ? counts_chart1 : counts_chart2;
    auto found = table.find(character);
    return found == table.end() ? 0 : found->second;
  }
  std::string element(const std::string& text) override { return elements[text]; }
  std::string ten_god(const std::string&, const std::string& text, int) override {
    return ten_gods[text];
  }
};

TEST(ReportTest, NothingInCommon) {
  // Element tallies chosen to differ for every element, and no ten god
  // (no text) for chart 2.
  Chart one = {"s1", "b1", "s2", "b2", "s3", "b3", "s4", "b4"};
  Chart two = {"t1", "c1", "t2", "c2", "t3", "c3", "t4", "c4"};
  ScriptedLibrary library;
  library.chart1 = one;
  library.elements = {{"s1", "金"}, {"s2", "金"}, {"s3", "水"}, {"s4", "木"},
                      {"b1", "金"}, {"b2", "金"}, {"b3", "水"}, {"b4", "木"},
                      {"t1", "火"}, {"t2", "土"}, {"t3", "土"}, {"t4", "土"},
                      {"c1", "火"}, {"c2", "土"}, {"c3", "土"}, {"c4", "土"}};
  for (const char* text : {"s1", "s2", "s3", "s4"}) library.ten_gods[text] = "正官";
  for (const char* text : {"b1", "b2", "b3", "b4"}) library.ten_gods[text] = "偏官";
  FixedForm form(one, two);
  form.sexes[0] = 1;
  TenGodTallies tallies;
  std::string report = compare(form, library, tallies).report;
  EXPECT_EQ(report.substr(0, report.find("    天干十神")),
            "性别：\r\n    不同\r\n\r\n干支位置：\r\n无\r\n\r\n干支数量：\r\n无\r\n\r\n"
            "五行位置：\r\n无\r\n\r\n五行数量：\r\n\r\n十神位置：\r\n\r\n十神数量：\r\n");
  // With three stem positions at least seven names stay 0 in both charts,
  // so the ten-god count section is never empty.
  EXPECT_TRUE(contains(report, "十神数量：\r\n    天干十神偏官数量相同，均为0\r\n"));
}

TEST(ReportTest, EmptySectionsAndStemLinesWithoutBranchLines) {
  ScriptedLibrary library;
  Chart one = {"s1", "b1", "s1", "b1", "s1", "b1", "s1", "b1"};
  Chart two = {"s2", "b2", "s2", "b2", "s2", "b2", "s2", "b2"};
  library.chart1 = one;
  // Chart 1: stems 金 4, branches 水 4; chart 2: stems 金 4, branches 木 4.
  // Stem counts all agree, branch counts differ for 水 and 木 only, sums
  // differ for 水 and 木.
  library.elements = {{"s1", "金"}, {"b1", "水"}, {"s2", "金"}, {"b2", "木"}};
  // Ten gods: every stem position 正官 in both; branches 偏官 against 正财.
  library.ten_gods = {{"s1", "正官"}, {"s2", "正官"}, {"b1", "偏官"}, {"b2", "正财"}};
  FixedForm form(one, two);
  TenGodTallies tallies;
  std::string report = compare(form, library, tallies).report;
  EXPECT_TRUE(contains(report,
                       "五行数量：\r\n"
                       "    八字天干金数量相同，均为4\r\n    八字天干水数量相同，均为0\r\n"
                       "    八字天干木数量相同，均为0\r\n    八字天干火数量相同，均为0\r\n"
                       "    八字天干土数量相同，均为0\r\n\r\n"
                       "    八字地支金数量相同，均为0\r\n    八字地支火数量相同，均为0\r\n"
                       "    八字地支土数量相同，均为0\r\n\r\n"
                       "    八字金数量相同，均为4\r\n    八字火数量相同，均为0\r\n"
                       "    八字土数量相同，均为0\r\n\r\n十神位置：\r\n"));
  EXPECT_TRUE(contains(report,
                       "十神位置：\r\n    年干十神相同，均为正官\r\n    月干十神相同，均为正官\r\n"
                       "    时干十神相同，均为正官\r\n\r\n十神数量：\r\n"));
  // The report ends with the last whole-chart ten-god line and its CRLF.
  EXPECT_TRUE(report.ends_with("    八字十神比肩数量相同，均为0\r\n"));
  EXPECT_TRUE(contains(report, "    天干十神正官数量相同，均为3\r\n"));
  EXPECT_FALSE(contains(report, "地支十神偏官数量"));
  EXPECT_TRUE(contains(report, "    八字十神正官数量相同，均为3\r\n"));
}

TEST(ReportTest, StemLinesAloneAreFollowedByTwoLineEnds) {
  ScriptedLibrary library;
  // Branch tallies of the two charts differ for every element, stem tallies
  // agree: the stem block is followed by its CRLF and the branch block's.
  Chart one = {"s", "a", "s", "a", "s", "b", "s", "c"};
  Chart two = {"s", "d", "s", "e", "s", "e", "s", "e"};
  library.chart1 = one;
  // Chart 1 branches: 金 2, 水 1, 木 1, 火 0, 土 0 ... chart 2: 金 0 水 0 木 0 火 1 土 3.
  library.elements = {{"s", "?"}, {"a", "金"}, {"b", "水"}, {"c", "木"}, {"d", "火"}, {"e", "土"}};
  FixedForm form(one, two);
  TenGodTallies tallies;
  std::string report = compare(form, library, tallies).report;
  EXPECT_TRUE(contains(report, "    八字天干土数量相同，均为0\r\n\r\n\r\n"));
}

}  // namespace
}  // namespace pairview
