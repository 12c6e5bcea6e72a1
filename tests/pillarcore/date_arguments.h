// Date values for the tests of the date exports.
#pragma once

#include <limits>

#include "calendar.h"

// The day on which term `number` (library numbering) of `year` falls.
inline pillar::calendar::Day term_day(int year, int number) {
  using namespace pillar::calendar;
  return floor_div(*term_instant(year, number), kSecondsPerDay);
}

// The day of the term `step` places after term `number` of `year` in
// calendar order (step 2: the next jie after a jie).
inline pillar::calendar::Day later_term_day(int year, int number, int step) {
  using namespace pillar::calendar;
  int index = calendar_index_of(number) + step;
  return index > kTermCount ? term_day(year + 1, term_number_of(index - kTermCount))
                            : term_day(year, term_number_of(index));
}

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
