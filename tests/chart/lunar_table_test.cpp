// The committed new-moon table is what the generator computes: years from
// both ephemerides (eraMoon98 with its correction; DE405) are computed again
// and compared entry by entry.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "new_moon_table.h"

namespace {

using namespace pillar::lunar;

TEST(NewMoonTable, RegeneratedSampleYearsMatchTheCommittedTable) {
  const std::string command = std::string(NEW_MOONS_GENERATOR) + " " + DELTA_T_CSV +
                              " --list 1880 1914 1959 1960 2023 2057 2060 2080";
  std::unique_ptr<FILE, int (*)(FILE*)> listing(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(listing) << command;
  int lines = 0, found = 0, year, month, day, hour, minute, second;
  char source[16];
  while (std::fscanf(listing.get(), "%d %d %d %d %d %d %15s", &year, &month, &day, &hour, &minute, &second,
                     source) == 7) {
    ++lines;
    for (const NewMoonEntry& e : kNewMoons) {
      if (e.year != year || e.month != month || std::abs(e.day - day) > 1) continue;
      ++found;
      EXPECT_EQ((std::array<int, 4>{e.day, e.hour, e.minute, e.second}),
                (std::array<int, 4>{day, hour, minute, second}))
          << year << "-" << month << " " << source;
    }
  }
  EXPECT_GE(lines, 8 * 12);
  EXPECT_EQ(found, lines);
}

}  // namespace
