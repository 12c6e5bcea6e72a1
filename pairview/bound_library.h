// The report's view of the library, through the binding slots.
#pragma once

#include "report.h"

namespace pairview {

class BoundLibrary : public ChartLibrary {
 public:
  bool chart_is_valid(const Chart& chart) override;
  int count(const Chart& chart, const std::string& character) override;
  std::string element(const std::string& text) override;
  std::string ten_god(const std::string& day_stem, const std::string& text, int mode) override;
};

}  // namespace pairview
