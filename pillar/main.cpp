// pillar: Four Pillars charts from the command line.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "user_text.h"

namespace {

using pillar::cli::Command;

// Every subcommand, in the order the help lists them.
constexpr Command kCommands[] = {
    {"chart", "the chart of a birth moment (or of each line of a batch)", pillar::cli::add_chart_command},
    {"find", "the moments between 1880 and 2079 at which four pillars hold", pillar::cli::add_find_command},
    {"lunar", "the lunar (农历) date of a Gregorian date", pillar::cli::add_lunar_command},
    {"solar", "the Gregorian date of a lunar date", pillar::cli::add_solar_command},
    {"places", "places of China by name, with their longitude and zone", pillar::cli::add_places_command},
    {"serve", "the chart over HTTP (JSON API under /api/v1/)", pillar::cli::add_serve_command},
};

// Exit statuses: 0 done, 1 a fault of this program or of its output, 2 bad input.
constexpr int kFailed = 1;
constexpr int kBadInput = 2;

// One short line on standard error, whatever the message quotes: control
// characters (a newline, a terminal escape) and bytes that are not UTF-8
// become '?'.
int fail(int status, std::string_view message) {
  std::fprintf(stderr, "pillar: %s\n", pillar::cli::printable_text(message, pillar::cli::kLongestMessage).c_str());
  return status;
}

// The help, or a failure when it could not be written.
int show_help(const CLI::App& app, const CLI::Error& help) {
  int status = app.exit(help);
  std::cout.flush();
  if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) return fail(kFailed, "cannot write the output");
  return status;
}

// "--tz=" is an empty value, as "--tz ''" is; CLI11 would take the next
// argument for it instead.
std::vector<std::string> arguments_of(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = argc - 1; i > 0; --i) {  // CLI11 takes them last first
    std::string_view argument = argv[i];
    if (argument.starts_with("--") && argument.size() > 3 && argument.find('=') == argument.size() - 1) {
      arguments.emplace_back();
      argument.remove_suffix(1);
    }
    arguments.emplace_back(argument);
  }
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    CLI::App app("Four Pillars (八字) charts: pillars, analysis, luck and boundary warnings", "pillar");
    app.require_subcommand(1);
    std::vector<std::pair<CLI::App*, pillar::cli::CommandRunner>> runners;
    for (const Command& command : kCommands) {
      CLI::App* sub = app.add_subcommand(command.name, command.help);
      runners.emplace_back(sub, command.add(*sub));
    }
    auto is_command = [](std::string_view name) {
      for (const Command& command : kCommands)
        if (name == command.name) return true;
      return false;
    };
    if (argc > 1 && argv[1][0] != '-' && !is_command(argv[1]))
      return fail(kBadInput, "unknown subcommand " + pillar::cli::quoted_text(argv[1]) + "; see pillar --help");
    try {
      std::vector<std::string> arguments = arguments_of(argc, argv);
      app.parse(arguments);
    } catch (const CLI::CallForHelp& help) {
      return show_help(app, help);
    } catch (const CLI::CallForAllHelp& help) {
      return show_help(app, help);
    } catch (const CLI::ParseError& error) {
      return fail(kBadInput, error.what());
    }
    for (auto& [sub, run] : runners)
      if (sub->parsed()) return run();
    return fail(kBadInput, "no subcommand");
  } catch (const pillar::chart::InputError& error) {
    return fail(kBadInput, error.what());
  } catch (const pillar::cli::StreamError& error) {
    return fail(kFailed, error.what());
  } catch (const std::exception& error) {
    return fail(kFailed, std::string("internal error: ") + error.what());
  }
}
