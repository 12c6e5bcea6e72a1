// The committed solar-term table for the generator, whose own texts are UTF-8
// (the library's headers hold GBK texts).
#pragma once

#include <cstdint>

namespace pillar::new_moons {

// Local seconds (UTC+8) since 1899-12-30 of calendar index `index` (1 = 小寒)
// of `year`, 1880-2079.
std::int64_t table_term(int year, int index);

}  // namespace pillar::new_moons
