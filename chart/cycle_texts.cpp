#include "cycle_texts.h"

#include <array>
#include <string>

#include "lexicon.h"
#include "periods.h"
#include "texts.h"
#include "vocabulary.h"
#include "zodiac.h"

namespace pillar::chart::texts {

namespace {

using detail::lexicon;

// What the lexicon does not hold: the animals.
struct Names {
  std::array<std::string, 12> animals;
  Names() {
    for (int i = 0; i < 12; ++i) animals[i] = utf8_of(vocabulary::kAnimals[i]);
  }
};
const Names& names() {
  static const Names instance;
  return instance;
}

}  // namespace

std::string_view pair(int number) { return pairs_utf8()[number]; }
std::string_view stem(int number) { return lexicon().stems[number]; }
std::string_view branch(int number) { return lexicon().branches[number]; }
std::string_view nayin(int number) { return lexicon().nayin[number]; }
std::string_view void_branches(int number) { return lexicon().void_branches[number]; }
std::string_view growth(int stem, int branch) { return lexicon().growth[stem][branch]; }
std::string_view ten_god(int day_pair, int stem) { return detail::ten_god_text(day_pair, stem + 1); }
std::string_view term(int number) { return term_name(number); }
std::string_view animal(int number) { return names().animals[number]; }
std::string_view sign(int number) { return sign_name(number); }

int relation_count() { return static_cast<int>(detail::kRelationKinds.size()); }
std::string_view relation(int kind) { return detail::kRelationKinds[kind].name; }
bool relation_of_stems(int kind) { return detail::kRelationKinds[kind].of_stems; }

HiddenStems hidden_stems(int branch) {
  const auto& hidden = lexicon().hidden[branch];
  HiddenStems result{};
  for (int stem : hidden)
    if (result.count < 3) result.stems[result.count++] = stem - 1;
  return result;
}

}  // namespace pillar::chart::texts
