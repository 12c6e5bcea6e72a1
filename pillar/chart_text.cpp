#include "chart_text.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "chart_json.h"
#include "cycle_texts.h"
#include "lunar_json.h"
#include "text_table.h"

namespace pillar::cli {

namespace {

std::string civil_text(const chart::CivilMoment& local) {
  char text[40];
  if (local.has_time)
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.year, local.month, local.day,
                  local.hour, local.minute, local.second);
  else
    std::snprintf(text, sizeof text, "%04d-%02d-%02d（时辰不详）", local.year, local.month, local.day);
  return text;
}

std::string signed_seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%+.1f 秒", seconds);
  return text;
}

// "1 小时", "30 分", "1 小时 30 分".
std::string duration_text(int seconds) {
  int hours = seconds / 3600, minutes = seconds % 3600 / 60;
  std::string text = hours ? std::to_string(hours) + " 小时" : "";
  if (minutes) text += (text.empty() ? "" : " ") + std::to_string(minutes) + " 分";
  return text;
}

std::string four_pillars_line(const chart::Pillars& pillars) {
  return pillars.year + " " + pillars.month + " " + pillars.day + " " + pillars.hour.value_or("--");
}

void add_header(TextTable& table, const chart::BirthInput& input, const chart::Chart& chart) {
  const chart::Corrections& c = chart.corrections;
  std::string offset = "UTC" + chart::offset_text(c.utc_offset_seconds);
  std::string zone = c.zone == offset ? offset : c.zone + "  " + offset;
  if (c.dst_seconds != 0) zone += "（夏令时 " + chart::offset_text(c.dst_seconds) + "）";
  // The reading of the instant used; a reading the clock skipped is named beside it.
  std::string born = c.local.size() > 10 ? c.local.substr(0, 10) + " " + c.local.substr(11, 8) : civil_text(input.local);
  if (born != civil_text(input.local)) zone += "（钟表跳过了 " + civil_text(input.local) + "）";
  table.add_row({"出生", born + "  " + zone});
  if (chart.lunar) table.add_row({"农历", lunar_text(*chart.lunar) + "（" + lunar::year_animal(chart.lunar->year) + "）"});
  table.add_row({"世界时", c.utc});
  if (c.solar_kind == "standard") {
    // Only a clock moved by daylight saving differs from standard time.
    if (c.dst_removed_seconds != 0)
      table.add_row({"标准时", *c.solar_time + "  钟表减去夏令时 " + duration_text(c.dst_removed_seconds) +
                                   "，日、时按标准时"});
  } else if (c.solar_time) {
    std::string solar = *c.solar_time;
    if (c.longitude_seconds) solar += "  经度差 " + signed_seconds(*c.longitude_seconds);
    if (c.equation_of_time_seconds) solar += "  均时差 " + signed_seconds(*c.equation_of_time_seconds);
    table.add_row({"太阳时", solar});
  }
}

void add_pillars(TextTable& table, const chart::Chart& chart) {
  static constexpr std::array<const char*, 4> kTitles = {"年柱", "月柱", "日柱", "时柱"};
  const auto& analysed = chart.analysis.pillars;
  std::vector<std::string> titles = {""}, ten_gods = {"十神"}, pillars = {"干支"}, nayin = {"纳音"},
                           grades = {"等级"}, phases = {"长生"}, self_phases = {"自坐"};
  std::array<const std::string*, 4> texts = {&chart.pillars.year, &chart.pillars.month, &chart.pillars.day,
                                             chart.pillars.hour ? &*chart.pillars.hour : nullptr};
  std::size_t hidden_rows = 0;
  for (const auto& pillar : analysed) hidden_rows = std::max(hidden_rows, pillar.hidden.size());
  std::vector<std::vector<std::string>> hidden(hidden_rows, std::vector<std::string>{""});
  if (hidden_rows > 0) hidden[0][0] = "藏干";
  for (std::size_t i = 0; i < kTitles.size(); ++i) {
    titles.push_back(kTitles[i]);
    pillars.push_back(texts[i] ? *texts[i] : "--");
    const chart::PillarAnalysis* a = i < analysed.size() ? &analysed[i] : nullptr;
    ten_gods.push_back(a ? a->stem_ten_god : "");
    nayin.push_back(a ? a->nayin : "");
    grades.push_back(a ? a->grade : "");
    phases.push_back(a ? a->growth_phase : "");
    self_phases.push_back(a ? a->self_phase : "");
    for (std::size_t row = 0; row < hidden_rows; ++row)
      hidden[row].push_back(a && row < a->hidden.size() ? a->hidden[row].stem + " " + a->hidden[row].ten_god
                                                         : "");
  }
  for (auto* row : {&titles, &ten_gods, &pillars}) table.add_row(std::move(*row));
  for (auto& row : hidden) table.add_row(std::move(row));
  for (auto* row : {&nayin, &grades, &phases, &self_phases}) table.add_row(std::move(*row));
}

namespace texts = chart::texts;

std::string text_of(std::string_view view) { return std::string(view); }

// "丁巳 沙中土 伤官": a palace, or "--" without the hour.
std::string palace_text(int pair, int day_pair) {
  if (pair < 0) return "--";
  return text_of(texts::pair(pair)) + " " + text_of(texts::nayin(pair)) + " " + text_of(texts::ten_god(day_pair, pair % 10));
}

void add_parts(TextTable& table, const chart::Chart& chart) {
  const int day = chart.numbers[2];
  const chart::PalaceNumbers& p = chart.palaces;
  table.add_row({"胎元", palace_text(p.fetal_origin, day) + "    胎息 " + palace_text(p.fetal_breath, day)});
  table.add_row({"命宫", palace_text(p.life, day) + "    身宫 " + palace_text(p.body, day)});
  table.add_row({"星座", text_of(texts::sign(chart.sign)) + "（" + text_of(chart.sign_rule) + "）  生肖 " +
                             text_of(texts::animal(chart.animal)) + "（" + text_of(chart.animal_rule) + "）"});
}

const char* const kNatalShort[] = {"年", "月", "日", "时"};

// The columns a note adds to a row of luck: 纳音, 旬空, 星运, 自坐, 关系, 标记.
std::vector<std::string> note_cells(const chart::PillarNotes& notes, const std::array<int, 4>& natal) {
  const int stem = notes.pair % 10, branch = notes.pair % 12;
  std::string relations, marks;
  for (int position = 0; position < 4; ++position)
    for (int kind = 0; kind < texts::relation_count(); ++kind) {
      if (!(notes.relations[position] >> kind & 1u)) continue;
      bool stems = texts::relation_of_stems(kind);
      if (!relations.empty()) relations += " ";
      relations += std::string(kNatalShort[position]) +
                   text_of(stems ? texts::stem(stem) : texts::branch(branch)) +
                   text_of(stems ? texts::stem(natal[position] % 10) : texts::branch(natal[position] % 12)) +
                   text_of(texts::relation(kind));
    }
  for (int position = 0; position < 4; ++position) {
    if (notes.repeats >> position & 1u) marks += std::string(marks.empty() ? "" : " ") + "伏吟" + kNatalShort[position];
    if (notes.opposes >> position & 1u) marks += std::string(marks.empty() ? "" : " ") + "反吟" + kNatalShort[position];
  }
  if (notes.in_day_void) marks += std::string(marks.empty() ? "" : " ") + "空";
  return {text_of(texts::nayin(notes.pair)), text_of(texts::void_branches(notes.pair)),
          text_of(texts::growth(natal[2] % 10, branch)), text_of(texts::growth(stem, branch)),
          relations.empty() ? "-" : relations, marks.empty() ? "-" : marks};
}

void add_note_titles(std::vector<std::string>& row) {
  for (const char* title : {"纳音", "旬空", "星运", "自坐", "关系", "标记"}) row.push_back(title);
}

void append(std::vector<std::string>& row, std::vector<std::string> more) {
  for (auto& cell : more) row.push_back(std::move(cell));
}

std::string minor_luck_as_text(const chart::Chart& chart) {
  TextTable table;
  std::vector<std::string> titles = {"小运", "虚岁", "干支", "十神"};
  if (chart.annotated) add_note_titles(titles);
  table.add_row(std::move(titles));
  for (const chart::MinorLuck& minor : chart.minor_luck) {
    std::vector<std::string> row = {std::to_string(minor.year), std::to_string(minor.age),
                                    text_of(texts::pair(minor.pair)),
                                    text_of(texts::ten_god(chart.numbers[2], minor.pair % 10))};
    if (chart.annotated) append(row, note_cells(minor.notes, chart.numbers));
    table.add_row(std::move(row));
  }
  return table.render();
}

std::string periods_as_text(const chart::Chart& chart) {
  const chart::Periods& periods = chart.periods;
  const int day = chart.numbers[2];
  std::string text;
  if (!periods.months.empty()) {
    TextTable table;
    table.add_row({"流月", "节", "起于", "干支", "十神"});
    for (const chart::MonthOfYear& m : periods.months)
      table.add_row({"", text_of(texts::term(m.jie)), m.start, text_of(texts::pair(m.pair)),
                     text_of(texts::ten_god(day, m.pair % 10))});
    text += "\n" + table.render();
  }
  if (periods.days_month) {
    const chart::MonthOfYear& m = *periods.days_month;
    TextTable table;
    table.add_row({"流日", "干支", "十神"});
    for (const chart::DayOfMonth& d : periods.days)
      table.add_row({d.date, text_of(texts::pair(d.pair)), text_of(texts::ten_god(day, d.pair % 10))});
    text += "\n" + text_of(texts::pair(m.pair)) + "月  " + text_of(texts::term(m.jie)) + " " + m.start + " 至 " +
            periods.days_end + "\n" + table.render();
  }
  if (!periods.hours.empty()) {
    TextTable table;
    table.add_row({"流时", "时段", "干支", "十神", "日柱"});
    for (const chart::HourOfDay& h : periods.hours) {
      char span[16];
      std::snprintf(span, sizeof span, "%02d-%02d", h.first_hour, h.end_hour);
      table.add_row({"", span, text_of(texts::pair(h.pair)), text_of(texts::ten_god(day, h.pair % 10)),
                     text_of(texts::pair(h.day_pair))});
    }
    text += "\n" + periods.hours_date + "\n" + table.render();
  }
  return text;
}

std::string counts_text(const std::vector<std::pair<std::string, int>>& counts) {
  std::string text;
  for (const auto& [name, count] : counts) {
    if (!text.empty()) text += "  ";
    text += name + " " + std::to_string(count);
  }
  return text;
}

void add_analysis(TextTable& table, const chart::Analysis& analysis) {
  table.add_row({"空亡", "年 " + analysis.void_of_year + "  日 " + analysis.void_of_day});
  table.add_row({"司令", analysis.commander});
  table.add_row({"五行", counts_text(analysis.element_counts)});
  table.add_row({"十神数", counts_text(analysis.ten_god_counts)});
  table.add_row({"库", "财库 " + analysis.wealth_treasury + "  印库 " + analysis.seal_treasury + "  官 " +
                           analysis.office});
  std::string relations;
  for (const auto& relation : analysis.relations) {
    if (!relations.empty()) relations += "  ";
    relations += relation.between + " " + relation.first + relation.second + relation.kind;
  }
  table.add_row({"关系", relations.empty() ? "无" : relations});
}

std::string luck_as_text(const chart::Luck& luck, const chart::Chart& chart) {
  char age[96];
  std::snprintf(age, sizeof age, "%d 年 %d 月 %d 天", luck.years, luck.months, luck.days);
  std::string span = age;
  if (luck.hours || luck.minutes || luck.seconds) {
    std::snprintf(age, sizeof age, " %d 时 %d 分", luck.hours, luck.minutes);
    span += age;
    if (luck.seconds) span += " " + std::to_string(luck.seconds) + " 秒";
  }
  std::string text = std::string("大运  ") + (luck.forward ? "顺行" : "逆行") + "  起运 " + span + "（" +
                     luck.method + "）  " + luck.start + "\n交运  " + luck.handover + "\n";
  TextTable table;
  std::vector<std::string> titles = {"大运", "十神", "起运时间", "年龄", "虚岁"};
  if (chart.annotated) add_note_titles(titles);
  table.add_row(std::move(titles));
  for (const auto& pillar : luck.pillars) {
    char years[32];
    std::snprintf(years, sizeof years, "%.2f", pillar.age);
    std::vector<std::string> row = {pillar.pillar, pillar.ten_god, pillar.start, years, std::to_string(pillar.age_sui)};
    if (chart.annotated) append(row, note_cells(pillar.notes, chart.numbers));
    table.add_row(std::move(row));
  }
  text += table.render();
  if (!luck.annual.empty()) {
    TextTable annual;
    std::vector<std::string> annual_titles = {"流年", "干支", "十神", "虚岁"};
    if (chart.annotated) add_note_titles(annual_titles);
    annual.add_row(std::move(annual_titles));
    for (const auto& year : luck.annual) {
      std::vector<std::string> row = {std::to_string(year.year), year.pillar, year.ten_god, std::to_string(year.age_sui)};
      if (chart.annotated) append(row, note_cells(year.notes, chart.numbers));
      annual.add_row(std::move(row));
    }
    text += "\n" + annual.render();
  }
  if (!chart.minor_luck.empty()) text += "\n" + minor_luck_as_text(chart);
  return text;
}

const char* boundary_name(const std::string& boundary) {
  if (boundary == "jie") return "节";
  if (boundary == "hour") return "时辰";
  if (boundary == "day") return "换日";
  if (boundary == "dst") return "改时（夏令时）";
  return boundary.c_str();
}

const char* position_name(const std::string& position) {
  if (position == "year") return "年柱";
  if (position == "month") return "月柱";
  if (position == "day") return "日柱";
  if (position == "hour") return "时柱";
  return position.c_str();
}

// "5 分 26 秒后": how far the boundary lies from the birth.
std::string distance_text(std::int64_t seconds_away) {
  std::int64_t left = seconds_away < 0 ? -seconds_away : seconds_away;
  std::string text;
  if (left >= 3600) text += std::to_string(left / 3600) + " 时 ";
  if (left >= 60) text += std::to_string(left / 60 % 60) + " 分 ";
  text += std::to_string(left % 60) + " 秒";
  return text + (seconds_away < 0 ? "前" : "后");
}

std::string warnings_as_text(const std::vector<chart::Warning>& warnings) {
  TextTable table;
  table.add_row({"提示", "边界", "距出生", "不同", "另一盘"});
  for (const auto& warning : warnings) {
    std::string differing;
    for (const auto& position : warning.pillars) differing += (differing.empty() ? "" : " ") + std::string(position_name(position));
    table.add_row({"", boundary_name(warning.boundary), distance_text(warning.seconds_away),
                   differing.empty() ? "无" : differing, four_pillars_line(warning.other)});
  }
  return table.render();
}

// The candidate hour pillars under their branches; the first and the last
// are the early and the late 子 hour.
std::string candidates_as_text(const std::vector<std::string>& candidates) {
  constexpr std::size_t kCharacter = 3;  // bytes of one CJK character in UTF-8
  std::vector<std::string> hours = {"时辰"}, pillars = {"候选时柱"};
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    std::string branch = candidates[i].substr(std::min(kCharacter, candidates[i].size()));
    hours.push_back(i == 0 ? "早" + branch : i + 1 == candidates.size() ? "晚" + branch : branch);
    pillars.push_back(candidates[i]);
  }
  TextTable table;
  table.add_row(std::move(hours));
  table.add_row(std::move(pillars));
  return table.render();
}

}  // namespace

std::string chart_as_text(const chart::BirthInput& input, const chart::Chart& chart) {
  TextTable header;
  add_header(header, input, chart);
  std::string text = header.render() + "\n";
  TextTable pillars;
  add_pillars(pillars, chart);
  text += pillars.render() + "\n";
  if (!chart.candidate_hours.empty()) text += candidates_as_text(chart.candidate_hours) + "\n";
  TextTable analysis;
  add_analysis(analysis, chart.analysis);
  add_parts(analysis, chart);
  text += analysis.render();
  text += chart.luck ? "\n" + luck_as_text(*chart.luck, chart) : "\n大运  需要 --sex\n";
  text += periods_as_text(chart);
  if (!chart.warnings.empty()) text += "\n" + warnings_as_text(chart.warnings);
  return text;
}

std::string moments_as_text(const chart::Pillars& wanted, const std::vector<chart::MomentRange>& moments) {
  std::string text = four_pillars_line(wanted) + "：" + std::to_string(moments.size()) + " 段\n";
  TextTable table;
  table.add_row({"自", "至"});
  for (const auto& moment : moments) table.add_row({moment.first, moment.last});
  return text + (moments.empty() ? "" : table.render());
}

}  // namespace pillar::cli
