// The luck: its direction, its start counted from the distance to the jie,
// and the pillars that follow.
#include "luck.h"

#include <algorithm>
#include <cmath>

#include "chart_parts.h"
#include "lexicon.h"
#include "luck_methods.h"
#include "texts.h"

namespace pillar::chart::detail {

namespace {

using calendar::days_in_month;

constexpr double kSecondsPerYear = 365.2425 * kSecondsPerDay;

}  // namespace

void luck_of(const BirthInput& input, const Reading& birth, const PillarNumbers& n, const Place& place,
             Luck& luck) {
  const auto& jie = jie_instants();
  int index = jie_index_at(birth.term_utc);
  if (index + 1 >= kJieCount)
    throw InputError("the luck of a birth after 大雪 2079 needs the 小寒 of 2080, beyond the term table");
  bool yang_year = n.year % 2 == 0;  // 甲 丙 戊 庚 壬 have even numbers from 甲子 = 0
  luck.forward = yang_year == (*input.sex == Sex::Male);
  std::int64_t distance =
      luck.forward ? jie[index + 1] - birth.term_utc : birth.term_utc - jie[index];
  assign_iso_with_offset(luck.previous_jie, jie[index], offset_at(place, jie[index]));
  assign_iso_with_offset(luck.next_jie, jie[index + 1], offset_at(place, jie[index + 1]));

  const CivilReading birth_civil = birth.civil();
  const Utc jie_utc = luck.forward ? jie[index + 1] : jie[index];
  const LuckSpan span = luck_span(input.luck_method, distance, birth_civil,
                                  reading_at<CivilClock>(jie_utc, offset_at(place, jie_utc)), luck.forward);
  luck.method = luck_method_name(input.luck_method);
  luck.years = span.years;
  luck.months = span.months;
  luck.days = span.days;
  luck.hours = span.hours;
  luck.minutes = span.minutes;
  luck.seconds = span.seconds;
  const CivilReading start_civil = luck_start_clock(input.luck_method, birth_civil, span);
  // The library's age: two hours of distance make ten days of life, in
  // whole days; the year of that start on its clock less the birth's,
  // whichever method the chart counts by.
  const std::int64_t library_days = distance / 720;
  const TableReading table_birth = table_reading(birth.term_utc);
  luck.library_age = civil_of(table_birth + library_days * kSecondsPerDay).year - civil_of(table_birth).year;
  Resolved start = resolve(place, start_civil);
  assign_iso_with_offset(luck.start, start.utc, start.offset);
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
    Resolved resolved = resolve(place, reading_of<CivilClock>(c));
    double age = static_cast<double>(resolved.utc - birth.utc) / kSecondsPerYear;
    LuckPillar& pillar = luck.pillars[i - 1];
    set_text(pillar.pillar, pairs_utf8()[pair]);
    set_text(pillar.ten_god, ten_god_text(n.day, stem_of(pair)));
    assign_iso_with_offset(pillar.start, resolved.utc, resolved.offset);
    pillar.age = std::round(age * 100) / 100;
    pillar.age_sui = c.year - birth_year + 1;
  }
  luck.annual.clear();
  if (input.annual_from)
    for (int year = *input.annual_from; year <= *input.annual_to; ++year) {
      int pair = year_pillar_of_year(year);
      luck.annual.push_back({year, pairs_utf8()[pair], ten_god_text(n.day, stem_of(pair)), year - birth_year + 1, {}});
    }
}

}  // namespace pillar::chart::detail
