#include "http_api.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "batch.h"
#include "birth_json.h"
#include "birth_options.h"
#include "input_lines.h"
#include "chart_json.h"
#include "json_writer.h"
#include "lunar_input.h"
#include "lunar_json.h"
#include "places.h"

namespace pillar::serve {

namespace {

using chart::InputError;
using cli::OutputBuffer;
using httplib::ContentReader;
using httplib::Params;
using httplib::Request;
using httplib::Response;

constexpr const char* kJson = "application/json";
constexpr const char* kJsonLines = "application/x-ndjson";

void answer_json(Response& response, const OutputBuffer& out) {
  response.set_content(out.view().data(), out.size(), kJson);
}

// Runs `answer`; bad input becomes 400 with the command's one-line message.
template <typename Answer>
void or_bad_input(Response& response, Answer&& answer) {
  try {
    answer();
  } catch (const InputError& error) {
    answer_error(response, 400, error.what());
  }
}

void reject_repeats(const Params& params) {
  for (auto it = params.begin(); it != params.end(); it = params.upper_bound(it->first))
    if (params.count(it->first) > 1) throw InputError("key " + cli::quoted_text(it->first) + " given twice");
}

// The query of a chart request as the JSON object of a batch line, so that
// both are read, checked and worded by the same reader. A switch's value is
// true or false; every other value is a text, as on the command line.
std::string birth_json_of(const Params& params) {
  OutputBuffer out;
  out.push_back('{');
  bool first = true;
  for (const auto& [key, value] : params) {
    if (!first) out.push_back(',');
    first = false;
    cli::append_json_string(out, key);
    out.push_back(':');
    const cli::BirthOption* option = cli::find_birth_option(key);
    if (option && *option->value_name == '\0' && (value == "true" || value == "false"))
      out.append(value);
    else
      cli::append_json_string(out, value);
  }
  out.push_back('}');
  return std::string(out.view());
}

// The query of a POST: defaults for the bodies' births, as the command
// line's options are for a batch. The dates come from the bodies.
chart::BirthInput birth_defaults_of(const Params& params) {
  reject_repeats(params);
  chart::BirthInput defaults;
  for (const auto& [key, value] : params) {
    const cli::BirthOption* option = cli::find_birth_option(key);
    if (!option) throw InputError("unknown key " + cli::quoted_text(key));
    if (key == "datetime" || key == "lunar")
      throw InputError("the query gives defaults: give " + cli::quoted_text(key) + " in the body");
    cli::OptionValue option_value;
    if (*option->value_name == '\0' && (value == "true" || value == "false")) {
      option_value.kind = cli::OptionValue::Kind::Boolean;
      option_value.boolean = value == "true";
    } else {
      option_value.text = value;
    }
    option->apply(defaults, option_value);
  }
  return defaults;
}

// The query of `lunar` and `solar`: the date, and the rule as --lunar-rule.
std::pair<std::string, lunar::LunarRule> lunar_query(const Params& params) {
  reject_repeats(params);
  lunar::LunarRule rule = lunar::LunarRule::Almanac;
  for (const auto& [key, value] : params) {
    if (key == "lunar_rule")
      rule = cli::lunar_rule_of(value);
    else if (key != "date")
      throw InputError("unknown key " + cli::quoted_text(key));
  }
  auto date = params.find("date");
  if (date == params.end()) throw InputError("key \"date\" is missing");
  return {date->second, rule};
}

void write_chart(Response& response, const chart::BirthInput& input) {
  thread_local chart::Chart chart;  // reused: its texts and lists keep their capacity
  thread_local OutputBuffer out;
  chart::make_chart(input, chart);
  out.clear();
  cli::append_chart_json(out, chart);
  out.push_back('\n');
  answer_json(response, out);
}

void get_chart(const Request& request, Response& response) {
  or_bad_input(response, [&] {
    chart::BirthInput input;
    cli::read_birth_json(birth_json_of(request.params), input);
    write_chart(response, input);
  });
}

void post_chart(const Request& request, Response& response, const ContentReader& read_body) {
  or_bad_input(response, [&] {
    chart::BirthInput input = birth_defaults_of(request.params);
    std::string body;
    bool too_large = false;
    bool read = read_body([&](const char* data, std::size_t size) {
      too_large = body.size() + size > kChartBodyLimit;
      if (!too_large) body.append(data, size);
      return !too_large;
    });
    if (too_large) return answer_error(response, 413, "request body larger than " + std::to_string(kChartBodyLimit) + " bytes");
    if (!read) return answer_error(response, 400, "the request body could not be read");
    cli::read_birth_json(body, input);
    write_chart(response, input);
  });
}

// The batch over HTTP: lines are answered as they arrive, in order, and
// each answer is sent as soon as its input chunk is done.
void post_charts(const Request& request, Response& response, const ContentReader& read_body) {
  or_bad_input(response, [&] {
    chart::BirthInput defaults = birth_defaults_of(request.params);
    response.set_chunked_content_provider(
        kJsonLines, [read_body, defaults](std::size_t, httplib::DataSink& sink) {
          cli::BatchAnswers answers(defaults);
          cli::LineFeed lines;
          OutputBuffer out;
          auto answer = [&](const cli::InputLines::Line& line) { answers.answer(line, out); };
          bool sent = true;
          auto send = [&] {
            sent = out.size() == 0 || sink.write(out.view().data(), out.size());
            out.clear();
            return sent;
          };
          bool read = read_body([&](const char* data, std::size_t size) {
            lines.feed({data, size}, answer);
            return send();
          });
          if (!read || !sent) return false;  // the client left or broke its body: no end to send
          lines.finish(answer);
          if (!send()) return false;
          sink.done();
          return true;
        });
  });
}

void get_lunar(const Request& request, Response& response) {
  or_bad_input(response, [&] {
    auto [text, rule] = lunar_query(request.params);
    lunar::CivilDate date = cli::parse_gregorian_date(text);
    OutputBuffer out;
    cli::JsonWriter json(out);
    cli::write_lunar_json(json, date, cli::lunar_date_of(date, rule), rule);
    out.push_back('\n');
    answer_json(response, out);
  });
}

void get_solar(const Request& request, Response& response) {
  or_bad_input(response, [&] {
    auto [text, rule] = lunar_query(request.params);
    lunar::LunarDate lunar = cli::parse_lunar_moment(text, false).date;
    OutputBuffer out;
    cli::JsonWriter json(out);
    cli::write_lunar_json(json, cli::solar_date_of(lunar, rule), lunar, rule);
    out.push_back('\n');
    answer_json(response, out);
  });
}

void get_find(const Request& request, Response& response) {
  or_bad_input(response, [&] {
    reject_repeats(request.params);
    constexpr std::array<const char*, 4> kPositions = {"year", "month", "day", "hour"};
    std::array<std::string, 4> pillars;
    chart::BirthInput input;
    for (const auto& [key, value] : request.params) {
      auto position = std::find(kPositions.begin(), kPositions.end(), key);
      if (position != kPositions.end()) {
        pillars[static_cast<std::size_t>(position - kPositions.begin())] = value;
        continue;
      }
      const cli::BirthOption* option = cli::find_birth_option(key);
      if (!option || (key != "tz" && key != "utc_offset" && key != "zi_hour"))
        throw InputError("unknown key " + cli::quoted_text(key));
      cli::OptionValue option_value;
      option_value.text = value;
      option->apply(input, option_value);
    }
    if (request.has_param("tz") && request.has_param("utc_offset"))
      throw InputError("give \"tz\" or \"utc_offset\", not both");
    for (std::size_t i = 0; i < kPositions.size(); ++i)
      if (!request.has_param(kPositions[i])) throw InputError(std::string("key \"") + kPositions[i] + "\" is missing");
    chart::Pillars wanted{pillars[0], pillars[1], pillars[2], pillars[3]};
    auto moments = chart::find_moments(wanted, input.zone, input.utc_offset_seconds, input.zi_school);
    OutputBuffer out;
    cli::append_moments_json(out, wanted, moments);
    out.push_back('\n');
    answer_json(response, out);
  });
}

void get_zones(const Request& request, Response& response) {
  static const std::string zones = [] {
    OutputBuffer out;
    cli::JsonWriter json(out);
    json.begin_object();
    json.key("zones");
    json.begin_array();
    for (const std::string& name : chart::zone_names()) json.string(name);
    json.end_array();
    json.end_object();
    out.push_back('\n');
    return std::string(out.view());
  }();
  if (!request.params.empty()) return answer_error(response, 400, "this resource takes no query");
  response.set_content(zones, kJson);
}

// Places by name for the page's search box: a few at a time, never the
// whole gazetteer.
void get_places(const Request& request, Response& response) {
  or_bad_input(response, [&] {
    reject_repeats(request.params);
    for (const auto& [name, value] : request.params)
      if (name != "q" && name != "limit") throw InputError("unknown key " + cli::quoted_text(name));
    if (!request.has_param("q")) throw InputError("key \"q\" is missing");
    std::size_t limit = places::kDefaultLimit;
    if (request.has_param("limit")) {
      const std::string text = request.get_param_value("limit");
      auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), limit);
      if (error != std::errc() || end != text.data() + text.size() || text.empty())
        throw InputError("limit " + cli::quoted_text(text) + ": expected a whole number");
    }
    std::string body = places::search_json(request.get_param_value("q"), limit);
    body += '\n';
    response.set_content(body, kJson);
  });
}

void get_health(const Request&, Response& response) {
  response.set_content("{\"status\":\"ok\"}\n", kJson);
}

void get_openapi(const Request&, Response& response) {
  response.set_content(kOpenApiDocument.data(), kOpenApiDocument.size(), kJson);
}

constexpr std::array<Endpoint, 9> kEndpoints = {{
    {"/api/v1/chart", get_chart, post_chart, kJson, kChartBodyLimit},
    {"/api/v1/charts", nullptr, post_charts, kJsonLines, std::numeric_limits<std::size_t>::max()},
    {"/api/v1/lunar", get_lunar, nullptr, {}, 0},
    {"/api/v1/solar", get_solar, nullptr, {}, 0},
    {"/api/v1/find", get_find, nullptr, {}, 0},
    {"/api/v1/zones", get_zones, nullptr, {}, 0},
    {"/api/v1/places", get_places, nullptr, {}, 0},
    {"/api/v1/health", get_health, nullptr, {}, 0},
    {"/api/v1/openapi.json", get_openapi, nullptr, {}, 0},
}};

}  // namespace

std::span<const Endpoint> api_endpoints() { return kEndpoints; }

void answer_error(Response& response, int status, std::string_view message) {
  OutputBuffer out;
  out.append("{\"error\":");
  cli::append_json_string(out, message);
  out.append("}\n");
  response.status = status;
  response.set_content(out.view().data(), out.size(), kJson);
}

}  // namespace pillar::serve
