// The options of a birth, written once: their command-line names, their
// batch keys and how a value becomes part of a chart::BirthInput. The command
// line and the batch both go through this table, so both accept the same
// values and reject bad ones with the same message.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "chart.h"
#include "user_text.h"

namespace pillar::cli {

// A value as it arrives: a command-line text, or a JSON text, number or
// boolean from a batch line.
struct OptionValue {
  enum class Kind { Text, Number, Boolean } kind = Kind::Text;
  std::string_view text;
  double number = 0;
  bool boolean = false;
};

struct BirthOption {
  const char* batch_key;    // snake_case key of a batch line
  const char* flag;         // command-line flag, empty for the positional date
  const char* value_name;   // shown in the help; empty for a switch
  const char* help;
  void (*apply)(chart::BirthInput&, const OptionValue&);  // throws chart::InputError
};

// Every option of `pillar chart`, the date and time first.
std::span<const BirthOption> birth_options();

// The option with this batch key, or null.
const BirthOption* find_birth_option(std::string_view batch_key);

// A date and time as parse_civil_moment reads it; its errors start with `what`
// and quote at most a little of the text.
chart::CivilMoment parse_date_time(const char* what, std::string_view text);

}  // namespace pillar::cli
