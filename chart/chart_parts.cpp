#include "chart_parts.h"

#include <cstring>
#include <optional>
#include <string>

#include "annotations.h"
#include "clocks.h"
#include "cycle_texts.h"
#include "lexicon.h"
#include "minor_luck.h"
#include "palaces.h"
#include "periods.h"
#include "zodiac.h"

namespace pillar::chart::detail {

namespace {

constexpr int kMaxMinorAge = 200;

PalaceNumbers palaces(const PartsContext& c) {
  const PillarNumbers& n = c.numbers;
  int month_branch = n.month % 12;
  if (c.input.palace_month == PalaceMonth::ZhongQi && c.term_utc >= zhongqi_instant(jie_index_at(c.term_utc)))
    month_branch = (month_branch + 1) % 12;
  return palaces_of(n.year, n.month, n.day, n.hour, month_branch, c.input.palace_stem);
}

void minor_luck(const PartsContext& c, Chart& chart, const std::optional<NatalNotes>& notes, int birth_year) {
  chart.minor_luck.clear();
  if (!c.input.minor_luck_to || *c.input.minor_luck_to == 0) return;
  if (c.numbers.hour < 0) throw InputError("小运 needs the hour of birth");
  if (!chart.luck) throw InputError("小运 needs the sex (its direction is the luck's)");
  const Luck& luck = *chart.luck;
  int last = luck.pillars.back().age_sui + 9;  // the end of the last luck pillar
  int to = *c.input.minor_luck_to < 0 ? last : *c.input.minor_luck_to;
  if (to > last)
    throw InputError("小运 to age " + std::to_string(to) + " runs beyond the last luck pillar asked for (it ends at " +
                     std::to_string(last) + "); ask for more luck pillars");
  if (to > kMaxMinorAge) throw InputError("小运 runs to age " + std::to_string(kMaxMinorAge) + " at most");
  chart.minor_luck.resize(to);
  for (int age = 1; age <= to; ++age) {
    MinorLuck& m = chart.minor_luck[age - 1];
    m.age = age;
    m.year = birth_year + age - 1;
    m.pair = minor_luck_pair(c.numbers.hour, luck.forward, age);
    m.notes = notes ? notes->of(m.pair) : PillarNotes{};
  }
}

void periods(const PartsContext& c, Chart& chart) {
  Periods& p = chart.periods;
  p.months.clear();
  if (c.input.months_of)
    for (const MonthPeriod& m : months_of_year(*c.input.months_of)) {
      MonthOfYear& out = p.months.emplace_back();
      out.pair = m.pair;
      out.jie = m.jie;
      assign_iso_with_offset(out.start, m.start, offset_at(c.place, m.start));
    }
  p.days.clear();
  p.days_month.reset();
  p.days_end.clear();
  if (c.input.days_of) {
    MonthDays days = days_of_month(c.input.days_of->first, c.input.days_of->second, c.place);
    MonthOfYear& month = p.days_month.emplace();
    month.pair = days.month.pair;
    month.jie = days.month.jie;
    assign_iso_with_offset(month.start, days.month.start, offset_at(c.place, days.month.start));
    assign_iso_with_offset(p.days_end, days.end, offset_at(c.place, days.end));
    for (int i = 0; i < days.count; ++i)
      p.days.push_back({iso_of(days.days[i].day * kSecondsPerDay).substr(0, 10), days.days[i].pair});
  }
  p.hours.clear();
  p.hours_date.clear();
  if (c.input.hours_of) {
    const lunar::CivilDate& d = *c.input.hours_of;
    std::int64_t day = day_of(reading_of<CivilClock>({d.year, d.month, d.day, 0, 0, 0}));
    p.hours_date = iso_of(day * kSecondsPerDay).substr(0, 10);
    for (const HourPeriod& h : hours_of_day(day, c.input.zi_school))
      p.hours.push_back({h.first_hour, h.end_hour, h.pair, h.day_pair});
  }
}

}  // namespace

void assign_handover(std::string& out, Utc start_utc, CivilReading start_civil) {
  int jie = jie_index_at(start_utc);
  int year_stem = year_pillar_of_year(kFirstYear + (jie - 1) / 12) % 10;
  int first = year_stem % 5, second = first + 5;
  Civil civil = civil_of(start_civil);
  // Put together by hand: a chart's texts are made in a few hundred
  // instructions, and a formatted print alone would take more.
  char text[96];
  std::size_t n = 0;
  auto put = [&](std::string_view piece) {
    std::memcpy(text + n, piece.data(), piece.size());
    n += piece.size();
  };
  auto put_number = [&](int value) {
    if (value >= 10) text[n++] = static_cast<char>('0' + value / 10);
    text[n++] = static_cast<char>('0' + value % 10);
  };
  put("每逢");
  put(texts::stem(first));
  put("、");
  put(texts::stem(second));
  put("年");
  put_number(civil.month);
  put("月");
  put_number(civil.day);
  put("日交脱大运");
  out.assign(text, n);
}

void fill_parts(const PartsContext& c, Chart& chart) {
  const PillarNumbers& n = c.numbers;
  const std::array<int, 4> natal = {n.year, n.month, n.day, n.hour};
  chart.numbers = natal;
  chart.annotated = c.input.annotate;
  for (std::size_t i = 0; i < chart.analysis.pillars.size(); ++i)
    set_text(chart.analysis.pillars[i].self_phase, texts::growth(natal[i] % 10, natal[i] % 12));
  chart.palaces = palaces(c);
  const CivilReading birth_civil = reading_at<CivilClock>(c.utc, offset_at(c.place, c.utc));
  Civil birth = civil_of(birth_civil);
  chart.sign = sign_of(c.input.sign_rule, day_of(birth_civil), c.utc);
  chart.animal = animal_of_year(animal_year(c.input.animal_rule, c.utc, c.place));
  chart.sign_rule = c.input.sign_rule == SignRule::FixedDates ? "dates" : "zhongqi";
  chart.animal_rule = c.input.animal_rule == AnimalRule::LiChunInstant ? "lichun"
                      : c.input.animal_rule == AnimalRule::LiChunDay  ? "lichun-day"
                                                                       : "new-year";

  // Notes only when asked: the natal side costs a little to work out.
  std::optional<NatalNotes> notes;
  if (c.input.annotate) notes.emplace(natal);
  if (chart.luck) {
    Luck& luck = *chart.luck;
    for (std::size_t i = 0; i < luck.pillars.size(); ++i) {
      int step = static_cast<int>(i) + 1;
      int pair = mod(n.month + (luck.forward ? step : -step), 60);
      luck.pillars[i].notes = notes ? notes->of(pair) : PillarNotes{};
    }
    for (AnnualPillar& annual : luck.annual)
      annual.notes = notes ? notes->of(year_pillar_of_year(annual.year)) : PillarNotes{};
  }
  minor_luck(c, chart, notes, birth.year);
  periods(c, chart);
}

}  // namespace pillar::chart::detail
