// The comparison report: what two charts have in common, as one GBK text.
// It sees the form and the library only through the two small interfaces
// below, so the same builder runs in the program and in native tests.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pairview {

// Eight GBK texts in chart order: year stem, year branch, month stem, month
// branch, day stem, day branch, hour stem, hour branch.
using Chart = std::array<std::string, 8>;

// What the compare action reads; every call reads the form afresh.
class FormReader {
 public:
  virtual ~FormReader() = default;
  virtual Chart chart(int number) const = 0;  // number 1 or 2
  virtual int sex(int number) const = 0;      // 0 "-", 1 "男", 2 "女"
  virtual int mode() const = 0;               // 1 checked, 0 not
};

// The four library exports the report uses. Text results are copied out of
// the library's result slot before the call returns.
class ChartLibrary {
 public:
  virtual ~ChartLibrary() = default;
  virtual bool chart_is_valid(const Chart& chart) = 0;                    // 八字是否正确
  virtual int count(const Chart& chart, const std::string& character) = 0;  // 取干支数量
  virtual std::string element(const std::string& text) = 0;               // 取干支五行
  virtual std::string ten_god(const std::string& day_stem, const std::string& text,
                              int mode) = 0;                              // 取十神关系
};

// Counters per ten god in ten-god order; they outlive a comparison and are
// cleared at the start of each one that passes both checks.
struct TenGodTallies {
  std::array<std::int32_t, 10> chart1_stems{}, chart1_branches{}, chart2_stems{},
      chart2_branches{};
};

enum class CompareOutcome { Report, Chart1Invalid, Chart2Invalid };

struct CompareResult {
  CompareOutcome outcome;
  std::string report;  // GBK; empty unless outcome is Report
};

// The compare action without its window: checks both charts, then builds the
// report. The caller shows the message box or writes the output box.
CompareResult compare(const FormReader& form, ChartLibrary& library, TenGodTallies& tallies);

// The one-character texts the selectors offer and the count section scans,
// in list order. pairview does not link the library, so it keeps its own.
extern const std::array<const char*, 10> kStemTexts;    // 甲 … 癸
extern const std::array<const char*, 12> kBranchTexts;  // 子 … 亥

// The message-box texts of an invalid chart (GBK).
extern const char* const kChart1InvalidText;
extern const char* const kChart2InvalidText;
extern const char* const kInvalidChartTitle;

}  // namespace pairview
