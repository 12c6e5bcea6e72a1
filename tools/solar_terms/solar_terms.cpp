// Computes the instants of the 24 solar terms of 1880-2079 on the clock of
// UTC+8, to the second, and writes them as the library's solar-term table.
//
//   solar_terms DELTA_T_CSV --output FILE   write the table source
//   solar_terms DELTA_T_CSV --list YEAR...  print the given years, one term a line:
//                                           "year index month day hour minute second"
//
// A term begins when the sun's apparent geocentric ecliptic longitude, on the
// true equinox and ecliptic of date, reaches its multiple of 15°:
//   - the Earth's heliocentric and barycentric position and velocity from
//     eraEpv00, the Sun's barycentric position retarded for light time;
//   - annual aberration (eraAb) with the Earth's barycentric velocity;
//   - frame bias, IAU 2006 precession and IAU 2000A nutation (eraPn06a),
//     then the true obliquity of date for the ecliptic;
//   - the crossing solved in TT (taken as TDB, 2 ms apart) by Newton steps
//     until a step is below 1 µs.
// TT becomes UT with ΔT: the observed values of the csv, linearly
// interpolated; after the last observed value (2023.33, 69.18 s) the
// prediction ΔT = ΔT_last + 0.0032 s/yr² × (year − year_last)², which starts
// level with the last observation (ΔT has hardly moved since 2018) and bends
// upward with the long-term parabola of tidal braking (32 s per century²).
// The instant is then rounded to the nearest second of UTC+8.
//
// The 26 instants printed for the table (all of 2000, 立春 1901, 大雪 2048)
// replace the computed ones; the distance of the computation from each is
// reported on standard error.
#include <erfa.h>
#include <erfam.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "date_value.h"

namespace {

using pillar::calendar::CivilTime;
using pillar::calendar::Seconds;

// The table's span and layout, as the library reads it.
constexpr int kFirstTableYear = 1880;
constexpr int kLastTableYear = 2079;
constexpr int kTermCount = 24;

constexpr double kPi = 3.14159265358979323846;
constexpr double kLocalOffsetSeconds = 8 * 3600;
// J2000.0 (2000-01-01 12:00 TT) in days after the epoch of the date value.
constexpr double kJ2000InDateDays = 36526.5;

// ---- ΔT -------------------------------------------------------------------

struct DeltaTPoint {
  double year, seconds;
};

constexpr double kPredictionCurvature = 0.0032;  // s/yr², 32 s per century²

class DeltaT {
 public:
  explicit DeltaT(const char* csv_path) {
    std::ifstream in(csv_path);
    if (!in) {
      std::fprintf(stderr, "solar_terms: cannot read %s\n", csv_path);
      std::exit(2);
    }
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#' || line[0] == 'y') continue;
      DeltaTPoint point;
      if (std::sscanf(line.c_str(), "%lf,%lf", &point.year, &point.seconds) == 2)
        points_.push_back(point);
    }
    if (points_.size() < 2) {
      std::fprintf(stderr, "solar_terms: no ΔT values in %s\n", csv_path);
      std::exit(2);
    }
  }

  double at(double year) const {
    const DeltaTPoint& last = points_.back();
    if (year >= last.year) {
      double after = year - last.year;
      return last.seconds + kPredictionCurvature * after * after;
    }
    if (year <= points_.front().year) return points_.front().seconds;
    std::size_t i = 1;
    while (points_[i].year < year) ++i;
    const DeltaTPoint& a = points_[i - 1];
    const DeltaTPoint& b = points_[i];
    return a.seconds + (b.seconds - a.seconds) * (year - a.year) / (b.year - a.year);
  }

 private:
  std::vector<DeltaTPoint> points_;
};

// ---- the sun's apparent longitude -----------------------------------------

// Days of TT after J2000.0 are passed as ERFA's two-part date.
double apparent_solar_longitude(double tt_days) {
  double earth_helio[2][3], earth_bary[2][3];
  eraEpv00(ERFA_DJ00, tt_days, earth_helio, earth_bary);  // warns outside 1900-2100; still valid

  // The sun as seen now left it one light time ago.
  double to_sun[3], distance = 0, light_days = 0;
  for (int pass = 0; pass < 3; ++pass) {
    double then_helio[2][3], then_bary[2][3];
    eraEpv00(ERFA_DJ00, tt_days - light_days, then_helio, then_bary);
    for (int i = 0; i < 3; ++i) to_sun[i] = (then_bary[0][i] - then_helio[0][i]) - earth_bary[0][i];
    distance = eraPm(to_sun);
    light_days = distance * ERFA_AULT / ERFA_DAYSEC;
  }

  double natural[3], velocity[3], apparent[3];
  eraSxp(1.0 / distance, to_sun, natural);
  eraSxp(ERFA_AULT / ERFA_DAYSEC, earth_bary[1], velocity);  // in units of c
  double bm1 = std::sqrt(1.0 - eraPdp(velocity, velocity));
  eraAb(natural, velocity, distance, bm1, apparent);

  double dpsi, deps, epsa, rb[3][3], rp[3][3], rbp[3][3], rn[3][3], rbpn[3][3];
  eraPn06a(ERFA_DJ00, tt_days, &dpsi, &deps, &epsa, rb, rp, rbp, rn, rbpn);
  double of_date[3];
  eraRxp(rbpn, apparent, of_date);

  double obliquity = epsa + deps;
  double y = std::cos(obliquity) * of_date[1] + std::sin(obliquity) * of_date[2];
  return std::atan2(y, of_date[0]);
}

double wrapped(double angle) { return std::remainder(angle, 2 * kPi); }

// TT days after J2000.0 at which the longitude reaches `target` (radians),
// starting from `guess`.
double solve_crossing(double target, double guess) {
  constexpr double kDerivativeStep = 1e-3;  // days
  double t = guess;
  for (int iteration = 0; iteration < 30; ++iteration) {
    double miss = wrapped(apparent_solar_longitude(t) - target);
    double rate = wrapped(apparent_solar_longitude(t + kDerivativeStep) -
                          apparent_solar_longitude(t - kDerivativeStep)) /
                  (2 * kDerivativeStep);
    double step = miss / rate;
    t -= step;
    if (std::fabs(step) < 1e-6 / ERFA_DAYSEC) return t;
  }
  std::fprintf(stderr, "solar_terms: no convergence near %.3f\n", guess);
  std::exit(3);
}

// ---- the table ------------------------------------------------------------

constexpr int kFirstCalendarLongitude = 285;  // 小寒

// Local instant of calendar index `index` (1 = 小寒) of `year`.
Seconds compute_term(int year, int index, const DeltaT& delta_t) {
  double target = std::fmod(kFirstCalendarLongitude + 15.0 * (index - 1), 360.0) * kPi / 180;
  double january_first = static_cast<double>(pillar::calendar::day_of(year, 1, 1)) - kJ2000InDateDays;
  double guess = january_first + 5.5 + 15.22 * (index - 1);
  double tt_days = solve_crossing(target, guess);
  double decimal_year = 2000.0 + tt_days / 365.25;
  double local_seconds =
      (tt_days + kJ2000InDateDays) * ERFA_DAYSEC - delta_t.at(decimal_year) + kLocalOffsetSeconds;
  return std::llround(local_seconds);
}

struct PublishedTerm {
  int year, index;
  CivilTime local;
};

// The printed instants, which the table takes verbatim.
const PublishedTerm kPublishedTerms[] = {
    {2000, 1, {2000, 1, 6, 9, 0, 41}},     {2000, 2, {2000, 1, 21, 2, 23, 2}},
    {2000, 3, {2000, 2, 4, 20, 40, 23}},   {2000, 4, {2000, 2, 19, 16, 33, 17}},
    {2000, 5, {2000, 3, 5, 14, 42, 39}},   {2000, 6, {2000, 3, 20, 15, 35, 15}},
    {2000, 7, {2000, 4, 4, 19, 31, 58}},   {2000, 8, {2000, 4, 20, 2, 39, 30}},
    {2000, 9, {2000, 5, 5, 12, 50, 10}},   {2000, 10, {2000, 5, 21, 1, 49, 25}},
    {2000, 11, {2000, 6, 5, 16, 58, 34}},  {2000, 12, {2000, 6, 21, 9, 47, 42}},
    {2000, 13, {2000, 7, 7, 3, 13, 56}},   {2000, 14, {2000, 7, 22, 20, 42, 41}},
    {2000, 15, {2000, 8, 7, 13, 2, 59}},   {2000, 16, {2000, 8, 23, 3, 48, 31}},
    {2000, 17, {2000, 9, 7, 15, 59, 9}},   {2000, 18, {2000, 9, 23, 1, 27, 35}},
    {2000, 19, {2000, 10, 8, 7, 38, 12}},  {2000, 20, {2000, 10, 23, 10, 47, 29}},
    {2000, 21, {2000, 11, 7, 10, 48, 3}},  {2000, 22, {2000, 11, 22, 8, 19, 21}},
    {2000, 23, {2000, 12, 7, 3, 37, 2}},   {2000, 24, {2000, 12, 21, 21, 37, 25}},
    {1901, 3, {1901, 2, 4, 19, 39, 59}},   {2048, 23, {2048, 12, 6, 18, 59, 56}},
};

// The instant the table holds: the printed one where there is one.
Seconds table_term(int year, int index, const DeltaT& delta_t, bool report) {
  Seconds computed = compute_term(year, index, delta_t);
  for (const PublishedTerm& published : kPublishedTerms) {
    if (published.year != year || published.index != index) continue;
    Seconds printed = pillar::calendar::seconds_of(published.local);
    if (report)
      std::fprintf(stderr, "  %d index %2d: computed %+lld s from the printed value\n", year,
                   index, static_cast<long long>(computed - printed));
    return printed;
  }
  return computed;
}

void write_table(const char* path, const DeltaT& delta_t) {
  std::ostringstream out;
  out << "// Generated by tools/solar_terms; do not edit. Regenerate with\n"
         "//   cmake --build --preset native --target solar_term_table\n"
         "#include \"calendar.h\"\n\n"
         "namespace pillar::calendar {\n\n"
         "// month, day, hour, minute, second (UTC+8) of the 24 terms of each year,\n"
         "// 小寒 first.\n"
         "const std::array<SolarTermEntry, kSolarTermEntryCount> kSolarTermTable = {{\n";
  std::fprintf(stderr, "distance from the printed instants (computed - printed):\n");
  for (int year = kFirstTableYear; year <= kLastTableYear; ++year) {
    out << "    // " << year << "\n";
    for (int index = 1; index <= kTermCount; ++index) {
      CivilTime t = pillar::calendar::civil_time_of(table_term(year, index, delta_t, true));
      if (t.year != year) {
        std::fprintf(stderr, "solar_terms: term %d of %d falls in %d\n", index, year, t.year);
        std::exit(3);
      }
      out << (index % 6 == 1 ? "    " : " ") << "{" << t.month << ", " << t.day << ", " << t.hour
          << ", " << t.minute << ", " << t.second << "}," << (index % 6 == 0 ? "\n" : "");
    }
  }
  out << "}};\n\n}  // namespace pillar::calendar\n";
  std::ofstream file(path);
  file << out.str();
  if (!file) {
    std::fprintf(stderr, "solar_terms: cannot write %s\n", path);
    std::exit(2);
  }
}

void list_year(int year, const DeltaT& delta_t) {
  for (int index = 1; index <= kTermCount; ++index) {
    CivilTime t = pillar::calendar::civil_time_of(table_term(year, index, delta_t, false));
    std::printf("%d %d %d %d %d %d %d\n", year, index, t.month, t.day, t.hour, t.minute, t.second);
  }
}

int usage() {
  std::fprintf(stderr,
               "usage: solar_terms DELTA_T_CSV --output FILE\n"
               "       solar_terms DELTA_T_CSV --list YEAR...\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return usage();
  DeltaT delta_t(argv[1]);
  std::string mode = argv[2];
  auto start = std::chrono::steady_clock::now();
  if (mode == "--output" && argc == 4) {
    write_table(argv[3], delta_t);
  } else if (mode == "--list") {
    for (int i = 3; i < argc; ++i) {
      int year = std::atoi(argv[i]);
      if (year < kFirstTableYear || year > kLastTableYear) return usage();
      list_year(year, delta_t);
    }
  } else {
    return usage();
  }
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  std::fprintf(stderr, "solar_terms: %.2f s\n", elapsed.count());
  return 0;
}
