// Date values for the tests of the date exports.
#pragma once

#include <limits>

#include "calendar.h"

inline pillar::Date date(int year, int month, int day, int hour = 0, int minute = 0) {
  using namespace pillar::calendar;
  return date_value_of(seconds_of({year, month, day, hour, minute, 0}));
}

// Values that are no date at all.
inline const double kNoDates[] = {std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::max(),
                                  -std::numeric_limits<double>::max(),
                                  1e18, -1e18, 3e6, -7e5};
