// From a birth moment to the chart: the engine only orchestrates. Each part
// lives in its own file: the input's checks (birth_input), the clocks and
// the pillars read off them (clocks), the analysis (analysis, over the
// lexicon), the luck (luck) and the boundary warnings (warnings).
#include "analysis.h"
#include "birth_input.h"
#include "chart.h"
#include "chart_parts.h"
#include "clocks.h"
#include "luck.h"
#include "pillar_arithmetic.h"
#include "place.h"
#include "texts.h"
#include "warnings.h"

namespace pillar::chart {

using namespace detail;

namespace {

// The pillars of a date whose hour is unknown: the date's day pillar, its
// year and month read at noon, and every hour of it as a candidate (早子, 丑
// … 亥, 晚子).
void date_pillars(CivilReading noon, ZiSchool school, PillarNumbers& numbers, Chart& chart) {
  CivilReading midnight = noon - 12 * 3600;
  numbers.day = day_pillar_of_day(day_of(midnight));
  numbers.hour = -1;
  chart.pillars = texts_of(numbers);
  // The hours of the date as its own clock shows them.
  for (int hour = 0; hour <= 23; hour += hour == 0 ? 1 : 2)
    chart.candidate_hours.push_back(pairs_utf8()[hour_pillar_at(SolarReading(midnight.seconds + hour * 3600), school)]);
}

}  // namespace

Pillars pillars_at(std::int64_t utc_seconds, int clock_offset_seconds, ZiSchool school) {
  const Utc utc(utc_seconds);
  if (utc < first_instant() || utc >= end_instant()) out_of_range("the instant " + iso_of(utc) + "Z");
  return texts_of(numbers_at(utc, reading_at<SolarClock>(utc, clock_offset_seconds), school));
}

Chart make_chart(const BirthInput& input) {
  Chart chart;
  make_chart(input, chart);
  return chart;
}

void make_chart(const BirthInput& input, Chart& chart) {
  check_birth_input(input);
  const Place& place = Place::kept(input.zone, input.utc_offset_seconds, input.longitude);
  const Solar solar = solar_of(input);

  const CivilMoment& m = input.local;
  const bool hour_known = m.has_time;
  // An unknown hour reads year and month at noon.
  const CivilReading civil = reading_of<CivilClock>(
      {m.year, m.month, m.day, hour_known ? m.hour : 12, hour_known ? m.minute : 0, hour_known ? m.second : 0});
  Reading birth = read_at(birth_instant(civil, input, place), place, solar);
  PillarNumbers numbers = numbers_of(birth, input);  // throws outside the range

  // The date of the instant used: in a gap the clock never showed the one typed.
  const Civil date = hour_known ? civil_of(birth.civil()) : Civil{m.year, m.month, m.day, 0, 0, 0};
  chart.lunar = lunar::lunar_of({date.year, date.month, date.day}, input.lunar_rule);
  chart.lunar_rule = input.lunar_rule;
  describe_corrections(birth, place, solar, hour_known, chart.corrections);
  chart.candidate_hours.clear();
  if (hour_known)
    chart.pillars = texts_of(numbers);
  else
    date_pillars(civil, input.zi_school, numbers, chart);
  analyse(numbers, birth.term_utc, chart.analysis);
  if (input.sex)
    luck_of(input, birth, numbers, place, chart.luck ? *chart.luck : chart.luck.emplace());
  else
    chart.luck.reset();

  fill_parts({input, place, birth.utc, birth.term_utc, numbers}, chart);

  chart.warnings.clear();
  // Without an hour, a jie anywhere on that day.
  BoundaryContext context{input,   place,          solar,      birth,
                          numbers, chart.warnings, hour_known, hour_known ? input.margin_seconds : 12 * 3600};
  boundary_warnings(context);
}

}  // namespace pillar::chart
