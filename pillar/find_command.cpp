// `pillar find 甲子 丙寅 戊辰 壬子`: when did these four pillars hold?
#include <memory>
#include <vector>

#include "chart_json.h"
#include "chart_text.h"
#include "commands.h"

namespace pillar::cli {

CommandRunner add_find_command(CLI::App& command) {
  struct State {
    BoundBirthOptions options;
    std::vector<std::string> pillars;
    bool json = false;
  };
  auto state = std::make_shared<State>();
  command.add_option("pillars", state->pillars, "the year, month, day and hour pillars, e.g. 甲子 丙寅 戊辰 壬子")
      ->required()
      ->expected(1, CLI::detail::expected_max_vector_size)  // counted below, after CLI11 names unknown options
      ->type_name("PILLAR");
  state->options.add_to(command, {"tz", "utc_offset", "zi_hour"});
  command.get_option("--tz")->excludes(command.get_option("--utc-offset"));
  command.add_flag("--json", state->json, "one JSON object instead of the table");
  return [state]() {
    chart::BirthInput input;
    state->options.apply(input);
    const auto& p = state->pillars;
    if (p.size() != 4)
      throw chart::InputError("expected four pillars (year, month, day, hour), e.g. 甲子 丙寅 戊辰 壬子; got " +
                              std::to_string(p.size()));
    chart::Pillars wanted{p.at(0), p.at(1), p.at(2), p.at(3)};
    auto moments = chart::find_moments(wanted, input.zone, input.utc_offset_seconds, input.zi_school);
    OutputBuffer out;
    if (state->json) {
      append_moments_json(out, wanted, moments);
      out.push_back('\n');
    } else {
      out.append(moments_as_text(wanted, moments));
    }
    write_out(out.view());
    return 0;
  };
}

}  // namespace pillar::cli
