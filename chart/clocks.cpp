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

// Solar time is the UTC instant plus the longitude's time, on the local day
// nearest the civil clock's: 180° and -180° then read the same, and a zone
// far from its meridian (Pacific/Kiritimati, UTC+14 at 157° W) keeps its date.
std::int64_t solar_ahead(const Solar& solar, Utc utc, int civil_offset, double* equation = nullptr) {
  std::int64_t ahead = std::llround(solar_offset(solar, utc, equation));
  return ahead + floor_div(civil_offset - ahead + kSecondsPerDay / 2, kSecondsPerDay) * kSecondsPerDay;
}

}  // namespace

void out_of_range(const std::string& what) {
  throw InputError(what + " is outside the range of the term table (立春 1880 to the end of 2079)");
}

Solar solar_of(const BirthInput& input) {
  Solar solar;
  solar.kind = input.solar_time.value_or(input.longitude ? SolarTime::Apparent : SolarTime::Standard);
  if (input.longitude) solar.longitude = *input.longitude;
  solar.all_pillars = input.solar_time_all_pillars && needs_longitude(solar.kind);
  return solar;
}

Resolved resolve(const Place& place, CivilReading civil) {
  Place::Resolved r = place.resolve(civil.seconds);
  return {Utc(r.utc), r.offset};
}

Reading read_at(Utc utc, const Place& place, const Solar& solar) {
  Place::Offset offset = place.offset_at(utc.seconds);
  Reading r{utc, utc, {}, offset.total};
  if (solar.kind == SolarTime::Clock) {
    r.clock = reading_at<SolarClock>(utc, offset.total);
  } else if (solar.kind == SolarTime::Standard) {
    r.clock = reading_at<SolarClock>(utc, offset.total - daylight_saving_ahead(offset));
  } else {
    r.clock = reading_at<SolarClock>(utc, solar_ahead(solar, utc, offset.total));
    // Year and month as if the solar clock were the table's.
    if (solar.all_pillars) r.term_utc = instant_of(r.clock, kTableClockOffset);
  }
  return r;
}

bool in_range(const Reading& r) { return r.term_utc >= first_instant() && r.term_utc < end_instant(); }

void check_range(const Reading& r) {
  if (in_range(r)) return;
  if (r.term_utc != r.utc)
    out_of_range("the solar reading " + iso_of(r.clock) + " that year and month are read on");
  out_of_range("the birth " + iso_of(r.utc) + "Z");
}

Utc birth_instant(CivilReading civil, const BirthInput& input, const Place& place) {
  Place::Reading candidates = place.instants_of(civil.seconds);
  Utc earlier(candidates.earlier), later(candidates.later);
  if (candidates.kind == Place::Reading::Unique) return earlier;
  if (!input.local.has_time) {
    // Without an hour only year and month are read at noon: any instant of
    // the date serves, unless the clock skipped the whole date.
    CivilReading midnight = civil - 12 * 3600;
    if (place.instants_of(midnight.seconds).kind == Place::Reading::Gap &&
        place.instants_of((midnight + kSecondsPerDay - 1).seconds).kind == Place::Reading::Gap)
      throw InputError("the date " + iso_of(civil).substr(0, 10) + " does not exist in " + place.name() +
                       ": its clocks skipped it");
    return earlier;
  }
  const char* what = candidates.kind == Place::Reading::Gap ? "does not exist" : "occurs twice";
  if (input.fold == FoldChoice::Reject)
    throw InputError("the local time " + iso_of(civil) + " in " + place.name() + " " + what +
                     " (a change of the clock's offset): it is either " +
                     iso_with_offset(earlier, offset_at(place, earlier)) + " (" + iso_of(earlier) + "Z) or " +
                     iso_with_offset(later, offset_at(place, later)) + " (" + iso_of(later) + "Z); choose the " +
                     "earlier or the later");
  return input.fold == FoldChoice::Earlier ? earlier : later;
}

std::optional<PillarNumbers> numbers_if_readable(const Reading& r, const BirthInput& input) {
  if (!in_range(r)) return std::nullopt;
  PillarNumbers numbers = numbers_at(r.term_utc, r.clock, input.zi_school);
  if (input.year_start == YearStart::LunarNewYear) {
    Civil day = civil_of(r.clock);
    std::optional<lunar::LunarDate> date = lunar::lunar_of({day.year, day.month, day.day}, input.lunar_rule);
    if (!date) return std::nullopt;
    numbers.year = year_pillar_of_year(date->year);
  }
  return numbers;
}

PillarNumbers numbers_of(const Reading& r, const BirthInput& input) {
  check_range(r);
  std::optional<PillarNumbers> numbers = numbers_if_readable(r, input);
  if (!numbers)
    throw InputError("a year pillar from the lunar new year needs a date the lunar calendar holds, " +
                     date_text(lunar::kFirstDate) + " to " + date_text(lunar::kLastDate));
  return *numbers;
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
  static constexpr const char* kKindNames[] = {"clock", "standard", "mean", "apparent"};
  k.solar_kind = kKindNames[static_cast<int>(solar.kind)];
  k.dst_removed_seconds = solar.kind == SolarTime::Standard ? daylight_saving_ahead(offset) : 0;
  k.equation_of_time_seconds.reset();
  k.longitude_seconds.reset();
  if (solar.kind == SolarTime::Clock) {
    k.solar_time.reset();
  } else if (solar.kind == SolarTime::Standard) {
    assign_iso(k.solar_time ? *k.solar_time : k.solar_time.emplace(), birth.clock);
  } else {
    double eot = 0;
    std::int64_t ahead = solar_ahead(solar, birth.utc, offset.total, &eot);
    assign_iso(k.solar_time ? *k.solar_time : k.solar_time.emplace(), birth.clock);
    if (solar.kind == SolarTime::Apparent) k.equation_of_time_seconds = std::round(eot * 10) / 10;
    // Whole days the solar clock was moved to the zone's date count here too.
    k.longitude_seconds = solar.longitude * 240.0 + static_cast<double>(ahead - std::llround(solar_offset(solar, birth.utc))) -
                          (offset.total - daylight_saving_ahead(offset));
  }
}

}  // namespace pillar::chart::detail
