// The analysis of a chart's pillars, indexing the lexicon.
#include "analysis.h"

#include <algorithm>
#include <cstring>

#include "lexicon.h"
#include "seasonal_strength.h"
#include "texts.h"

namespace pillar::chart::detail {

namespace {

const char* const kPositions[] = {"年", "月", "日", "时"};

// The library's periods cover 30 days; a jie month runs to 32 days of the
// table's clock, and its last period runs on to the next jie.
constexpr int kLastCommanderDay = 30;

// The commander of the birth day on the table's clock: the day of a jie is
// day 1 of its month whatever the hour of its instant.
std::string commander_of(Utc term_utc) {
  const auto& jie = jie_instants();
  int index = jie_index_at(term_utc);
  std::int64_t birth_day = day_of(table_reading(term_utc));
  if (index + 1 < kJieCount && day_of(table_reading(jie[index + 1])) == birth_day) ++index;
  std::int64_t jie_day = day_of(table_reading(jie[index]));
  int day = std::min(static_cast<int>(birth_day - jie_day) + 1, kLastCommanderDay);
  vocabulary::Name name = seasonal_strength::commander(jie_number_of_index(index), day);
  return name.empty() ? std::string() : utf8_of(name);
}

}  // namespace

void analyse(const PillarNumbers& n, Utc term_utc, Analysis& a) {
  const Lexicon& x = lexicon();
  const int pairs[] = {n.year, n.month, n.day, n.hour};
  const int count = n.hour >= 0 ? 4 : 3;
  const int day_stem = stem_of(n.day);
  std::array<int, 5> elements{};
  std::array<int, 10> gods{};

  a.pillars.resize(count);
  for (int position = 0; position < count; ++position) {
    int pair = pairs[position], stem = stem_of(pair), branch = branch_of(pair);
    PillarAnalysis& p = a.pillars[position];
    set_text(p.pillar, pairs_utf8()[pair]);
    set_text(p.nayin, x.nayin[pair]);
    set_text(p.grade, x.grade[pair]);
    if (position == 2) {
      set_text(p.stem_ten_god, "日主");
    } else {
      int god = x.ten_god_of[day_stem - 1][stem - 1];
      set_text(p.stem_ten_god, x.ten_gods[god]);
      ++gods[god];
    }
    set_text(p.growth_phase, x.growth[day_stem - 1][branch - 1]);
    const std::vector<int>& hidden_stems = x.hidden[branch - 1];
    p.hidden.resize(hidden_stems.size());
    for (std::size_t i = 0; i < hidden_stems.size(); ++i) {
      int hidden = hidden_stems[i], god = x.ten_god_of[day_stem - 1][hidden - 1];
      set_text(p.hidden[i].stem, x.stems[hidden - 1]);
      set_text(p.hidden[i].ten_god, x.ten_gods[god]);
      ++gods[god];
    }
    ++elements[x.stem_element[stem - 1]];
    ++elements[x.branch_element[branch - 1]];
  }

  set_text(a.void_of_year, x.void_branches[n.year]);
  set_text(a.void_of_day, x.void_branches[n.day]);
  a.commander = commander_of(term_utc);
  a.element_counts.resize(elements.size());
  for (std::size_t i = 0; i < elements.size(); ++i) {
    set_text(a.element_counts[i].first, x.elements[i]);
    a.element_counts[i].second = elements[i];
  }
  a.ten_god_counts.resize(gods.size());
  for (std::size_t i = 0; i < gods.size(); ++i) {
    set_text(a.ten_god_counts[i].first, x.ten_gods[i]);
    a.ten_god_counts[i].second = gods[i];
  }
  set_text(a.wealth_treasury, x.treasuries[day_stem - 1][0]);
  set_text(a.seal_treasury, x.treasuries[day_stem - 1][1]);
  set_text(a.office, x.treasuries[day_stem - 1][2]);

  std::size_t relation_count = 0;
  for (int i = 0; i < count; ++i)
    for (int j = i + 1; j < count; ++j) {
      int si = stem_of(pairs[i]), sj = stem_of(pairs[j]), bi = branch_of(pairs[i]), bj = branch_of(pairs[j]);
      unsigned held = x.stem_relations[si - 1][sj - 1] | x.branch_relations[bi - 1][bj - 1];
      for (int k = 0; k < static_cast<int>(kRelationKinds.size()); ++k) {
        if (!(held >> k & 1u)) continue;
        const RelationKind& kind = kRelationKinds[k];
        if (relation_count == a.relations.size()) a.relations.emplace_back();
        Relation& relation = a.relations[relation_count++];
        set_text(relation.kind, kind.name);
        set_text(relation.first, kind.of_stems ? x.stems[si - 1] : x.branches[bi - 1]);
        set_text(relation.second, kind.of_stems ? x.stems[sj - 1] : x.branches[bj - 1]);
        // "年-月": two characters of three bytes each around the dash.
        char between[7];
        std::memcpy(between, kPositions[i], 3);
        between[3] = '-';
        std::memcpy(between + 4, kPositions[j], 3);
        set_text(relation.between, {between, sizeof between});
      }
    }
  a.relations.resize(relation_count);
}

}  // namespace pillar::chart::detail
