// The date-time text: what the parser accepts is a real date and time of
// the four-digit years, and it reads back the same from its ISO form.
#include <cstdio>

#include "birth_options.h"
#include "parser_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text = fuzz::text_of(data, size);
  try {
    pillar::cli::parse_date_time("datetime", text);
  } catch (const pillar::chart::InputError& error) {
    fuzz::check_message(error.what());
  }
  pillar::chart::CivilMoment m;
  try {
    m = pillar::chart::parse_civil_moment(text);
  } catch (const pillar::chart::InputError&) {
    return 0;
  }
  if (m.year < 0 || m.year > 9999 || m.month < 1 || m.month > 12 || m.day < 1 || m.day > 31 || m.hour < 0 ||
      m.hour > 23 || m.minute < 0 || m.minute > 59 || m.second < 0 || m.second > 59)
    fuzz::fault("accepted a field out of range", text);
  char iso[40];
  std::snprintf(iso, sizeof iso, "%04d-%02d-%02dT%02d:%02d:%02d", m.year, m.month, m.day, m.hour, m.minute,
                m.second);
  pillar::chart::CivilMoment again = pillar::chart::parse_civil_moment(m.has_time ? iso : std::string(iso, 10));
  if (again.year != m.year || again.month != m.month || again.day != m.day || again.hour != m.hour ||
      again.minute != m.minute || again.second != m.second || again.has_time != m.has_time)
    fuzz::fault("reads back differently", text);
  return 0;
}
