// The lunar date text: an accepted date that exists converts to a Gregorian
// date whose lunar date is the one given, under either rule of the calendar.
#include <utility>

#include "lunar_input.h"
#include "parser_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text = fuzz::text_of(data, size);
  using pillar::lunar::LunarRule;
  for (auto [allow_time, rule] : {std::pair{false, LunarRule::Almanac}, std::pair{true, LunarRule::Modern}}) {
    try {
      pillar::cli::LunarMoment moment = pillar::cli::parse_lunar_moment(text, allow_time);
      pillar::lunar::CivilDate date = pillar::cli::solar_date_of(moment.date, rule);
      std::optional<pillar::lunar::LunarDate> back = pillar::lunar::lunar_of(date, rule);
      if (!back || back->year != moment.date.year || back->month != moment.date.month ||
          back->leap != moment.date.leap || back->day != moment.date.day)
        fuzz::fault("the Gregorian date converts back to another lunar date", text);
    } catch (const pillar::chart::InputError& error) {
      fuzz::check_message(error.what());
    }
  }
  return 0;
}
