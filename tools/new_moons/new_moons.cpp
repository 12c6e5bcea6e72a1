// Computes every new moon from December 1879 to January 2081 on the clock of
// UTC+8, to the second, and writes them as the new-moon table.
//
//   new_moons DELTA_T_CSV --output FILE       write the table source
//   new_moons DELTA_T_CSV --list YEAR...      print the table's values for some years, one a line:
//                                             "year month day hour minute second source"
//   new_moons DELTA_T_CSV --fit FILE          fit the eraMoon98 correction against DE405, write it
//   new_moons DELTA_T_CSV --report            the measurements behind the table (markdown)
//
// A new moon is the instant at which the Moon's apparent geocentric ecliptic
// longitude equals the Sun's (true ecliptic and equinox of date; the reduction
// is tools/astro's), solved in TT. The ephemeris:
//   - JPL DE405 (casacore's MeasJPL) where its table reaches,
//     1959-12-10 .. 2060-01-29;
//   - elsewhere the Earth from eraEpv00 and the Moon from eraMoon98, the
//     instant then corrected by a few periodic terms in the Moon's and the
//     Sun's mean arguments, fitted against DE405 over 1960-2060
//     (moon98_correction.h, written by --fit).
// TT becomes UTC+8 with the ΔT of the solar-term table (tools/astro/delta_t.h),
// rounded to the nearest second.
#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "apparent_place.h"
#include "date_value.h"
#include "de405.h"
#include "delta_t.h"
#include "lunar_calendar.h"
#include "moon98_correction.h"
#include "new_moon_table.h"
#include "term_table.h"

namespace {

using pillar::astro::ApparentSky;
using pillar::astro::De405Ephemeris;
using pillar::astro::DeltaT;
using pillar::astro::Ephemeris;
using pillar::astro::kJ2000InDateDays;
using pillar::astro::kPi;
using pillar::calendar::CivilTime;
using pillar::calendar::Seconds;

constexpr double kLocalOffsetSeconds = 8 * 3600;
// The table's span, local dates.
constexpr CivilTime kFirstListed = {1879, 12, 1, 0, 0, 0};
constexpr CivilTime kEndListed = {2081, 2, 1, 0, 0, 0};

const pillar::astro::ErfaEphemeris kErfa;
const De405Ephemeris kDe405;

// ---- new moons ----------------------------------------------------------------

double elongation(const Ephemeris& ephemeris, double tt) {
  ApparentSky sky(ephemeris, tt);
  return pillar::astro::wrapped(sky.moon_longitude() - sky.sun_longitude());
}

// Mean new moon number k, TT days after J2000.0.
double mean_new_moon(int k) { return 5.09766 + 29.530588861 * k; }

// Solved to 10 µs: the Moon's elongation changes by 0.5″ a second, and DE405's
// interpolation leaves its last microseconds noisy.
double solve_new_moon(const Ephemeris& ephemeris, int k) {
  return pillar::astro::solve_crossing([&](double tt) { return elongation(ephemeris, tt); },
                                       mean_new_moon(k), 1e-4, 1e-5 / ERFA_DAYSEC);
}

// A term's factor: the power `elongation` of the mean elongation D (radians,
// from −π to π).
double correction_factor(const pillar::lunar::CorrectionTerm& term, double tt) {
  return std::pow(pillar::astro::wrapped(eraFad03(tt / ERFA_DJC)), term.elongation);
}

// The mean arguments of the correction's terms at TT days after J2000.0.
double correction_argument(const pillar::lunar::CorrectionTerm& term, double tt) {
  double centuries = tt / ERFA_DJC;
  return term.moon_anomaly * eraFal03(centuries) + term.sun_anomaly * eraFalp03(centuries) +
         term.latitude * eraFaf03(centuries) + term.node * eraFaom03(centuries);
}

// Seconds to add to an eraMoon98 new moon.
double moon98_correction(double tt) {
  double seconds = 0, power = 1;
  for (double coefficient : pillar::lunar::kCorrectionPolynomial) {
    seconds += coefficient * power;
    power *= tt / ERFA_DJC;
  }
  for (const auto& term : pillar::lunar::kCorrectionTerms) {
    double argument = correction_argument(term, tt);
    seconds += correction_factor(term, tt) * (term.sine * std::sin(argument) + term.cosine * std::cos(argument));
  }
  return seconds;
}

enum class Source { De405, Moon98 };

struct NewMoon {
  int k;
  double tt;  // days after J2000.0
  Source source;
};

NewMoon table_new_moon(int k) {
  double guess = mean_new_moon(k);
  if (De405Ephemeris::covers(guess)) return {k, solve_new_moon(kDe405, k), Source::De405};
  double tt = solve_new_moon(kErfa, k);
  return {k, tt + moon98_correction(tt) / ERFA_DAYSEC, Source::Moon98};
}

double decimal_year(double tt) { return 2000.0 + tt / 365.25; }

// Local seconds (UTC+8) since 1899-12-30, unrounded.
double local_seconds(double tt, const DeltaT& delta_t) {
  return (tt + kJ2000InDateDays) * ERFA_DAYSEC - delta_t.at(decimal_year(tt)) + kLocalOffsetSeconds;
}

int first_k() {
  double tt = static_cast<double>(pillar::calendar::seconds_of(kFirstListed)) / ERFA_DAYSEC - kJ2000InDateDays;
  return static_cast<int>(std::floor((tt - 5.09766) / 29.530588861)) - 1;
}

// The table's new moons, in order.
std::vector<NewMoon> table_new_moons(const DeltaT& delta_t) {
  std::vector<NewMoon> moons;
  Seconds first = pillar::calendar::seconds_of(kFirstListed);
  Seconds end = pillar::calendar::seconds_of(kEndListed);
  for (int k = first_k();; ++k) {
    NewMoon moon = table_new_moon(k);
    double local = local_seconds(moon.tt, delta_t);
    if (local >= end) break;
    if (local >= first) moons.push_back(moon);
  }
  return moons;
}

CivilTime rounded_local(double tt, const DeltaT& delta_t) {
  return pillar::calendar::civil_time_of(std::llround(local_seconds(tt, delta_t)));
}

void write_table(const char* path, const DeltaT& delta_t) {
  std::vector<NewMoon> moons = table_new_moons(delta_t);
  std::ostringstream out;
  out << "// Generated by tools/new_moons; do not edit. Regenerate with\n"
         "//   cmake --build --preset native --target new_moon_table\n"
         "#include \"new_moon_table.h\"\n\n"
         "namespace pillar::lunar {\n\n"
         "namespace {\n\n"
         "// year, month, day, hour, minute, second (UTC+8)\n"
         "constexpr NewMoonEntry kEntries[] = {\n";
  int column = 0;
  for (const NewMoon& moon : moons) {
    CivilTime t = rounded_local(moon.tt, delta_t);
    out << (column == 0 ? "    " : " ") << "{" << t.year << ", " << t.month << ", " << t.day << ", "
        << t.hour << ", " << t.minute << ", " << t.second << "},";
    if (++column == 3) {
      out << "\n";
      column = 0;
    }
  }
  out << (column ? "\n" : "") << "};\n\n}  // namespace\n\n"
      << "const std::span<const NewMoonEntry> kNewMoons(kEntries);\n\n"
      << "}  // namespace pillar::lunar\n";
  std::ofstream file(path);
  file << out.str();
  if (!file) {
    std::fprintf(stderr, "new_moons: cannot write %s\n", path);
    std::exit(2);
  }
  std::fprintf(stderr, "new_moons: %zu new moons\n", moons.size());
}

void list_years(const std::vector<int>& years, const DeltaT& delta_t) {
  for (int year : years) {
    double start = static_cast<double>(pillar::calendar::day_of(year, 1, 1)) - kJ2000InDateDays;
    int k = static_cast<int>(std::floor((start - 5.09766) / 29.530588861)) - 1;
    for (;; ++k) {
      NewMoon moon = table_new_moon(k);
      CivilTime t = rounded_local(moon.tt, delta_t);
      if (t.year > year) break;
      if (t.year < year) continue;
      std::printf("%d %d %d %d %d %d %s\n", t.year, t.month, t.day, t.hour, t.minute, t.second,
                  moon.source == Source::De405 ? "DE405" : "moon98");
    }
  }
}

// ---- the correction's fit -------------------------------------------------------

// The terms offered to the fit: sines and cosines of sums of small multiples
// of the Moon's and the Sun's mean anomalies, the Moon's argument of latitude
// and the node, the arguments of the periodic terms eraMoon98 leaves out;
// each also times D and D², the mean elongation, which at new moon stays near
// 0 and measures how far the true new moon lies from the mean one. At new
// moon D follows l and l' closely, so the terms in D and D² are nearly
// collinear with the others: their coefficients come out large (up to 10⁶ s)
// and cancel. What counts is the sum, which the held-out checks measure;
// written to ten digits, it is exact to far below a millisecond. Powers of D
// beyond 2, or more harmonics without D, fit no better on held-out years.
constexpr int kElongationPowers = 2;

std::vector<pillar::lunar::CorrectionTerm> candidate_terms() {
  std::vector<pillar::lunar::CorrectionTerm> terms;
  for (int d = 0; d <= kElongationPowers; ++d)
    for (int l = -3; l <= 3; ++l)
      for (int lp = -2; lp <= 2; ++lp)
        for (int f = -4; f <= 4; f += 2) {
          int first = l != 0 ? l : lp != 0 ? lp : f;
          if (first <= 0) continue;  // one of each pair of opposite arguments, none of 0
          if (std::abs(l) + std::abs(lp) + std::abs(f) > 4) continue;
          terms.push_back({d, l, lp, f, 0});
        }
  terms.push_back({0, 0, 0, 0, 1});
  terms.push_back({0, 0, 0, 0, 2});
  terms.push_back({0, 1, 0, 0, 1});
  terms.push_back({0, 1, 0, 0, -1});
  return terms;
}
const std::vector<pillar::lunar::CorrectionTerm> kCandidateTerms = candidate_terms();

struct Residual {
  double tt, seconds;  // DE405 minus eraMoon98, seconds
};

// The new moons DE405 reaches, in both ephemerides.
std::vector<Residual> residuals() {
  std::vector<Residual> out;
  for (int k = first_k();; ++k) {
    double guess = mean_new_moon(k);
    if (!De405Ephemeris::covers(guess)) {
      if (guess > 0) break;
      continue;
    }
    double erfa = solve_new_moon(kErfa, k);
    out.push_back({erfa, (solve_new_moon(kDe405, k) - erfa) * ERFA_DAYSEC});
  }
  return out;
}

// A constant and a linear drift: a quadratic term fits no better and
// extrapolates worse (measured on spans held out of the fit).
constexpr int kPolynomialTerms = 2;

struct Fit {
  std::vector<double> polynomial;  // seconds, in Julian centuries of TT after J2000.0
  std::vector<pillar::lunar::CorrectionTerm> terms;
};

// Least squares over the residuals `use` accepts (normal equations, Gaussian
// elimination with partial pivoting; 45 unknowns).
template <typename Use>
Fit fit(const std::vector<Residual>& data, Use use) {
  const std::size_t terms = kCandidateTerms.size(), p = kPolynomialTerms, n = p + 2 * terms;
  std::vector<std::vector<double>> a(n, std::vector<double>(n + 1, 0.0));
  std::vector<double> row(n);
  for (const Residual& r : data) {
    if (!use(r)) continue;
    for (std::size_t j = 0; j < p; ++j) row[j] = std::pow(r.tt / ERFA_DJC, static_cast<double>(j));
    for (std::size_t j = 0; j < terms; ++j) {
      double argument = correction_argument(kCandidateTerms[j], r.tt);
      double factor = correction_factor(kCandidateTerms[j], r.tt);
      row[p + 2 * j] = factor * std::sin(argument);
      row[p + 1 + 2 * j] = factor * std::cos(argument);
    }
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) a[i][j] += row[i] * row[j];
      a[i][n] += row[i] * r.seconds;
    }
  }
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t pivot = c;
    for (std::size_t i = c + 1; i < n; ++i)
      if (std::fabs(a[i][c]) > std::fabs(a[pivot][c])) pivot = i;
    std::swap(a[c], a[pivot]);
    for (std::size_t i = 0; i < n; ++i) {
      if (i == c) continue;
      double factor = a[i][c] / a[c][c];
      for (std::size_t j = c; j <= n; ++j) a[i][j] -= factor * a[c][j];
    }
  }
  Fit result;
  for (std::size_t j = 0; j < p; ++j) result.polynomial.push_back(a[j][n] / a[j][j]);
  for (std::size_t j = 0; j < terms; ++j) {
    pillar::lunar::CorrectionTerm term = kCandidateTerms[j];
    std::size_t sine = p + 2 * j, cosine = sine + 1;
    term.sine = a[sine][n] / a[sine][sine];
    term.cosine = a[cosine][n] / a[cosine][cosine];
    result.terms.push_back(term);
  }
  return result;
}

double evaluate(const Fit& f, double tt) {
  double seconds = 0, power = 1;
  for (double coefficient : f.polynomial) {
    seconds += coefficient * power;
    power *= tt / ERFA_DJC;
  }
  for (const auto& term : f.terms) {
    double argument = correction_argument(term, tt);
    seconds += correction_factor(term, tt) * (term.sine * std::sin(argument) + term.cosine * std::cos(argument));
  }
  return seconds;
}

struct Stats {
  int count = 0;
  double sum = 0, squares = 0, worst = 0;
  void add(double x) {
    ++count;
    sum += x;
    squares += x * x;
    if (std::fabs(x) > std::fabs(worst)) worst = x;
  }
  double mean() const { return count ? sum / count : 0; }
  double rms() const { return count ? std::sqrt(squares / count) : 0; }
};

void print_stats(const char* label, const Stats& s) {
  std::printf("| %s | %d | %+.2f s | %.2f s | %+.2f s |\n", label, s.count, s.mean(), s.rms(), s.worst);
}

int year_of(double tt) { return static_cast<int>(std::floor(decimal_year(tt))); }

template <typename Use>
Stats remaining(const std::vector<Residual>& data, const Fit& f, Use use) {
  Stats s;
  for (const Residual& r : data)
    if (use(r)) s.add(r.seconds - evaluate(f, r.tt));
  return s;
}

void write_fit(const char* path) {
  std::vector<Residual> data = residuals();
  Fit all = fit(data, [](const Residual&) { return true; });
  std::ostringstream out;
  out << "// Generated by new_moons --fit; do not edit. Seconds to add to a new moon\n"
         "// computed with eraMoon98, fitted against DE405 over its span.\n"
         "#pragma once\n\n"
         "namespace pillar::lunar {\n\n"
         "// D^elongation × (sine × sin(argument) + cosine × cos(argument)), the argument\n"
         "// moon_anomaly × l + sun_anomaly × l' + latitude × F + node × Ω, D the mean\n"
         "// elongation in radians (−π..π).\n"
         "struct CorrectionTerm {\n"
         "  int elongation, moon_anomaly, sun_anomaly, latitude, node;\n"
         "  double sine = 0, cosine = 0;\n"
         "};\n\n";
  char number[64];
  out << "// Powers of Julian centuries of TT after J2000.0.\n"
         "inline constexpr double kCorrectionPolynomial[] = {";
  for (std::size_t j = 0; j < all.polynomial.size(); ++j) {
    std::snprintf(number, sizeof number, "%s%.3f", j ? ", " : "", all.polynomial[j]);
    out << number;
  }
  out << "};\n"
      << "inline constexpr CorrectionTerm kCorrectionTerms[] = {\n";
  for (const auto& t : all.terms) {
    std::snprintf(number, sizeof number, "%.10g, %.10g", t.sine, t.cosine);
    out << "    {" << t.elongation << ", " << t.moon_anomaly << ", " << t.sun_anomaly << ", " << t.latitude << ", " << t.node
        << ", " << number << "},\n";
  }
  out << "};\n\n}  // namespace pillar::lunar\n";
  std::ofstream file(path);
  file << out.str();
  if (!file) {
    std::fprintf(stderr, "new_moons: cannot write %s\n", path);
    std::exit(2);
  }
}

// ---- the report -------------------------------------------------------------------

void report_ephemeris(const std::vector<Residual>& data) {
  std::printf("### eraMoon98 against DE405 (new moons, seconds of TT)\n\n"
              "| | new moons | mean | RMS | max |\n|---|---|---|---|---|\n");
  Stats raw;
  for (const Residual& r : data) raw.add(r.seconds);
  print_stats("eraMoon98, uncorrected", raw);
  auto held_out = [](const Residual& r) { return year_of(r.tt) % 5 == 0; };
  auto kept_in = [&](const Residual& r) { return !held_out(r); };
  Fit most = fit(data, kept_in);
  print_stats("fit on years not divisible by 5, residual there", remaining(data, most, kept_in));
  print_stats("same fit, held-out years (divisible by 5)", remaining(data, most, held_out));
  auto early = [](const Residual& r) { return year_of(r.tt) < 2030; };
  auto late = [&](const Residual& r) { return !early(r); };
  Fit before = fit(data, early);
  print_stats("fit on 1960-2029, residual there", remaining(data, before, early));
  print_stats("same fit, 2030-2060 (outside its span)", remaining(data, before, late));
  auto after = [](const Residual& r) { return year_of(r.tt) >= 1990; };
  auto before_1990 = [&](const Residual& r) { return !after(r); };
  Fit later = fit(data, after);
  print_stats("fit on 1990-2060, residual there", remaining(data, later, after));
  print_stats("same fit, 1960-1989 (outside its span)", remaining(data, later, before_1990));
  Stats committed;
  for (const Residual& r : data) committed.add(r.seconds - moon98_correction(r.tt));
  print_stats("committed correction (fit on all), residual", committed);
  std::printf("\n");
}

// The terms of 1960-2059 from DE405 against the committed table.
void report_terms(const DeltaT& delta_t) {
  Stats unrounded;
  int differing = 0, printed_differing = 0, compared = 0;
  int beyond_a_second = 0;
  for (int year = 1960; year <= 2059; ++year) {
    for (int index = 1; index <= 24; ++index) {
      Seconds table = pillar::new_moons::table_term(year, index);
      double guess = static_cast<double>(table) / ERFA_DAYSEC - kJ2000InDateDays;
      double target = std::fmod(285 + 15.0 * (index - 1), 360.0) * kPi / 180;
      auto longitude = [target](const Ephemeris& e) {
        return [&e, target](double tt) {
          return pillar::astro::wrapped(ApparentSky(e, tt).sun_longitude() - target);
        };
      };
      double jpl = pillar::astro::solve_crossing(longitude(kDe405), guess, 1e-3, 1e-5 / ERFA_DAYSEC);
      double erfa = pillar::astro::solve_crossing(longitude(kErfa), guess, 1e-3, 1e-5 / ERFA_DAYSEC);
      unrounded.add((jpl - erfa) * ERFA_DAYSEC);
      ++compared;
      Seconds jpl_rounded = std::llround(local_seconds(jpl, delta_t));
      Seconds erfa_rounded = std::llround(local_seconds(erfa, delta_t));
      if (jpl_rounded != table) {
        bool printed = erfa_rounded != table;
        (printed ? printed_differing : differing)++;
        if (std::llabs(jpl_rounded - table) > 1 && !printed) ++beyond_a_second;
      }
    }
  }
  std::printf("### The solar-term table against DE405, 1960-2059\n\n"
              "| | terms | mean | RMS | max |\n|---|---|---|---|---|\n");
  print_stats("DE405 minus eraEpv00 (unrounded instants)", unrounded);
  std::printf("\n%d of %d table entries change when computed with DE405, %d of them by more than 1 s "
              "(and %d of the printed values differ from DE405).\n",
              differing, compared, beyond_a_second, printed_differing);
  std::printf("\n");
}

// Seconds of an instant from the nearest local midnight (negative: before it).
double from_midnight(double local) {
  double of_day = std::fmod(local, ERFA_DAYSEC);
  if (of_day < 0) of_day += ERFA_DAYSEC;
  return of_day < ERFA_DAYSEC / 2 ? of_day : of_day - ERFA_DAYSEC;
}

// ---- what the calendar makes of the tables ----------------------------------------

using pillar::calendar::Day;

struct CalendarDays {
  std::vector<Day> moons, principal, solstices;
};

// The calendar's inputs as days, each table instant passed through `clock`.
template <typename Clock>
CalendarDays calendar_days(Clock clock, int last_year) {
  auto day_of = [](Seconds local) { return pillar::calendar::floor_div(local, pillar::calendar::kSecondsPerDay); };
  CalendarDays days;
  for (const auto& e : pillar::lunar::kNewMoons) {
    if (e.year > last_year + 1) break;
    days.moons.push_back(day_of(clock(pillar::calendar::seconds_of({e.year, e.month, e.day, e.hour, e.minute, e.second}))));
  }
  for (int year = 1880; year <= last_year; ++year)
    for (int index = 2; index <= 24; index += 2) {
      days.principal.push_back(day_of(clock(pillar::new_moons::table_term(year, index))));
      if (index == 24) days.solstices.push_back(days.principal.back());
    }
  return days;
}

std::vector<pillar::lunar::LunarMonth> months_of(const CalendarDays& d) {
  return pillar::lunar::build_months(d.moons, d.principal, d.solstices);
}

// The months that begin on another day or are numbered otherwise, one line each.
std::vector<std::string> month_differences(const std::vector<pillar::lunar::LunarMonth>& ours,
                                           const std::vector<pillar::lunar::LunarMonth>& other) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < ours.size() && i < other.size(); ++i) {
    const auto& a = ours[i];
    const auto& b = other[i];
    if (a.first_day == b.first_day && a.number == b.number && a.leap == b.leap) continue;
    auto da = pillar::calendar::civil_date_of(a.first_day);
    auto db = pillar::calendar::civil_date_of(b.first_day);
    char line[200];
    std::snprintf(line, sizeof line, "lunar %d %s%d from %04d-%02d-%02d would be %s%d from %04d-%02d-%02d", a.year,
                  a.leap ? "leap " : "", a.number, da.year, da.month, da.day, b.leap ? "leap " : "", b.number,
                  db.year, db.month, db.day);
    lines.push_back(line);
  }
  return lines;
}

// The effect on the months of `instant` falling on the other side of its midnight.
std::string effect_of_other_side(Seconds instant) {
  Seconds of_day = instant - pillar::calendar::floor_div(instant, 86400) * 86400;
  Seconds moved = of_day < 43200 ? instant - of_day - 1 : instant + (86400 - of_day);
  auto same = [](Seconds t) { return t; };
  auto other = [&](Seconds t) { return t == instant ? moved : t; };
  std::vector<std::string> lines =
      month_differences(months_of(calendar_days(same, 2079)), months_of(calendar_days(other, 2079)));
  if (lines.empty()) return "none";
  std::string joined;
  for (const std::string& line : lines) joined += (joined.empty() ? "" : "; ") + line;
  return joined;
}

const char* const kTermNames[] = {"小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨",
                                  "立夏", "小满", "芒种", "夏至", "小暑", "大暑", "立秋", "处暑",
                                  "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};

void report_close_calls(const std::vector<NewMoon>& moons, const DeltaT& delta_t) {
  std::printf("### New moons within 60 s of midnight (UTC+8)\n\n"
              "| new moon (table, UTC+8) | from midnight | source | ΔT used | months if on the other day |\n"
              "|---|---|---|---|---|\n");
  for (const NewMoon& moon : moons) {
    double local = local_seconds(moon.tt, delta_t);
    double away = from_midnight(local);
    if (std::fabs(away) > 60) continue;
    CivilTime t = pillar::calendar::civil_time_of(std::llround(local));
    std::printf("| %04d-%02d-%02d %02d:%02d:%02d | %+.1f s | %s | %.1f s | %s |\n", t.year, t.month, t.day, t.hour,
                t.minute, t.second, away, moon.source == Source::De405 ? "DE405" : "eraMoon98+fit",
                delta_t.at(decimal_year(moon.tt)), effect_of_other_side(std::llround(local)).c_str());
  }
  std::printf("\n### 中气 within 60 s of midnight (UTC+8), from the term table\n\n"
              "| 中气 (table, UTC+8) | term | months if on the other day |\n|---|---|---|\n");
  for (int year = 1880; year <= 2079; ++year) {
    for (int index = 2; index <= 24; index += 2) {
      Seconds term = pillar::new_moons::table_term(year, index);
      if (std::fabs(from_midnight(static_cast<double>(term))) > 60) continue;
      CivilTime e = pillar::calendar::civil_time_of(term);
      std::printf("| %04d-%02d-%02d %02d:%02d:%02d | %s | %s |\n", year, e.month, e.day, e.hour, e.minute,
                  e.second, kTermNames[index - 1], effect_of_other_side(term).c_str());
    }
  }
  std::printf("\n");
}

// Before 1929 the calendar was reckoned on the Beijing meridian, UTC+7:45:40:
// the table's instants 14 min 20 s earlier.
void report_beijing_meridian() {
  constexpr Seconds kEarlier = 8 * 3600 - (7 * 3600 + 45 * 60 + 40);
  constexpr int kLastYear = 1928;
  std::printf("### 1880-1928: dates that differ on the Beijing meridian (UTC+7:45:40)\n\n"
              "| event | UTC+8 | date on UTC+8 | date on UTC+7:45:40 |\n|---|---|---|---|\n");
  auto line = [](const char* what, Seconds local) {
    auto day = [](Seconds t) { return pillar::calendar::floor_div(t, pillar::calendar::kSecondsPerDay); };
    if (day(local) == day(local - kEarlier)) return;
    CivilTime t = pillar::calendar::civil_time_of(local);
    pillar::calendar::CivilDate other = pillar::calendar::civil_date_of(day(local - kEarlier));
    std::printf("| %s | %04d-%02d-%02d %02d:%02d:%02d | %02d-%02d | %02d-%02d |\n", what, t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.month, t.day, other.month, other.day);
  };
  for (const auto& e : pillar::lunar::kNewMoons)
    if (e.year <= kLastYear) line("new moon", pillar::calendar::seconds_of({e.year, e.month, e.day, e.hour, e.minute, e.second}));
  for (int year = 1880; year <= kLastYear; ++year)
    for (int index = 1; index <= 24; ++index) line(kTermNames[index - 1], pillar::new_moons::table_term(year, index));
  auto utc8 = [](Seconds t) { return t; };
  auto beijing = [](Seconds t) { return t - kEarlier; };
  std::printf("\nMonths that begin on another day or are numbered otherwise on the Beijing meridian "
              "(the UTC+8 month first):\n\n");
  for (const std::string& difference :
       month_differences(months_of(calendar_days(utc8, kLastYear + 1)), months_of(calendar_days(beijing, kLastYear + 1)))) {
    std::printf("- %s\n", difference.c_str());
  }
  std::printf("\n");
}

void report(const DeltaT& delta_t) {
  report_beijing_meridian();
  std::vector<Residual> data = residuals();
  report_ephemeris(data);
  report_terms(delta_t);
  report_close_calls(table_new_moons(delta_t), delta_t);
}

int usage() {
  std::fprintf(stderr,
               "usage: new_moons DELTA_T_CSV --output FILE\n"
               "       new_moons DELTA_T_CSV --list YEAR...\n"
               "       new_moons DELTA_T_CSV --fit FILE\n"
               "       new_moons DELTA_T_CSV --report\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  De405Ephemeris::locate_data();
  DeltaT delta_t(argv[1]);
  std::string mode = argv[2];
  auto start = std::chrono::steady_clock::now();
  if (mode == "--output" && argc == 4) {
    write_table(argv[3], delta_t);
  } else if (mode == "--list" && argc > 3) {
    std::vector<int> years;
    for (int i = 3; i < argc; ++i) {
      years.push_back(std::atoi(argv[i]));
      if (years.back() < 1880 || years.back() > 2080) return usage();
    }
    list_years(years, delta_t);
  } else if (mode == "--fit" && argc == 4) {
    write_fit(argv[3]);
  } else if (mode == "--report" && argc == 3) {
    report(delta_t);
  } else {
    return usage();
  }
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  std::fprintf(stderr, "new_moons: %.2f s\n", elapsed.count());
  return 0;
}
