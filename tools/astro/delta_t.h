// ΔT = TT − UT1 for the build-time generators, in one place so that every
// generated table turns TT into civil time the same way:
//   - the observed values of the csv ("year,delta_t" lines), linearly
//     interpolated;
//   - after the last observed value, the prediction
//     ΔT = ΔT_last + 0.0032 s/yr² × (year − year_last)², which starts level with
//     the last observation (ΔT has hardly moved since 2018) and bends upward
//     with the long-term parabola of tidal braking (32 s per century²).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace pillar::astro {

class DeltaT {
 public:
  static constexpr double kPredictionCurvature = 0.0032;  // s/yr², 32 s per century²

  explicit DeltaT(const char* csv_path) {
    std::ifstream in(csv_path);
    if (!in) {
      std::fprintf(stderr, "cannot read the ΔT values %s\n", csv_path);
      std::exit(2);
    }
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#' || line[0] == 'y') continue;
      Point point;
      if (std::sscanf(line.c_str(), "%lf,%lf", &point.year, &point.seconds) == 2)
        points_.push_back(point);
    }
    if (points_.size() < 2) {
      std::fprintf(stderr, "no ΔT values in %s\n", csv_path);
      std::exit(2);
    }
  }

  // Seconds at a decimal year.
  double at(double year) const {
    const Point& last = points_.back();
    if (year >= last.year) {
      double after = year - last.year;
      return last.seconds + kPredictionCurvature * after * after;
    }
    if (year <= points_.front().year) return points_.front().seconds;
    std::size_t i = 1;
    while (points_[i].year < year) ++i;
    const Point& a = points_[i - 1];
    const Point& b = points_[i];
    return a.seconds + (b.seconds - a.seconds) * (year - a.year) / (b.year - a.year);
  }

  double last_observed_year() const { return points_.back().year; }

 private:
  struct Point {
    double year, seconds;
  };
  std::vector<Point> points_;
};

}  // namespace pillar::astro
