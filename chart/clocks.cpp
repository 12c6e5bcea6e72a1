// From a civil reading to the instants and clocks the pillars are read on.
#include "clocks.h"

#include <cmath>

#include "equation_of_time.h"
#include "lunar_calendar.h"

namespace pillar::chart::detail {

namespace {

// Seconds the solar clock runs ahead of UTC at `utc`.
double solar_offset(const Solar& solar, Utc utc, double* equation = nullptr) {
  double offset = solar.longitude * 240.0;  // 4 minutes a degree
  if (solar.kind == SolarTime::Apparent) {
    double eot = equation_of_time(utc.seconds);
    if (equation) *equation = eot;
    offset += eot;
  }
  return offset;
}

std::string date_text(const lunar::CivilDate& date) {
  return iso_of(Civil{date.year, date.month, date.day, 0, 0, 0}).substr(0, 10);
}

}  // namespace

void out_of_range(const std::string& what) {
  throw InputError(what + " is outside the range of the term table (立春 1880 to the end of 2079)");
}

Solar solar_of(const BirthInput& input) {
  Solar solar;
  if (input.longitude) {
    solar.kind = input.solar_time.value_or(SolarTime::Apparent);
    solar.longitude = *input.longitude;
    solar.all_pillars = input.solar_time_all_pillars && solar.kind != SolarTime::Clock;
  }
  return solar;
}

Reading read_at(Utc utc, const Place& place, const Solar& solar) {
  Reading r{utc, utc, {}, offset_at(place, utc)};
  if (solar.kind == SolarTime::Clock) {
    r.clock = reading_at<SolarClock>(utc, r.offset);
  } else {
    r.clock = reading_at<SolarClock>(utc, std::llround(solar_offset(solar, utc)));
    // Year and month as if the solar clock were the table's.
    if (solar.all_pillars) r.term_utc = instant_of(r.clock, kTableClockOffset);
  }
  return r;
}

bool in_range(const Reading& r) { return r.term_utc >= first_instant() && r.term_utc < end_instant(); }

void check_range(const Reading& r) {
  if (!in_range(r)) out_of_range("the birth " + iso_of(r.utc) + "Z");
}

Utc birth_instant(CivilReading civil, const BirthInput& input, const Place& place) {
  Place::Reading candidates = place.instants_of(civil.seconds);
  Utc earlier(candidates.earlier), later(candidates.later);
  if (candidates.kind == Place::Reading::Unique) return earlier;
  const char* what = candidates.kind == Place::Reading::Gap ? "does not exist" : "occurs twice";
  if (input.fold == FoldChoice::Reject || !input.local.has_time)
    throw InputError("the local time " + iso_of(civil) + " in " + place.name() + " " + what +
                     " (a change of the clock's offset): it is either " +
                     iso_with_offset(earlier, offset_at(place, earlier)) + " (" + iso_of(earlier) + "Z) or " +
                     iso_with_offset(later, offset_at(place, later)) + " (" + iso_of(later) + "Z); choose the " +
                     "earlier or the later");
  return input.fold == FoldChoice::Earlier ? earlier : later;
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

void describe_corrections(const Reading& birth, const Place& place, const Solar& solar, bool hour_known,
                          Corrections& k) {
  Place::Offset offset = place.offset_at(birth.utc.seconds);
  k.zone = place.name();
  k.utc_offset_seconds = offset.total;
  k.dst_seconds = offset.dst;
  assign_iso_with_offset(k.local, birth.utc, offset.total);
  if (!hour_known) k.local.resize(10);
  assign_iso(k.utc, birth.utc, "Z");
  k.solar_kind = solar.kind == SolarTime::Clock ? "clock" : solar.kind == SolarTime::Mean ? "mean" : "apparent";
  k.equation_of_time_seconds.reset();
  k.longitude_seconds.reset();
  if (solar.kind == SolarTime::Clock) {
    k.solar_time.reset();
  } else {
    double eot = 0;
    solar_offset(solar, birth.utc, &eot);
    assign_iso(k.solar_time ? *k.solar_time : k.solar_time.emplace(), birth.clock);
    if (solar.kind == SolarTime::Apparent) k.equation_of_time_seconds = std::round(eot * 10) / 10;
    k.longitude_seconds = solar.longitude * 240.0 - (offset.total - offset.dst);
  }
}

}  // namespace pillar::chart::detail
