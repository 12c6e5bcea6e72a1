// `pillar lunar` (Gregorian to lunar) and `pillar solar` (lunar to Gregorian).
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "chart_json.h"
#include "birth_options.h"
#include "commands.h"
#include "input_lines.h"
#include "lunar_input.h"
#include "lunar_json.h"

namespace pillar::cli {

lunar::CivilDate parse_gregorian_date(std::string_view text) {
  chart::CivilMoment moment = parse_date_time("date", text);
  if (moment.has_time) throw chart::InputError("date " + quoted_text(text) + ": give the date alone, e.g. 2023-06-18");
  return {moment.year, moment.month, moment.day};
}

lunar::LunarDate lunar_date_of(const lunar::CivilDate& date, lunar::LunarRule rule) {
  std::optional<lunar::LunarDate> lunar = lunar::lunar_of(date, rule);
  if (!lunar) {
    char text[160];
    std::snprintf(text, sizeof text, "date %s lies outside the lunar calendar (%s to %s)", iso_date(date).c_str(),
                  iso_date(lunar::kFirstDate).c_str(), iso_date(lunar::kLastDate).c_str());
    throw chart::InputError(text);
  }
  return *lunar;
}

namespace {

std::string conversion_text(const lunar::CivilDate& date, const lunar::LunarDate& lunar, lunar::LunarRule rule) {
  return iso_date(date) + "  " + lunar_text(lunar) + " (" + lunar::year_animal(lunar.year) + ")  lunar " +
         lunar_code(lunar) + ", " + std::to_string(lunar::month_length(lunar.year, lunar.month, lunar.leap, rule)) +
         "-day month\n";
}

void append_conversion_json(OutputBuffer& out, const lunar::CivilDate& date, const lunar::LunarDate& lunar,
                            lunar::LunarRule rule) {
  JsonWriter json(out);
  write_lunar_json(json, date, lunar, rule);
  out.push_back('\n');
}

std::string conversion_json(const lunar::CivilDate& date, const lunar::LunarDate& lunar, lunar::LunarRule rule) {
  OutputBuffer out;
  append_conversion_json(out, date, lunar, rule);
  return std::string(out.view());
}

// One Gregorian date a line in, one JSON object a line out; a line that
// gives no date gives {"error": ..., "line": N} and the batch goes on.
int run_lunar_batch(std::FILE* in, lunar::LunarRule rule) {
  OutputBuffer out;
  auto write_answers = [&out] {
    write_out(out.view());
    out.clear();
  };
  InputLines lines(fileno(in), write_answers);
  try {
    for (InputLines::Line line; lines.next(line);) {
      std::string_view text = line.text;
      while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
      if (text.empty() && !line.too_long) continue;
      try {
        if (line.too_long) throw chart::InputError(kLineTooLong);
        lunar::CivilDate date = parse_gregorian_date(text);
        append_conversion_json(out, date, lunar_date_of(date, rule), rule);
      } catch (const chart::InputError& error) {
        append_error_json(out, error.what(), line.number);
        out.push_back('\n');
      }
      if (out.size() > (1 << 20)) write_answers();
    }
  } catch (const StreamError&) {
    write_answers();  // the answers so far stand
    throw;
  }
  write_answers();
  return 0;
}

// --lunar-rule, on `pillar lunar` and `pillar solar` alike.
void add_lunar_rule_option(CLI::App& command, std::string& rule) {
  command.add_option("--lunar-rule", rule,
                     "almanac (default): dates before 1929 as the almanacs of the time printed them; "
                     "modern: UTC+8 throughout")
      ->type_name("RULE");
}

}  // namespace

CommandRunner add_lunar_command(CLI::App& command) {
  struct State {
    std::string date, rule = "almanac";
    bool json = false, batch = false;
  };
  auto state = std::make_shared<State>();
  command.add_option("date", state->date, "the Gregorian date, e.g. 2023-06-18")->type_name("DATE");
  command.add_flag("--json", state->json, "one JSON object instead of the line of text");
  command.add_flag("--batch", state->batch, "read one date per line from standard input, write one JSON object per line");
  add_lunar_rule_option(command, state->rule);
  return [state]() {
    lunar::LunarRule rule = lunar_rule_of(state->rule);
    if (state->batch) {
      if (!state->date.empty()) throw chart::InputError("--batch reads the dates from standard input: give no DATE");
      return run_lunar_batch(stdin, rule);
    }
    if (state->date.empty()) throw chart::InputError("DATE is missing, e.g. pillar lunar 2023-06-18");
    lunar::CivilDate date = parse_gregorian_date(state->date);
    lunar::LunarDate lunar = lunar_date_of(date, rule);
    write_out(state->json ? conversion_json(date, lunar, rule) : conversion_text(date, lunar, rule));
    return 0;
  };
}

CommandRunner add_solar_command(CLI::App& command) {
  struct State {
    std::vector<std::string> words;
    std::string rule = "almanac";
    bool json = false;
  };
  auto state = std::make_shared<State>();
  command.add_option("lunar_date", state->words, "the lunar date: 2023 闰2 15, 2023 L2 15 or 2023-L2-15")
      ->type_name("LUNAR_DATE");
  command.add_flag("--json", state->json, "one JSON object instead of the line of text");
  add_lunar_rule_option(command, state->rule);
  return [state]() {
    lunar::LunarRule rule = lunar_rule_of(state->rule);
    if (state->words.empty()) throw chart::InputError("LUNAR_DATE is missing, e.g. pillar solar 2023 闰2 15");
    std::string text;
    for (const std::string& word : state->words) text += (text.empty() ? "" : " ") + word;
    lunar::LunarDate lunar = parse_lunar_moment(text, false).date;
    lunar::CivilDate date = solar_date_of(lunar, rule);
    write_out(state->json ? conversion_json(date, lunar, rule) : conversion_text(date, lunar, rule));
    return 0;
  };
}

void write_lunar_json(JsonWriter& json, const lunar::CivilDate& date, const lunar::LunarDate& lunar,
                      lunar::LunarRule rule) {
  json.begin_object();
  json.key("date");
  json.string(iso_date(date));
  json.key("year");
  json.integer(lunar.year);
  json.key("month");
  json.integer(lunar.month);
  json.key("leap");
  json.boolean(lunar.leap);
  json.key("day");
  json.integer(lunar.day);
  json.key("year_name");
  json.string(lunar::year_name(lunar.year));
  json.key("animal");
  json.string(lunar::year_animal(lunar.year));
  json.key("month_name");
  json.string(lunar::month_name(lunar.month, lunar.leap));
  json.key("day_name");
  json.string(lunar::day_name(lunar.day));
  json.key("month_days");
  json.integer(lunar::month_length(lunar.year, lunar.month, lunar.leap, rule));
  json.key("leap_month");
  if (int leap = lunar::leap_month_of(lunar.year, rule))
    json.integer(leap);
  else
    json.null();
  json.end_object();
}

std::string lunar_code(const lunar::LunarDate& lunar) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%s%02d-%02d", lunar.year, lunar.leap ? "L" : "", lunar.month, lunar.day);
  return text;
}

std::string lunar_text(const lunar::LunarDate& lunar) {
  return lunar::year_name(lunar.year) + "年" + lunar::month_name(lunar.month, lunar.leap) + lunar::day_name(lunar.day);
}

// Written by hand: every chart of a batch writes one, and snprintf cost more
// than the lunar lookup itself.
std::string iso_date(const lunar::CivilDate& date) {
  if (date.year < 0 || date.year > 9999 || date.month < 0 || date.month > 99 || date.day < 0 || date.day > 99) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
  }
  auto digit = [](int value) { return static_cast<char>('0' + value % 10); };
  const char text[10] = {digit(date.year / 1000), digit(date.year / 100), digit(date.year / 10), digit(date.year), '-',
                         digit(date.month / 10),  digit(date.month),      '-',
                         digit(date.day / 10),    digit(date.day)};
  return std::string(text, sizeof text);
}

}  // namespace pillar::cli
