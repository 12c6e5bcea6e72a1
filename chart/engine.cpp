// From a birth moment to the chart: the instant, the clocks the pillars are
// read on, the pillars, their analysis, the luck and the boundary warnings.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "chart.h"
#include "chart_parts.h"
#include "equation_of_time.h"
#include "growth.h"
#include "luck_methods.h"
#include "pillar_arithmetic.h"
#include "pillar_grade.h"
#include "place.h"
#include "relations.h"
#include "seasonal_strength.h"
#include "sexagenary.h"
#include "ten_gods.h"
#include "texts.h"
#include "treasuries.h"
#include "vocabulary.h"

namespace pillar::chart {

using namespace detail;
using vocabulary::Name;

namespace {

constexpr int kMaxLuckCount = 120;
constexpr int kMaxAnnualYears = 200;
constexpr int kMaxMargin = 86400;
constexpr double kSecondsPerYear = 365.2425 * kSecondsPerDay;

std::string number_text(long long value) { return std::to_string(value); }

using calendar::days_in_month;

void check_civil(const CivilMoment& m) {
  auto fail = [&](const char* what) {
    char text[80];
    std::snprintf(text, sizeof text, "%s: %04d-%02d-%02dT%02d:%02d:%02d", what, m.year, m.month, m.day, m.hour,
                  m.minute, m.second);
    throw InputError(text);
  };
  if (m.month < 1 || m.month > 12 || m.day < 1 || m.year < 1 || m.year > 9999 ||
      m.day > days_in_month(m.year, m.month))
    fail("no such date");
  if (m.hour < 0 || m.hour > 23 || m.minute < 0 || m.minute > 59 || m.second < 0 || m.second > 59)
    fail("no such time of day");
}

[[noreturn]] void out_of_range(const std::string& what) {
  throw InputError(what + " is outside the range of the term table (立春 1880 to the end of 2079)");
}

// ---- the clocks ----------------------------------------------------------

// The instants and clock readings the pillars of one birth are read from.
struct Reading {
  std::int64_t utc;       // the birth instant
  std::int64_t term_utc;  // the instant compared with the jie (solar clock - 8 h when it rules all pillars)
  std::int64_t clock;     // the reading for day and hour: civil or solar
  int offset;             // civil offset in force
};

struct Solar {
  SolarTime kind = SolarTime::Clock;
  double longitude = 0;
  bool all_pillars = false;
};

// Seconds the solar clock runs ahead of UTC at `utc`.
double solar_offset(const Solar& solar, std::int64_t utc, double* equation = nullptr) {
  double offset = solar.longitude * 240.0;  // 4 minutes a degree
  if (solar.kind == SolarTime::Apparent) {
    double eot = equation_of_time(utc);
    if (equation) *equation = eot;
    offset += eot;
  }
  return offset;
}

Reading read_at(std::int64_t utc, const detail::Place& place, const Solar& solar) {
  Reading r{utc, utc, 0, place.offset_at(utc).total};
  if (solar.kind == SolarTime::Clock) {
    r.clock = utc + r.offset;
  } else {
    r.clock = utc + std::llround(solar_offset(solar, utc));
    if (solar.all_pillars) r.term_utc = r.clock - kTableClockOffset;
  }
  return r;
}

void check_range(const Reading& r) {
  if (r.term_utc < first_instant() || r.term_utc >= end_instant()) out_of_range("the birth " + iso_of(r.utc) + "Z");
}

std::string date_text(const lunar::CivilDate& date) {
  return iso_of(seconds_of_civil(date.year, date.month, date.day, 0, 0, 0)).substr(0, 10);
}

PillarNumbers numbers_of(const Reading& r, const BirthInput& input) {
  PillarNumbers numbers = numbers_at(r.term_utc, r.clock, input.zi_school);
  if (input.year_start == YearStart::LunarNewYear) {
    Civil day = civil_of(r.clock);
    std::optional<lunar::LunarDate> date = lunar::lunar_of({day.year, day.month, day.day});
    if (!date)
      throw InputError("a year pillar from the lunar new year needs a date the lunar calendar holds, " +
                       date_text(lunar::kFirstDate) + " to " + date_text(lunar::kLastDate));
    numbers.year = year_pillar_of_year(date->year);
  }
  return numbers;
}

// ---- analysis ------------------------------------------------------------

int stem_of(int pair) { return pair % 10 + 1; }    // 1-10
int branch_of(int pair) { return pair % 12 + 1; }  // 1-12
Name stem_name(int stem) { return vocabulary::kStems[stem - 1]; }
Name branch_name(int branch) { return vocabulary::kBranches[branch - 1]; }

// Ten gods judge a branch by its main hidden stem (the chart asks of stems
// only, so this matters nowhere here but is stated once); growth phases run
// yin stems on their own backward cycle.
constexpr int kTenGodMode = 0;
constexpr int kGrowthMode = 1;

struct RelationKind {
  relations::Relation relation;
  const char* name;
  bool of_stems;
};
const RelationKind kRelationKinds[] = {
    {relations::Relation::StemCombination, "合", true},
    {relations::Relation::StemClash, "冲", true},
    {relations::Relation::BranchCombination, "合", false},
    {relations::Relation::BranchClash, "冲", false},
    {relations::Relation::BranchPunishment, "刑", false},
    {relations::Relation::BranchHarm, "害", false},
    {relations::Relation::BranchBreak, "破", false},
};
constexpr int kRelationKindCount = sizeof kRelationKinds / sizeof kRelationKinds[0];

const char* const kPositions[] = {"年", "月", "日", "时"};

std::string trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// Everything a chart's analysis looks up, asked once of pillarcore's routines
// and kept in UTF-8, so that a chart is indexing only.
struct Lexicon {
  std::array<std::string, 10> stems;
  std::array<std::string, 12> branches;
  std::array<std::string, 5> elements;
  std::array<std::string, 10> ten_gods;
  std::array<std::string, 60> nayin, grade, void_branches;
  std::array<std::array<int, 10>, 10> ten_god_of{};    // [day stem][stem]: index into ten_gods
  std::array<std::array<std::string, 12>, 10> growth;  // [day stem][branch]
  std::array<std::vector<int>, 12> hidden;             // stems (1-10) hidden in each branch
  std::array<int, 10> stem_element{};                  // 0-4
  std::array<int, 12> branch_element{};
  // Bit k: kRelationKinds[k] holds between the two.
  std::array<std::array<unsigned, 10>, 10> stem_relations{};
  std::array<std::array<unsigned, 12>, 12> branch_relations{};
  std::array<std::array<std::string, 3>, 10> treasuries;  // wealth, seal, office

  Lexicon() {
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
    for (int k = 0; k < kRelationKindCount; ++k) {
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
};

const Lexicon& lexicon() {
  static const Lexicon instance;
  return instance;
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

const std::string& ten_god_text(int day_pair, int stem) {
  const Lexicon& x = lexicon();
  return x.ten_gods[x.ten_god_of[stem_of(day_pair) - 1][stem - 1]];
}

// The commander of the birth day on the table's clock: the day of a jie is
// day 1 of its month whatever the hour of its instant.
std::string commander_of(std::int64_t term_utc) {
  const auto& jie = jie_instants();
  int index = jie_index_at(term_utc);
  std::int64_t birth_day = floor_div(term_utc + kTableClockOffset, kSecondsPerDay);
  if (index + 1 < kJieCount && floor_div(jie[index + 1] + kTableClockOffset, kSecondsPerDay) == birth_day)
    ++index;
  std::int64_t jie_day = floor_div(jie[index] + kTableClockOffset, kSecondsPerDay);
  Name name = seasonal_strength::commander(jie_number_of_index(index), static_cast<int>(birth_day - jie_day) + 1);
  return name.empty() ? std::string() : utf8_of(name);
}

// Fills `a` in place: a reused chart keeps the storage of its lists.
void analyse(const PillarNumbers& n, std::int64_t term_utc, Analysis& a) {
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
      for (int k = 0; k < kRelationKindCount; ++k) {
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

// ---- luck ----------------------------------------------------------------

// Fills `luck` in place: a reused chart keeps the storage of its texts and lists.
void luck_of(const BirthInput& input, const Reading& birth, const PillarNumbers& n, const detail::Place& place,
             Luck& luck) {
  const auto& jie = jie_instants();
  int index = jie_index_at(birth.term_utc);
  if (index + 1 >= kJieCount)
    throw InputError("the luck of a birth after 大雪 2079 needs the 小寒 of 2080, beyond the term table");
  bool yang_year = n.year % 2 == 0;  // 甲 丙 戊 庚 壬 have even numbers from 甲子 = 0
  luck.forward = yang_year == (*input.sex == Sex::Male);
  std::int64_t distance =
      luck.forward ? jie[index + 1] - birth.term_utc : birth.term_utc - jie[index];
  assign_iso_with_offset(luck.previous_jie, jie[index], place.offset_at(jie[index]).total);
  assign_iso_with_offset(luck.next_jie, jie[index + 1], place.offset_at(jie[index + 1]).total);

  std::int64_t birth_civil = birth.utc + birth.offset;
  std::int64_t jie_utc = luck.forward ? jie[index + 1] : jie[index];
  LuckSpan span = luck_span(input.luck_method, distance, birth_civil, jie_utc + place.offset_at(jie_utc).total,
                            luck.forward);
  luck.method = luck_method_name(input.luck_method);
  luck.years = span.years;
  luck.months = span.months;
  luck.days = span.days;
  luck.hours = span.hours;
  luck.minutes = span.minutes;
  luck.seconds = span.seconds;
  std::int64_t start_civil = luck_start_clock(input.luck_method, birth_civil, span);
  if (input.luck_method == LuckMethod::LibraryDays) {
    // 取起运年龄 counts on the table's clock.
    std::int64_t table_birth = birth.term_utc + kTableClockOffset;
    luck.library_age = civil_of(table_birth + (start_civil - birth_civil)).year - civil_of(table_birth).year;
  } else {
    luck.library_age = civil_of(start_civil).year - civil_of(birth_civil).year;
  }
  detail::Place::Resolved start = place.resolve(start_civil);
  assign_iso_with_offset(luck.start, start_civil - start.offset, start.offset);
  luck.start_age = std::round(static_cast<double>(start.utc - birth.utc) / kSecondsPerYear * 10000) / 10000;
  const int birth_year = civil_of(birth_civil).year;
  luck.start_age_sui = civil_of(start_civil).year - birth_year + 1;
  assign_handover(luck.handover, start.utc, start_civil);

  // Each luck pillar starts ten civil years after the one before, on the
  // same day and time (29 February on the 28th when the year has none).
  luck.pillars.resize(input.luck_count);
  const Civil first = civil_of(start_civil);
  for (int i = 1; i <= input.luck_count; ++i) {
    int pair = mod(n.month + (luck.forward ? i : -i), 60);
    Civil c = first;
    c.year += 10 * (i - 1);
    c.day = std::min(c.day, days_in_month(c.year, c.month));
    detail::Place::Resolved resolved =
        place.resolve(seconds_of_civil(c.year, c.month, c.day, c.hour, c.minute, c.second));
    double age = static_cast<double>(resolved.utc - birth.utc) / kSecondsPerYear;
    LuckPillar& pillar = luck.pillars[i - 1];
    set_text(pillar.pillar, pairs_utf8()[pair]);
    set_text(pillar.ten_god, ten_god_text(n.day, stem_of(pair)));
    assign_iso_with_offset(pillar.start, c, resolved.offset);
    pillar.age = std::round(age * 100) / 100;
    pillar.age_sui = c.year - birth_year + 1;
  }
  luck.annual.clear();
  if (input.annual_from)
    for (int year = *input.annual_from; year <= *input.annual_to; ++year) {
      int pair = year_pillar_of_year(year);
      luck.annual.push_back({year, pairs_utf8()[pair], ten_god_text(n.day, stem_of(pair)), 0, {}});
    }
}

// ---- boundaries ----------------------------------------------------------

const char* const kPillarKeys[] = {"year", "month", "day", "hour"};

std::vector<std::string> differing(const PillarNumbers& a, const PillarNumbers& b) {
  std::vector<std::string> keys;
  const int av[] = {a.year, a.month, a.day, a.hour}, bv[] = {b.year, b.month, b.day, b.hour};
  for (int i = 0; i < 4; ++i)
    if (av[i] != bv[i]) keys.push_back(kPillarKeys[i]);
  return keys;
}

std::string joined(const std::vector<std::string>& keys) {
  std::string text;
  for (const auto& key : keys) text += (text.empty() ? "" : ", ") + key;
  return text.empty() ? "no pillar" : text;
}

std::string distance_text(std::int64_t seconds) {
  if (seconds == 0) return "exactly at";
  std::int64_t magnitude = seconds < 0 ? -seconds : seconds;
  char text[64];
  std::snprintf(text, sizeof text, "%lld min %02lld s %s", static_cast<long long>(magnitude / 60),
                static_cast<long long>(magnitude % 60), seconds < 0 ? "after" : "before");
  return text;
}

struct BoundaryContext {
  const BirthInput& input;
  const detail::Place& place;
  const Solar& solar;
  const Reading& birth;
  const PillarNumbers& numbers;
  std::vector<Warning>& warnings;
  bool hour_known;
  std::int64_t margin;
};

// The chart one second across a boundary `seconds_away` from the birth (the
// last second before it when it lies before the birth).
void warn_across(BoundaryContext& c, const std::string& kind, std::int64_t seconds_away, const std::string& what) {
  std::int64_t shift = seconds_away <= 0 ? seconds_away - 1 : seconds_away;
  Reading other = read_at(c.birth.utc + shift, c.place, c.solar);
  if (c.solar.kind == SolarTime::Clock) other.clock = c.birth.clock + shift;  // the same clock, without a jump
  if (other.term_utc < first_instant() || other.term_utc >= end_instant()) return;
  PillarNumbers numbers = numbers_of(other, c.input);
  if (!c.hour_known) numbers.hour = -1;
  std::vector<std::string> keys = differing(c.numbers, numbers);
  if (keys.empty()) return;
  std::string boundary = kind;
  if (kind == "clock") boundary = std::find(keys.begin(), keys.end(), "day") != keys.end() ? "day" : "hour";
  c.warnings.push_back({boundary, keys, seconds_away,
                        "the birth lies " + distance_text(seconds_away) + " " + what + "; across it " +
                            joined(keys) + " would differ",
                        texts_of(numbers)});
}

void boundary_warnings(BoundaryContext& c) {
  std::int64_t margin = c.margin;
  const auto& jie = jie_instants();
  int index = jie_index_at(c.birth.term_utc);
  if (c.birth.term_utc - jie[index] <= margin)
    warn_across(c, "jie", jie[index] - c.birth.term_utc, "the jie instant " + iso_of(jie[index] + kTableClockOffset) + "+08:00");
  if (index + 1 < kJieCount && jie[index + 1] - c.birth.term_utc <= margin)
    warn_across(c, "jie", jie[index + 1] - c.birth.term_utc,
                "the jie instant " + iso_of(jie[index + 1] + kTableClockOffset) + "+08:00");

  if (c.hour_known) {
    // The hour pillars change at the odd hours, the day at midnight (or at 23:00).
    std::int64_t of_day = mod(c.birth.clock, kSecondsPerDay);
    auto is_boundary = [](int hour) { return hour == 0 || hour == 24 || hour % 2 == 1; };
    int before = static_cast<int>(of_day / 3600), after = before + 1;
    while (!is_boundary(before)) --before;
    while (!is_boundary(after)) ++after;
    std::int64_t previous = c.birth.clock - of_day + before * 3600;
    std::int64_t next = c.birth.clock - of_day + after * 3600;
    if (c.birth.clock - previous <= margin)
      warn_across(c, "clock", previous - c.birth.clock, "the change of the clock hour " + iso_of(previous).substr(11, 5));
    if (next - c.birth.clock <= margin)
      warn_across(c, "clock", next - c.birth.clock, "the change of the clock hour " + iso_of(next).substr(11, 5));

    // A clock reading near a change of the zone's offset may have been read
    // on the other offset.
    detail::Place::Offset offset = c.place.offset_at(c.birth.utc);
    std::optional<std::int64_t> change;
    if (c.birth.utc - offset.begins <= margin) change = offset.begins;
    else if (offset.ends - c.birth.utc <= margin) change = offset.ends;
    if (change) {
      int other_offset = c.place.offset_at(*change == offset.begins ? *change - 1 : *change).total;
      Reading other = read_at(c.birth.clock - other_offset, c.place, c.solar);
      if (c.solar.kind == SolarTime::Clock) other.clock = c.birth.clock;
      if (other.term_utc >= first_instant() && other.term_utc < end_instant()) {
        PillarNumbers numbers = numbers_of(other, c.input);
        std::vector<std::string> keys = differing(c.numbers, numbers);
        c.warnings.push_back({"dst", keys, *change - c.birth.utc,
                              "the birth lies " + distance_text(*change - c.birth.utc) +
                                  " a change of the clock's offset; read with offset " + offset_text(other_offset) +
                                  ", " + joined(keys) + " would differ",
                              texts_of(numbers)});
      }
    }
  }
}

}  // namespace

// ---- the chart -----------------------------------------------------------

Pillars pillars_at(std::int64_t utc_seconds, int clock_offset_seconds, ZiSchool school) {
  if (utc_seconds < first_instant() || utc_seconds >= end_instant())
    out_of_range("the instant " + iso_of(utc_seconds) + "Z");
  return texts_of(numbers_at(utc_seconds, utc_seconds + clock_offset_seconds, school));
}

Chart make_chart(const BirthInput& input) {
  Chart chart;
  make_chart(input, chart);
  return chart;
}

void make_chart(const BirthInput& input, Chart& chart) {
  check_civil(input.local);
  if (input.longitude && !(std::fabs(*input.longitude) <= 180))
    throw InputError("longitude must lie between -180 and 180 degrees");
  if (input.solar_time && *input.solar_time != SolarTime::Clock && !input.longitude)
    throw InputError("solar time needs a longitude");
  if (input.margin_seconds < 0 || input.margin_seconds > kMaxMargin)
    throw InputError("the boundary margin must lie between 0 and 86400 seconds");
  if (input.sex && (input.luck_count < 1 || input.luck_count > kMaxLuckCount))
    throw InputError("the number of luck pillars must lie between 1 and " + number_text(kMaxLuckCount));
  if (input.annual_from.has_value() != input.annual_to.has_value())
    throw InputError("the annual range needs both a first and a last year");
  if (input.annual_from &&
      (*input.annual_from > *input.annual_to || *input.annual_to - *input.annual_from >= kMaxAnnualYears ||
       *input.annual_from < 1 || *input.annual_to > 9999))
    throw InputError("the annual range must run forward over at most " + number_text(kMaxAnnualYears) + " years");
  if (input.local.year > kLastYear || input.local.year < kFirstYear)
    out_of_range("the date " + number_text(input.local.year));

  const detail::Place& place = detail::Place::kept(input.zone, input.utc_offset_seconds);
  Solar solar;
  if (input.longitude) {
    solar.kind = input.solar_time.value_or(SolarTime::Apparent);
    solar.longitude = *input.longitude;
    solar.all_pillars = input.solar_time_all_pillars && solar.kind != SolarTime::Clock;
  }

  const CivilMoment& m = input.local;
  bool hour_known = m.has_time;
  // An unknown hour reads year and month at noon.
  std::int64_t civil = seconds_of_civil(m.year, m.month, m.day, hour_known ? m.hour : 12,
                                        hour_known ? m.minute : 0, hour_known ? m.second : 0);
  detail::Place::Reading candidates = place.instants_of(civil);
  std::int64_t utc = candidates.earlier;
  if (candidates.kind != detail::Place::Reading::Unique) {
    const char* what = candidates.kind == detail::Place::Reading::Gap ? "does not exist" : "occurs twice";
    if (input.fold == FoldChoice::Reject || !hour_known)
      throw InputError("the local time " + iso_of(civil) + " in " + place.name() + " " + what +
                       " (a change of the clock's offset): it is either " +
                       iso_with_offset(candidates.earlier, place.offset_at(candidates.earlier).total) + " (" +
                       iso_of(candidates.earlier) + "Z) or " +
                       iso_with_offset(candidates.later, place.offset_at(candidates.later).total) + " (" +
                       iso_of(candidates.later) + "Z); choose the earlier or the later");
    utc = input.fold == FoldChoice::Earlier ? candidates.earlier : candidates.later;
  }

  Reading birth = read_at(utc, place, solar);
  check_range(birth);
  PillarNumbers numbers = numbers_of(birth, input);

  chart.lunar = lunar::lunar_of({m.year, m.month, m.day});
  Corrections& k = chart.corrections;
  detail::Place::Offset offset = place.offset_at(utc);
  k.zone = place.name();
  k.utc_offset_seconds = offset.total;
  k.dst_seconds = offset.dst;
  assign_iso_with_offset(k.local, utc, offset.total);
  if (!hour_known) k.local.resize(10);
  assign_iso(k.utc, utc, "Z");
  k.solar_kind = solar.kind == SolarTime::Clock ? "clock" : solar.kind == SolarTime::Mean ? "mean" : "apparent";
  k.equation_of_time_seconds.reset();
  k.longitude_seconds.reset();
  if (solar.kind == SolarTime::Clock) {
    k.solar_time.reset();
  } else {
    double eot = 0;
    solar_offset(solar, utc, &eot);
    assign_iso(k.solar_time ? *k.solar_time : k.solar_time.emplace(), birth.clock);
    if (solar.kind == SolarTime::Apparent) k.equation_of_time_seconds = std::round(eot * 10) / 10;
    k.longitude_seconds = solar.longitude * 240.0 - (offset.total - offset.dst);
  }

  chart.candidate_hours.clear();
  if (hour_known) {
    chart.pillars = texts_of(numbers);
  } else {
    // The date's day pillar, and every hour of it: 早子, 丑 … 亥, 晚子.
    std::int64_t midnight = civil - 12 * 3600;
    numbers.day = day_pillar_of_day(floor_div(midnight, kSecondsPerDay));
    numbers.hour = -1;
    chart.pillars = texts_of(numbers);
    for (int hour = 0; hour <= 23; hour += hour == 0 ? 1 : 2)
      chart.candidate_hours.push_back(pairs_utf8()[hour_pillar_at(midnight + hour * 3600, input.zi_school)]);
  }
  analyse(numbers, birth.term_utc, chart.analysis);
  if (input.sex)
    luck_of(input, birth, numbers, place, chart.luck ? *chart.luck : chart.luck.emplace());
  else
    chart.luck.reset();
  chart.warnings.clear();
  fill_parts({input, place, utc, birth.term_utc, numbers}, chart);

  // Without an hour, a jie anywhere on that day.
  BoundaryContext context{input,   place,          solar,      birth,
                          numbers, chart.warnings, hour_known, hour_known ? input.margin_seconds : 12 * 3600};
  boundary_warnings(context);
}

// ---- parsing -------------------------------------------------------------

CivilMoment parse_civil_moment(std::string_view text) {
  auto fail = [&]() -> InputError {
    return InputError("not a date and time (YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS): \"" +
                      std::string(text) + "\"");
  };
  auto digits = [&](std::size_t at, std::size_t count) {
    if (at + count > text.size()) throw fail();
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
      if (text[i] < '0' || text[i] > '9') throw fail();
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  auto expect = [&](std::size_t at, char wanted) {
    if (at >= text.size() || text[at] != wanted) throw fail();
  };
  CivilMoment m;
  m.year = digits(0, 4);
  expect(4, '-');
  m.month = digits(5, 2);
  expect(7, '-');
  m.day = digits(8, 2);
  if (text.size() == 10) {
    m.has_time = false;
  } else {
    if (text.size() < 16 || (text[10] != 'T' && text[10] != ' ')) throw fail();
    m.hour = digits(11, 2);
    expect(13, ':');
    m.minute = digits(14, 2);
    if (text.size() == 19) {
      expect(16, ':');
      m.second = digits(17, 2);
    } else if (text.size() != 16) {
      throw fail();
    }
  }
  check_civil(m);
  return m;
}

}  // namespace pillar::chart
