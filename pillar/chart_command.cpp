// `pillar chart`: one chart from the command line, or a batch of them.
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "batch.h"
#include "chart_json.h"
#include "chart_text.h"
#include "commands.h"

namespace pillar::cli {

void BoundBirthOptions::add_to(CLI::App& command, std::initializer_list<std::string_view> batch_keys) {
  for (const BirthOption& option : birth_options()) {
    bool wanted = batch_keys.size() == 0;
    for (std::string_view key : batch_keys) wanted = wanted || key == option.batch_key;
    if (!wanted) continue;
    Bound& bound = bound_.emplace_back();
    bound.option = &option;
    std::string flag = *option.flag ? option.flag : option.batch_key;
    if (*option.value_name == '\0')
      bound.cli = command.add_flag(flag, bound.on, option.help);
    else
      bound.cli = command.add_option(flag, bound.text, option.help)->type_name(option.value_name);
  }
}

void BoundBirthOptions::apply(chart::BirthInput& input) const {
  for (const Bound& bound : bound_) {
    if (bound.cli->count() == 0) continue;
    OptionValue value;
    if (*bound.option->value_name == '\0') {
      value.kind = OptionValue::Kind::Boolean;
      value.boolean = bound.on;
    } else {
      value.text = bound.text;
    }
    bound.option->apply(input, value);
  }
}

bool BoundBirthOptions::given(std::string_view batch_key) const {
  for (const Bound& bound : bound_)
    if (batch_key == bound.option->batch_key) return bound.cli->count() > 0;
  return false;
}

void write_out(std::string_view text) {
  // An empty view may hold a null pointer, which fwrite must not be given.
  if ((!text.empty() && std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) || std::fflush(stdout) != 0)
    throw StreamError("cannot write the output");
}

CommandRunner add_chart_command(CLI::App& command) {
  struct State {
    BoundBirthOptions options;
    bool json = false, batch = false;
  };
  auto state = std::make_shared<State>();
  state->options.add_to(command);
  command.get_option("--tz")->excludes(command.get_option("--utc-offset"));
  command.add_flag("--json", state->json, "one JSON object instead of the table");
  command.add_flag("--batch", state->batch,
                   "read one JSON object per line from standard input, write one per line");
  return [state]() {
    chart::BirthInput input;
    state->options.apply(input);
    bool dated = state->options.given("datetime") || state->options.given("lunar");
    if (state->batch) {
      if (dated) throw chart::InputError("--batch reads the dates from standard input: give no DATETIME or --lunar");
      // A bad default (an unknown zone) is the command line's error, not every line's.
      chart::BirthInput probe = input;
      probe.local = {2000, 1, 1, 12, 0, 0, true};
      chart::make_chart(probe);
      return run_batch(input, stdin, stdout);
    }
    if (state->options.given("datetime") && state->options.given("lunar"))
      throw chart::InputError("give DATETIME or --lunar, not both");
    if (!dated) throw chart::InputError("DATETIME is missing, e.g. pillar chart 1990-05-17T14:30");
    chart::Chart chart = chart::make_chart(input);
    OutputBuffer out;
    if (state->json) {
      append_chart_json(out, chart);
      out.push_back('\n');
    } else {
      out.append(chart_as_text(input, chart));
    }
    write_out(out.view());
    return 0;
  };
}

}  // namespace pillar::cli
