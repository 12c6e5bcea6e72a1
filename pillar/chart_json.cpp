#include "chart_json.h"

#include "user_text.h"

#include <array>

#include "cycle_texts.h"
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
    json.member("self_phase", pillar.self_phase);
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

namespace texts = chart::texts;

void write_positions(JsonWriter& json, unsigned bits) {
  json.begin_array();
  for (std::size_t i = 0; i < kPositions.size(); ++i)
    if (bits >> i & 1u) json.utf8(kPositions[i]);
  json.end_array();
}

// The notes on a luck, minor or annual pillar, seen from the natal day pillar.
void write_notes(JsonWriter& json, const chart::PillarNotes& notes, const std::array<int, 4>& natal) {
  const int stem = notes.pair % 10, branch = notes.pair % 12;
  json.begin_object();
  json.member("nayin", texts::nayin(notes.pair));
  json.member("void", texts::void_branches(notes.pair));
  json.member("star_phase", texts::growth(natal[2] % 10, branch));
  json.member("self_phase", texts::growth(stem, branch));
  json.key("hidden");
  json.begin_array();
  texts::HiddenStems hidden = texts::hidden_stems(branch);
  for (int i = 0; i < hidden.count; ++i) {
    json.begin_object();
    json.member("stem", texts::stem(hidden.stems[i]));
    json.member("ten_god", texts::ten_god(natal[2], hidden.stems[i]));
    json.end_object();
  }
  json.end_array();
  json.key("relations");
  json.begin_array();
  for (std::size_t position = 0; position < natal.size(); ++position)
    for (int kind = 0; kind < texts::relation_count(); ++kind) {
      if (!(notes.relations[position] >> kind & 1u)) continue;
      bool stems = texts::relation_of_stems(kind);
      json.begin_object();
      json.member("with", kPositions[position]);
      json.member("kind", texts::relation(kind));
      json.member("first", stems ? texts::stem(stem) : texts::branch(branch));
      json.member("second", stems ? texts::stem(natal[position] % 10) : texts::branch(natal[position] % 12));
      json.end_object();
    }
  json.end_array();
  json.key("fuyin");
  write_positions(json, notes.repeats);
  json.key("fanyin");
  write_positions(json, notes.opposes);
  json.key("in_day_void");
  json.boolean(notes.in_day_void);
  json.end_object();
}

void write_pair(JsonWriter& json, int pair, int day_pair) {
  json.member("pillar", texts::pair(pair));
  json.member("ten_god", texts::ten_god(day_pair, pair % 10));
}

void write_palace(JsonWriter& json, int pair, int day_pair) {
  if (pair < 0) {
    json.null();
    return;
  }
  json.begin_object();
  write_pair(json, pair, day_pair);
  json.member("nayin", texts::nayin(pair));
  json.end_object();
}

void write_month(JsonWriter& json, const chart::MonthOfYear& month, int day_pair) {
  json.begin_object();
  write_pair(json, month.pair, day_pair);
  json.member("jie", texts::term(month.jie));
  json.member("start", month.start);
  json.end_object();
}

void write_parts(JsonWriter& json, const chart::Chart& chart, bool annotate) {
  const int day = chart.numbers[2];
  json.key("palaces");
  json.begin_object();
  json.key("fetal_origin");
  write_palace(json, chart.palaces.fetal_origin, day);
  json.key("fetal_breath");
  write_palace(json, chart.palaces.fetal_breath, day);
  json.key("life");
  write_palace(json, chart.palaces.life, day);
  json.key("body");
  write_palace(json, chart.palaces.body, day);
  json.end_object();
  json.key("zodiac");
  json.begin_object();
  json.member("sign", texts::sign(chart.sign));
  json.member("sign_rule", chart.sign_rule);
  json.member("animal", texts::animal(chart.animal));
  json.member("animal_rule", chart.animal_rule);
  json.end_object();
  json.key("minor_luck");
  json.begin_array();
  for (const chart::MinorLuck& minor : chart.minor_luck) {
    json.begin_object();
    json.key("age");
    json.integer(minor.age);
    json.key("year");
    json.integer(minor.year);
    write_pair(json, minor.pair, day);
    if (annotate) {
      json.key("notes");
      write_notes(json, minor.notes, chart.numbers);
    }
    json.end_object();
  }
  json.end_array();
  const chart::Periods& periods = chart.periods;
  json.key("months");
  json.begin_array();
  for (const chart::MonthOfYear& month : periods.months) write_month(json, month, day);
  json.end_array();
  json.key("days");
  if (periods.days_month) {
    json.begin_object();
    json.key("month");
    write_month(json, *periods.days_month, day);
    json.member("end", periods.days_end);
    json.key("days");
    json.begin_array();
    for (const chart::DayOfMonth& d : periods.days) {
      json.begin_object();
      json.member("date", d.date);
      write_pair(json, d.pair, day);
      json.end_object();
    }
    json.end_array();
    json.end_object();
  } else {
    json.null();
  }
  json.key("hours");
  if (!periods.hours_date.empty()) {
    json.begin_object();
    json.member("date", periods.hours_date);
    json.key("slots");
    json.begin_array();
    for (const chart::HourOfDay& h : periods.hours) {
      json.begin_object();
      json.key("from");
      json.integer(h.first_hour);
      json.key("to");
      json.integer(h.end_hour);
      write_pair(json, h.pair, day);
      json.member("day_pillar", texts::pair(h.day_pair));
      json.end_object();
    }
    json.end_array();
    json.end_object();
  } else {
    json.null();
  }
}

void write_luck(JsonWriter& json, const chart::Luck& luck, const std::array<int, 4>& natal, bool annotate) {
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
  json.key("hours");
  json.integer(luck.hours);
  json.key("minutes");
  json.integer(luck.minutes);
  json.key("seconds");
  json.integer(luck.seconds);
  json.end_object();
  json.key("start_years");
  json.number(luck.start_age, 4);
  json.key("start_age_sui");
  json.integer(luck.start_age_sui);
  json.member("handover", luck.handover);
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
    json.key("age_sui");
    json.integer(pillar.age_sui);
    if (annotate) {
      json.key("notes");
      write_notes(json, pillar.notes, natal);
    }
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
    json.key("age_sui");
    json.integer(annual.age_sui);
    if (annotate) {
      json.key("notes");
      write_notes(json, annual.notes, natal);
    }
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
  const bool annotate = chart.annotated;
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
  json.key("luck");
  if (chart.luck)
    write_luck(json, *chart.luck, chart.numbers, annotate);
  else
    json.null();
  json.key("warnings");
  write_warnings(json, chart.warnings);
  write_parts(json, chart, annotate);
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
