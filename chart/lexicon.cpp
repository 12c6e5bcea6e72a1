// The chart's vocabulary in UTF-8, asked once of pillarcore's routines.
#include "lexicon.h"

#include <cstdint>
#include <cstring>

#include "growth.h"
#include "pillar_grade.h"
#include "sexagenary.h"
#include "ten_gods.h"
#include "texts.h"
#include "treasuries.h"
#include "vocabulary.h"

namespace pillar::chart::detail {

namespace {

using vocabulary::Name;

Name stem_name(int stem) { return vocabulary::kStems[stem - 1]; }
Name branch_name(int branch) { return vocabulary::kBranches[branch - 1]; }

// Ten gods judge a branch by its main hidden stem (the chart asks of stems
// only, so this matters nowhere here but is stated once); growth phases run
// yin stems on their own backward cycle.
constexpr int kTenGodMode = 0;
constexpr int kGrowthMode = 1;

std::string trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

}  // namespace

Lexicon::Lexicon() {
  for (int i = 0; i < 10; ++i) stems[i] = utf8_of(vocabulary::kStems[i]);
  for (int i = 0; i < 12; ++i) branches[i] = utf8_of(vocabulary::kBranches[i]);
  for (int i = 0; i < 5; ++i) elements[i] = utf8_of(vocabulary::kElements[i]);
  for (int i = 0; i < 10; ++i) ten_gods[i] = utf8_of(ten_gods::kTenGodNames[i]);
  for (int pair = 0; pair < 60; ++pair) {
    Name text = vocabulary::kSixtyPairs[pair];
    nayin[pair] = utf8_of(sexagenary::nayin_name(text));
    void_branches[pair] = utf8_of(sexagenary::void_branches(text));
    for (const auto& g : pillar_grade::kGrades)
      for (Name member : g.pairs)
        if (vocabulary::same_text(member, text)) grade[pair] = utf8_of(g.name);
  }
  for (int day = 1; day <= 10; ++day) {
    for (int stem = 1; stem <= 10; ++stem) {
      Name god = ten_gods::ten_god(stem_name(day), stem_name(stem), kTenGodMode);
      for (int i = 0; i < 10; ++i)
        if (vocabulary::same_text(god, ten_gods::kTenGodNames[i])) ten_god_of[day - 1][stem - 1] = i;
    }
    for (int branch = 1; branch <= 12; ++branch)
      growth[day - 1][branch - 1] = trimmed(utf8_of(growth::phase_name(day, branch, kGrowthMode)));
    treasuries::Branches t = treasuries::of_stem(day);
    treasuries[day - 1] = {utf8_of(t.wealth), utf8_of(t.seal), utf8_of(t.office)};
    stem_element[day - 1] = vocabulary::element_index(vocabulary::element_of_stem_or_branch(stem_name(day))) - 1;
  }
  for (int branch = 1; branch <= 12; ++branch) {
    Name all = ten_gods::hidden_stems(branch);
    for (std::size_t i = 0; i + 2 <= all.size(); i += 2)
      hidden[branch - 1].push_back(vocabulary::stem_index(all.substr(i, 2)));
    branch_element[branch - 1] =
        vocabulary::element_index(vocabulary::element_of_stem_or_branch(branch_name(branch))) - 1;
  }
  for (int k = 0; k < static_cast<int>(kRelationKinds.size()); ++k) {
    const RelationKind& kind = kRelationKinds[k];
    for (int a = 1; a <= (kind.of_stems ? 10 : 12); ++a)
      for (int b = 1; b <= (kind.of_stems ? 10 : 12); ++b) {
        if (kind.of_stems && relations::holds(kind.relation, stem_name(a), stem_name(b)))
          stem_relations[a - 1][b - 1] |= 1u << k;
        if (!kind.of_stems && relations::holds(kind.relation, branch_name(a), branch_name(b)))
          branch_relations[a - 1][b - 1] |= 1u << k;
      }
  }
}

const Lexicon& lexicon() {
  static const Lexicon instance;
  return instance;
}

const std::string& ten_god_text(int day_pair, int stem) {
  const Lexicon& x = lexicon();
  return x.ten_gods[x.ten_god_of[stem_of(day_pair) - 1][stem - 1]];
}

// A chart's texts are mostly vocabulary of 3 to 15 bytes, copied into the
// strings a reused chart already holds: moved in words, without the calls
// std::string's assignment makes for them.
void set_text(std::string& to, std::string_view from) {
  std::size_t n = from.size();
  if (n < 3 || n > 15) {
    to.assign(from);
    return;
  }
  if (to.size() != n) to.resize(n);
  char* w = to.data();
  const char* p = from.data();
  if (n >= 8) {
    std::uint64_t head, tail;
    std::memcpy(&head, p, 8);
    std::memcpy(&tail, p + n - 8, 8);
    std::memcpy(w, &head, 8);
    std::memcpy(w + n - 8, &tail, 8);
  } else if (n >= 4) {
    std::uint32_t head, tail;
    std::memcpy(&head, p, 4);
    std::memcpy(&tail, p + n - 4, 4);
    std::memcpy(w, &head, 4);
    std::memcpy(w + n - 4, &tail, 4);
  } else {
    w[0] = p[0], w[1] = p[1], w[2] = p[2];
  }
}

}  // namespace pillar::chart::detail
