// The luck: its direction, its start counted from the distance to the jie,
// and the pillars that follow.
#include "luck.h"

#include <algorithm>
#include <cmath>

#include "lexicon.h"
#include "texts.h"

namespace pillar::chart::detail {

namespace {

using calendar::days_in_month;

constexpr double kSecondsPerYear = 365.2425 * kSecondsPerDay;

// A civil reading moved on by whole years and months (the day kept, or the
// month's last day), then by seconds.
CivilReading add_civil(CivilReading clock, int years, int months, std::int64_t seconds) {
  Civil c = civil_of(clock);
  int month_count = c.year * 12 + (c.month - 1) + years * 12 + months;
  int year = month_count / 12, month = month_count % 12 + 1;
  int day = std::min(c.day, days_in_month(year, month));
  return reading_of<CivilClock>({year, month, day, c.hour, c.minute, c.second}) + seconds;
}

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
  CivilReading start_civil;
  // Two hours of distance make ten days of life, counted in whole days; the
  // library's age is the year of that start on its clock less the birth's,
  // whichever method the chart counts by.
  const std::int64_t days = distance / 720;
  const TableReading table_birth = table_reading(birth.term_utc);
  luck.library_age = civil_of(table_birth + days * kSecondsPerDay).year - civil_of(table_birth).year;
  if (input.luck_method == LuckMethod::LibraryDays) {
    luck.method = "days";
    luck.years = static_cast<int>(days / 360);
    luck.months = static_cast<int>(days % 360 / 30);
    luck.days = static_cast<int>(days % 30);
    start_civil = birth_civil + days * kSecondsPerDay;
  } else {
    luck.method = "minutes";
    std::int64_t life = distance * 120;  // 3 days of distance are 360 days of life
    constexpr std::int64_t kMonth = 30 * kSecondsPerDay, kYear = 12 * kMonth;
    luck.years = static_cast<int>(life / kYear);
    luck.months = static_cast<int>(life % kYear / kMonth);
    luck.days = static_cast<int>(life % kMonth / kSecondsPerDay);
    start_civil = add_civil(birth_civil, luck.years, luck.months, life % kMonth);
  }
  Resolved start = resolve(place, start_civil);
  assign_iso_with_offset(luck.start, start.utc, start.offset);

  // Each luck pillar starts ten civil years after the one before, on the
  // same day and time (29 February on the 28th when the year has none).
  luck.pillars.resize(input.luck_count);
  const Civil first = civil_of(start_civil);
  for (int i = 1; i <= input.luck_count; ++i) {
    int pair = luck_pillar_pair(n, luck.forward, i);
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
  }
  luck.annual.clear();
  if (input.annual_from)
    for (int year = *input.annual_from; year <= *input.annual_to; ++year) {
      int pair = year_pillar_of_year(year);
      luck.annual.push_back({year, pairs_utf8()[pair], ten_god_text(n.day, stem_of(pair)), {}});
    }
}

}  // namespace pillar::chart::detail
