#include "term_table.h"

#include "calendar.h"

namespace pillar::new_moons {

std::int64_t table_term(int year, int index) {
  return *calendar::term_instant(year, calendar::term_number_of(index));
}

}  // namespace pillar::new_moons
