#include "chart_json.h"

#include <array>
#include <cstdlib>

#include "json_writer.h"
#include "lunar_json.h"

namespace pillar::cli {

namespace {

constexpr std::array<const char*, 4> kPositions = {"year", "month", "day", "hour"};

void write_pillars(JsonWriter& json, const chart::Pillars& pillars) {
  json.begin_object();
  json.key("year");
  json.utf8(pillars.year);
  json.key("month");
  json.utf8(pillars.month);
  json.key("day");
  json.utf8(pillars.day);
  json.key("hour");
  json.utf8_or_null(pillars.hour);
  json.end_object();
}

void write_corrections(JsonWriter& json, const chart::Corrections& corrections) {
  json.begin_object();
  json.key("zone");
  json.utf8(corrections.zone);
  json.key("local");
  json.utf8(corrections.local);
  json.key("utc_offset");
  json.utf8(format_utc_offset(corrections.utc_offset_seconds));
  json.key("utc_offset_seconds");
  json.integer(corrections.utc_offset_seconds);
  json.key("dst_seconds");
  json.integer(corrections.dst_seconds);
  json.key("solar_kind");
  json.utf8(corrections.solar_kind);
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
    json.text_key(name);
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
    json.key("position");
    json.utf8(kPositions[i]);
    json.key("pillar");
    json.utf8(pillar.pillar);
    json.key("nayin");
    json.utf8(pillar.nayin);
    json.key("grade");
    json.utf8(pillar.grade);
    json.key("ten_god");
    json.utf8(pillar.stem_ten_god);
    json.key("growth_phase");
    json.utf8(pillar.growth_phase);
    json.key("hidden");
    json.begin_array();
    for (const chart::HiddenStem& hidden : pillar.hidden) {
      json.begin_object();
      json.key("stem");
      json.utf8(hidden.stem);
      json.key("ten_god");
      json.utf8(hidden.ten_god);
      json.end_object();
    }
    json.end_array();
    json.end_object();
  }
  json.end_array();
  json.key("void");
  json.begin_object();
  json.key("year");
  json.utf8(analysis.void_of_year);
  json.key("day");
  json.utf8(analysis.void_of_day);
  json.end_object();
  json.key("commander");
  json.utf8(analysis.commander);
  json.key("element_counts");
  write_counts(json, analysis.element_counts);
  json.key("ten_god_counts");
  write_counts(json, analysis.ten_god_counts);
  json.key("treasuries");
  json.begin_object();
  json.key("wealth");
  json.utf8(analysis.wealth_treasury);
  json.key("seal");
  json.utf8(analysis.seal_treasury);
  json.key("office");
  json.utf8(analysis.office);
  json.end_object();
  json.key("relations");
  json.begin_array();
  for (const chart::Relation& relation : analysis.relations) {
    json.begin_object();
    json.key("kind");
    json.utf8(relation.kind);
    json.key("first");
    json.utf8(relation.first);
    json.key("second");
    json.utf8(relation.second);
    json.key("between");
    json.utf8(relation.between);
    json.end_object();
  }
  json.end_array();
  json.end_object();
}

void write_luck(JsonWriter& json, const chart::Luck& luck) {
  json.begin_object();
  json.key("forward");
  json.boolean(luck.forward);
  json.key("method");
  json.utf8(luck.method);
  json.key("start");
  json.utf8(luck.start);
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
  json.key("previous_jie");
  json.utf8(luck.previous_jie);
  json.key("next_jie");
  json.utf8(luck.next_jie);
  json.key("pillars");
  json.begin_array();
  for (const chart::LuckPillar& pillar : luck.pillars) {
    json.begin_object();
    json.key("pillar");
    json.utf8(pillar.pillar);
    json.key("ten_god");
    json.utf8(pillar.ten_god);
    json.key("start");
    json.utf8(pillar.start);
    json.key("age");
    json.number(pillar.age, 4);
    json.end_object();
  }
  json.end_array();
  json.key("annual");
  json.begin_array();
  for (const chart::AnnualPillar& annual : luck.annual) {
    json.begin_object();
    json.key("year");
    json.integer(annual.year);
    json.key("pillar");
    json.utf8(annual.pillar);
    json.key("ten_god");
    json.utf8(annual.ten_god);
    json.end_object();
  }
  json.end_array();
  json.end_object();
}

void write_warnings(JsonWriter& json, const std::vector<chart::Warning>& warnings) {
  json.begin_array();
  for (const chart::Warning& warning : warnings) {
    json.begin_object();
    json.key("boundary");
    json.utf8(warning.boundary);
    json.key("pillars");
    json.begin_array();
    for (const std::string& pillar : warning.pillars) json.utf8(pillar);
    json.end_array();
    json.key("seconds_away");
    json.integer(warning.seconds_away);
    json.key("message");
    json.utf8(warning.message);
    json.key("other");
    write_pillars(json, warning.other);
    json.end_object();
  }
  json.end_array();
}

}  // namespace

std::string format_utc_offset(int seconds) {
  int magnitude = std::abs(seconds);
  char text[16];
  char* p = text;
  *p++ = seconds < 0 ? '-' : '+';
  auto two = [&p](int value) {
    *p++ = static_cast<char>('0' + value / 10);
    *p++ = static_cast<char>('0' + value % 10);
  };
  two(magnitude / 3600 % 100);
  *p++ = ':';
  two(magnitude / 60 % 60);
  if (magnitude % 60 != 0) {
    *p++ = ':';
    two(magnitude % 60);
  }
  return std::string(text, p);
}

void append_chart_json(OutputBuffer& out, const chart::Chart& chart) {
  JsonWriter json(out);
  json.begin_object();
  json.key("schema");
  json.integer(kSchemaVersion);
  json.key("utc");
  json.utf8(chart.corrections.utc);
  json.key("pillars");
  write_pillars(json, chart.pillars);
  json.key("lunar");
  if (chart.lunar) {
    lunar::CivilDate date = lunar::CivilDate{};
    lunar::solar_of(*chart.lunar, date);
    write_lunar_json(json, date, *chart.lunar);
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
  json.string(message);  // may quote the line's bytes
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
    json.key("first");
    json.utf8(moment.first);
    json.key("last");
    json.utf8(moment.last);
    json.end_object();
  }
  json.end_array();
  json.end_object();
}

}  // namespace pillar::cli
