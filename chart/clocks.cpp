// From a civil reading to the instants and clocks the pillars are read on.
#include "clocks.h"

#include <cmath>

#include "equation_of_time.h"
#include "lunar_calendar.h"

namespace pillar::chart::detail {

namespace {

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

std::string date_text(const lunar::CivilDate& date) {
  return iso_of(seconds_of_civil(date.year, date.month, date.day, 0, 0, 0)).substr(0, 10);
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

Reading read_at(std::int64_t utc, const Place& place, const Solar& solar) {
  Reading r{utc, utc, 0, place.offset_at(utc).total};
  if (solar.kind == SolarTime::Clock) {
    r.clock = utc + r.offset;
  } else {
    r.clock = utc + std::llround(solar_offset(solar, utc));
    if (solar.all_pillars) r.term_utc = r.clock - kTableClockOffset;
  }
  return r;
}

bool in_range(const Reading& r) { return r.term_utc >= first_instant() && r.term_utc < end_instant(); }

void check_range(const Reading& r) {
  if (!in_range(r)) out_of_range("the birth " + iso_of(r.utc) + "Z");
}

std::int64_t birth_instant(std::int64_t civil, const BirthInput& input, const Place& place) {
  Place::Reading candidates = place.instants_of(civil);
  if (candidates.kind == Place::Reading::Unique) return candidates.earlier;
  const char* what = candidates.kind == Place::Reading::Gap ? "does not exist" : "occurs twice";
  if (input.fold == FoldChoice::Reject || !input.local.has_time)
    throw InputError("the local time " + iso_of(civil) + " in " + place.name() + " " + what +
                     " (a change of the clock's offset): it is either " +
                     iso_with_offset(candidates.earlier, place.offset_at(candidates.earlier).total) + " (" +
                     iso_of(candidates.earlier) + "Z) or " +
                     iso_with_offset(candidates.later, place.offset_at(candidates.later).total) + " (" +
                     iso_of(candidates.later) + "Z); choose the earlier or the later");
  return input.fold == FoldChoice::Earlier ? candidates.earlier : candidates.later;
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
  Place::Offset offset = place.offset_at(birth.utc);
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
