#include "term_table.h"

#include "calendar.h"

namespace pillar::new_moons {

std::int64_t table_term(int year, int index) {
  const calendar::SolarTermEntry& e =
      calendar::kSolarTermTable[(year - calendar::kFirstTableYear) * calendar::kTermCount + index - 1];
  return calendar::seconds_of({year, e.month, e.day, e.hour, e.minute, e.second});
}

}  // namespace pillar::new_moons
