// The subcommands of `pillar`. A subcommand adds itself to the application
// and returns what to run when it was chosen; main.cpp lists them all.
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "birth_options.h"
#include "chart.h"

namespace pillar::cli {

using CommandRunner = std::function<int()>;

struct Command {
  const char* name;
  const char* help;
  CommandRunner (*add)(CLI::App& command);
};

CommandRunner add_chart_command(CLI::App& command);
CommandRunner add_find_command(CLI::App& command);
CommandRunner add_lunar_command(CLI::App& command);
CommandRunner add_solar_command(CLI::App& command);
CommandRunner add_places_command(CLI::App& command);
CommandRunner add_serve_command(CLI::App& command);

// Birth options bound to one subcommand's command line.
class BoundBirthOptions {
 public:
  // Adds the options with these batch keys, or every option.
  void add_to(CLI::App& command, std::initializer_list<std::string_view> batch_keys = {});
  // Applies the options the command line gave, in table order.
  void apply(chart::BirthInput& input) const;
  bool given(std::string_view batch_key) const;

 private:
  struct Bound {
    const BirthOption* option = nullptr;
    CLI::Option* cli = nullptr;
    std::string text;
    bool on = false;
  };
  std::deque<Bound> bound_;  // CLI11 keeps pointers to `text` and `on`
};

// Standard output or input failed: the results are incomplete.
class StreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes all of `text` to standard output; throws StreamError when that fails.
void write_out(std::string_view text);

}  // namespace pillar::cli
