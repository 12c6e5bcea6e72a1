// The 神煞 of given pillars, for comparisons with other libraries: each input
// line "年 月 日 时 SEX [LUCK…]" (UTF-8 pillars, SEX 1 male, 0 female) gives
// one output line of the names on each pillar, pillars separated by ';'
// and names by ','. The arguments are variant names.
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "shensha.h"
#include "texts.h"

int main(int argc, char** argv) {
  using namespace pillar::chart;
  try {
    std::vector<std::string> variants(argv + 1, argv + argc);
    const shensha::RuleSet& rules = shensha::rules_with(variants);
    const auto& pairs = pairs_utf8();
    auto number = [&](const std::string& text) {
      for (int i = 0; i < 60; ++i)
        if (pairs[i] == text) return i;
      throw InputError("not a pillar: " + text);
    };
    std::vector<std::uint8_t> found;
    std::vector<std::string_view> names;
    for (std::string line; std::getline(std::cin, line);) {
      std::istringstream words(line);
      std::string year, month, day, hour, sex;
      words >> year >> month >> day >> hour >> sex;
      shensha::Finder finder(rules, {number(year), number(month), number(day), number(hour),
                                     sex == "1" ? Sex::Male : Sex::Female});
      std::string out;
      auto write = [&] {
        shensha::assign_names(rules, found, names);
        for (std::size_t i = 0; i < names.size(); ++i) (out += i ? "," : "") += names[i];
        out += ';';
        found.clear();
      };
      for (int position = 0; position < 4; ++position) {
        finder.natal(position, found);
        write();
      }
      for (std::string luck; words >> luck;) {
        finder.extra(number(luck), found);
        write();
      }
      std::cout << out << '\n';
    }
  } catch (const InputError& error) {
    std::cerr << "shensha_of_pillars: " << error.what() << '\n';
    return 2;
  }
}
