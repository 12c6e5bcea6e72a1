// A stand-in for the chart engine while it is being written: fixed answers
// of the right shape, enough to run the command's own tests.
#include "chart.h"

namespace pillar::chart {

Chart make_chart(const BirthInput& input) {
  if (input.local.year < 1880 || input.local.year > 2079) throw InputError("year outside 1880-2079");
  if (!input.utc_offset_seconds && input.zone != "Asia/Shanghai" && input.zone != "America/New_York")
    throw InputError("unknown time zone \"" + input.zone + "\"");
  Chart chart;
  chart.corrections = {input.utc_offset_seconds ? "UTC" : input.zone, input.utc_offset_seconds.value_or(28800), 0,
                       "1990-05-17T06:30:00Z", std::nullopt, std::nullopt, std::nullopt};
  chart.pillars = {"庚午", "辛巳", "庚辰", std::nullopt};
  if (input.local.has_time) chart.pillars.hour = "癸未";
  else chart.candidate_hours = {"丙子", "丁丑", "戊寅", "己卯", "庚辰", "辛巳", "壬午", "癸未", "甲申", "乙酉", "丙戌", "丁亥", "戊子"};
  chart.analysis.pillars.push_back({"庚午", "路旁土", "坐禄", "比肩", "沐浴", {{"丁", "正官"}, {"己", "正印"}}});
  chart.analysis.element_counts = {{"金", 3}, {"水", 1}, {"木", 0}, {"火", 2}, {"土", 2}};
  if (input.sex) {
    Luck luck{true, "days", "1993-09-17T14:30", 3, 4, 0, {}, {}};
    for (int i = 0; i < input.luck_count; ++i) luck.pillars.push_back({"壬午", "食神", "1993-09-17T14:30", 3.3333 + 10 * i});
    chart.luck = luck;
  }
  chart.warnings.push_back({"hour", "hour", 120, "时柱在 2 分钟后变为 甲申", {"庚午", "辛巳", "庚辰", "甲申"}});
  return chart;
}

Pillars pillars_at(std::int64_t, int, ZiSchool) { return {"庚午", "辛巳", "庚辰", "癸未"}; }

std::vector<MomentRange> find_moments(const Pillars& wanted, const std::string&, std::optional<int>, ZiSchool) {
  if (wanted.year == "甲丑") throw InputError("\"甲丑\" is not one of the sixty pillars");
  return {{"1984-02-04T23:00:00", "1984-02-05T00:59:59"}};
}

}  // namespace pillar::chart
