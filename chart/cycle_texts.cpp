#include "cycle_texts.h"

#include <array>
#include <string>

#include "cycle_facts.h"
#include "exports.h"
#include "sexagenary.h"
#include "ten_gods.h"
#include "texts.h"
#include "vocabulary.h"
#include "zodiac.h"

namespace pillar::chart::texts {

namespace {

struct Names {
  std::array<std::string, 10> stems, ten_gods;
  std::array<std::string, 12> branches, animals;
  std::array<std::string, 60> nayin, void_branches;
  std::array<std::string, 24> terms;
  Names() {
    for (int i = 0; i < 10; ++i) stems[i] = utf8_of(vocabulary::kStems[i]);
    for (int i = 0; i < 10; ++i) ten_gods[i] = utf8_of(ten_gods::kTenGodNames[i]);
    for (int i = 0; i < 12; ++i) branches[i] = utf8_of(vocabulary::kBranches[i]);
    for (int i = 0; i < 12; ++i) animals[i] = utf8_of(vocabulary::kAnimals[i]);
    for (int i = 0; i < 60; ++i) {
      nayin[i] = utf8_of(sexagenary::nayin_name(vocabulary::kSixtyPairs[i]));
      void_branches[i] = utf8_of(sexagenary::void_branches(vocabulary::kSixtyPairs[i]));
    }
    // pillarcore keeps the term names behind 取节气名称.
    for (int i = 0; i < 24; ++i) terms[i] = utf8_of(取节气名称(i + 1));
  }
};
const Names& names() {
  static const Names instance;
  return instance;
}

}  // namespace

std::string_view pair(int number) { return pairs_utf8()[number]; }
std::string_view stem(int number) { return names().stems[number]; }
std::string_view branch(int number) { return names().branches[number]; }
std::string_view nayin(int number) { return names().nayin[number]; }
std::string_view void_branches(int number) { return names().void_branches[number]; }
std::string_view phase(int number) { return facts::cycle_facts().phase_names[number]; }
std::string_view ten_god(int day_pair, int stem) {
  return names().ten_gods[facts::cycle_facts().ten_god[facts::stem_of(day_pair)][stem]];
}
std::string_view relation(int kind) { return facts::cycle_facts().relation_names[kind]; }
std::string_view term(int number) { return names().terms[number - 1]; }
std::string_view animal(int number) { return names().animals[number]; }
std::string_view sign(int number) { return sign_name(number); }

}  // namespace pillar::chart::texts
