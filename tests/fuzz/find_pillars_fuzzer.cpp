// The pillar texts of `pillar find`: four words split at spaces (the hour
// may be empty: unknown); every range found runs forward.
#include <string>
#include <vector>

#include "chart.h"
#include "parser_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text = fuzz::text_of(data, size);
  std::vector<std::string> words;
  for (std::size_t from = 0;;) {
    std::size_t space = text.find(' ', from);
    words.emplace_back(text.substr(from, space == text.npos ? text.npos : space - from));
    if (space == text.npos || words.size() == 4) break;
    from = space + 1;
  }
  if (words.size() < 3) return 0;
  pillar::chart::Pillars wanted{words[0], words[1], words[2], std::nullopt};
  if (words.size() == 4 && !words[3].empty()) wanted.hour = words[3];
  try {
    for (const auto& range : pillar::chart::find_moments(wanted, "Asia/Shanghai", std::nullopt,
                                                          pillar::chart::ZiSchool::NextDayStem))
      if (!(range.first <= range.last)) fuzz::fault("a range runs backwards", range.first + " " + range.last);
  } catch (const pillar::chart::InputError&) {
  }
  return 0;
}
