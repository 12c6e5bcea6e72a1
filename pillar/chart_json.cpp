#include "chart_json.h"

#include "user_text.h"

#include <array>

#include "json_writer.h"
#include "lunar_json.h"

namespace pillar::cli {

namespace {

constexpr std::array<const char*, 4> kPositions = {"year", "month", "day", "hour"};

void write_pillars(JsonWriter& json, const chart::Pillars& pillars) {
  json.begin_object();
  json.member("year", pillars.year);
  json.member("month", pillars.month);
  json.member("day", pillars.day);
  json.key("hour");
  json.utf8_or_null(pillars.hour);
  json.end_object();
}

void write_corrections(JsonWriter& json, const chart::Corrections& corrections) {
  json.begin_object();
  json.member("zone", corrections.zone);
  json.member("local", corrections.local);
  json.member("utc_offset", chart::offset_text(corrections.utc_offset_seconds));
  json.key("utc_offset_seconds");
  json.integer(corrections.utc_offset_seconds);
  json.key("dst_seconds");
  json.integer(corrections.dst_seconds);
  json.member("solar_kind", corrections.solar_kind);
  json.key("dst_removed_seconds");
  json.integer(corrections.dst_removed_seconds);
  json.key("solar_time");
  json.utf8_or_null(corrections.solar_time);
  json.key("equation_of_time_seconds");
  json.number_or_null(corrections.equation_of_time_seconds, 1);
  json.key("longitude_seconds");
  json.number_or_null(corrections.longitude_seconds, 1);
  json.end_object();
}

void write_counts(JsonWriter& json, const std::vector<std::pair<std::string, int>>& counts) {
  json.begin_object();
  for (const auto& [name, count] : counts) {
    json.utf8_key(name);
    json.integer(count);
  }
  json.end_object();
}

void write_analysis(JsonWriter& json, const chart::Analysis& analysis) {
  json.begin_object();
  json.key("pillars");
  json.begin_array();
  for (std::size_t i = 0; i < analysis.pillars.size() && i < kPositions.size(); ++i) {
    const chart::PillarAnalysis& pillar = analysis.pillars[i];
    json.begin_object();
    json.member("position", kPositions[i]);
    json.member("pillar", pillar.pillar);
    json.member("nayin", pillar.nayin);
    json.member("grade", pillar.grade);
    json.member("ten_god", pillar.stem_ten_god);
    json.member("growth_phase", pillar.growth_phase);
    json.key("hidden");
    json.begin_array();
    for (const chart::HiddenStem& hidden : pillar.hidden) {
      json.begin_object();
      json.member("stem", hidden.stem);
      json.member("ten_god", hidden.ten_god);
      json.end_object();
    }
    json.end_array();
    json.end_object();
  }
  json.end_array();
  json.key("void");
  json.begin_object();
  json.member("year", analysis.void_of_year);
  json.member("day", analysis.void_of_day);
  json.end_object();
  json.member("commander", analysis.commander);
  json.key("element_counts");
  write_counts(json, analysis.element_counts);
  json.key("ten_god_counts");
  write_counts(json, analysis.ten_god_counts);
  json.key("treasuries");
  json.begin_object();
  json.member("wealth", analysis.wealth_treasury);
  json.member("seal", analysis.seal_treasury);
  json.member("office", analysis.office);
  json.end_object();
  json.key("relations");
  json.begin_array();
  for (const chart::Relation& relation : analysis.relations) {
    json.begin_object();
    json.member("kind", relation.kind);
    json.member("first", relation.first);
    json.member("second", relation.second);
    json.member("between", relation.between);
    json.end_object();
  }
  json.end_array();
  json.end_object();
}

void write_names(JsonWriter& json, const std::vector<std::string_view>& names) {
  json.begin_array();
  for (std::string_view name : names) json.utf8(name);
  json.end_array();
}

// 神煞 by natal pillar; the hour's is null when the hour is unknown.
void write_spirits(JsonWriter& json, const chart::Analysis& analysis) {
  auto names_of = [&](std::size_t position) {
    if (position < analysis.pillars.size())
      write_names(json, analysis.pillars[position].spirits);
    else
      json.null();
  };
  json.begin_object();
  json.key("year");
  names_of(0);
  json.key("month");
  names_of(1);
  json.key("day");
  names_of(2);
  json.key("hour");
  names_of(3);
  json.end_object();
}

void write_luck(JsonWriter& json, const chart::Luck& luck) {
  json.begin_object();
  json.key("forward");
  json.boolean(luck.forward);
  json.member("method", luck.method);
  json.member("start", luck.start);
  json.key("start_age");
  json.begin_object();
  json.key("years");
  json.integer(luck.years);
  json.key("months");
  json.integer(luck.months);
  json.key("days");
  json.integer(luck.days);
  json.end_object();
  json.key("library_age");
  json.integer(luck.library_age);
  json.member("previous_jie", luck.previous_jie);
  json.member("next_jie", luck.next_jie);
  json.key("pillars");
  json.begin_array();
  for (const chart::LuckPillar& pillar : luck.pillars) {
    json.begin_object();
    json.member("pillar", pillar.pillar);
    json.member("ten_god", pillar.ten_god);
    json.member("start", pillar.start);
    json.key("age");
    json.number(pillar.age, 4);
    json.key("spirits");
    write_names(json, pillar.spirits);
    json.end_object();
  }
  json.end_array();
  json.key("annual");
  json.begin_array();
  for (const chart::AnnualPillar& annual : luck.annual) {
    json.begin_object();
    json.key("year");
    json.integer(annual.year);
    json.member("pillar", annual.pillar);
    json.member("ten_god", annual.ten_god);
    json.key("spirits");
    write_names(json, annual.spirits);
    json.end_object();
  }
  json.end_array();
  json.end_object();
}

void write_warnings(JsonWriter& json, const std::vector<chart::Warning>& warnings) {
  json.begin_array();
  for (const chart::Warning& warning : warnings) {
    json.begin_object();
    json.member("boundary", warning.boundary);
    json.key("pillars");
    json.begin_array();
    for (const std::string& pillar : warning.pillars) json.utf8(pillar);
    json.end_array();
    json.key("seconds_away");
    json.integer(warning.seconds_away);
    json.member("message", warning.message);
    json.key("other");
    write_pillars(json, warning.other);
    json.end_object();
  }
  json.end_array();
}

}  // namespace

void append_chart_json(OutputBuffer& out, const chart::Chart& chart) {
  JsonWriter json(out);
  json.begin_object();
  json.key("schema");
  json.integer(kSchemaVersion);
  json.member("utc", chart.corrections.utc);
  json.key("pillars");
  write_pillars(json, chart.pillars);
  json.key("lunar");
  if (chart.lunar) {
    lunar::CivilDate date = lunar::CivilDate{};
    lunar::solar_of(*chart.lunar, date, chart.lunar_rule);
    write_lunar_json(json, date, *chart.lunar, chart.lunar_rule);
  } else {
    json.null();
  }
  json.key("corrections");
  write_corrections(json, chart.corrections);
  json.key("candidates");
  json.begin_array();
  for (const std::string& hour : chart.candidate_hours) json.utf8(hour);
  json.end_array();
  json.key("analysis");
  write_analysis(json, chart.analysis);
  json.key("spirits");
  write_spirits(json, chart.analysis);
  json.key("luck");
  if (chart.luck)
    write_luck(json, *chart.luck);
  else
    json.null();
  json.key("warnings");
  write_warnings(json, chart.warnings);
  json.end_object();
}

void append_error_json(OutputBuffer& out, std::string_view message, long long line) {
  JsonWriter json(out);
  json.begin_object();
  json.key("error");
  json.string(printable_text(message, kLongestMessage));  // may quote the line's bytes
  json.key("line");
  json.integer(line);
  json.end_object();
}

void append_moments_json(OutputBuffer& out, const chart::Pillars& wanted,
                         const std::vector<chart::MomentRange>& moments) {
  JsonWriter json(out);
  json.begin_object();
  json.key("schema");
  json.integer(kSchemaVersion);
  json.key("pillars");
  write_pillars(json, wanted);
  json.key("moments");
  json.begin_array();
  for (const chart::MomentRange& moment : moments) {
    json.begin_object();
    json.member("first", moment.first);
    json.member("last", moment.last);
    json.end_object();
  }
  json.end_array();
  json.end_object();
}

}  // namespace pillar::cli
