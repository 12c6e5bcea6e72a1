// The --tz and --utc-offset texts (first byte 'O': an offset, else a zone):
// an accepted offset lies within ±18:00 and is written back as typed; an
// accepted zone name charts or is reported unknown.
#include <cstdio>
#include <cstdlib>

#include "birth_options.h"
#include "parser_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  bool offset = data[0] == 'O';
  std::string_view text = fuzz::text_of(data + 1, size - 1);
  pillar::chart::BirthInput input;
  input.local = {2000, 1, 1, 12, 0, 0, true};
  pillar::cli::OptionValue value;
  value.text = text;
  try {
    pillar::cli::find_birth_option(offset ? "utc_offset" : "tz")->apply(input, value);
  } catch (const pillar::chart::InputError& error) {
    fuzz::check_message(error.what());
    return 0;
  }
  if (offset) {
    int seconds = input.utc_offset_seconds.value();
    if (std::abs(seconds) > 18 * 3600) fuzz::fault("an offset beyond 18 hours", text);
    char typed[16];  // written in the shape it came in: +HH:MM or +HH:MM:SS
    int size = std::snprintf(typed, sizeof typed, "%c%02d:%02d:%02d", seconds < 0 || text[0] == '-' ? '-' : '+',
                             std::abs(seconds) / 3600, std::abs(seconds) / 60 % 60, std::abs(seconds) % 60);
    if (text != std::string_view(typed, text.size() == 6 ? 6 : size) || (text.size() == 6 && seconds % 60))
      fuzz::fault("an offset read as another", text);
  }
  try {
    pillar::chart::make_chart(input);
  } catch (const pillar::chart::InputError& error) {
    fuzz::check_message(error.what());
  }
  return 0;
}
