// The committed new-moon table is what the generator computes: years from
// both ephemerides (eraMoon98 with its correction; DE405) are computed again
// and compared entry by entry.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

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

std::string file_text(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// The paths the regenerating targets take: the whole table and the fit,
// written afresh, are the committed files byte for byte.
TEST(NewMoonTable, GeneratorRewritesTheCommittedTableAndFit) {
  const std::string base = testing::TempDir() + "new_moons_" + std::to_string(getpid());
  const struct {
    const char* mode;
    std::string committed;
  } runs[] = {{"--output", std::string(SOURCE_DIR) + "/chart/new_moon_table.cpp"},
              {"--fit", std::string(SOURCE_DIR) + "/tools/new_moons/moon98_correction.h"}};
  for (const auto& run : runs) {
    const std::string written = base + run.mode;
    const std::string command =
        std::string(NEW_MOONS_GENERATOR) + " " + DELTA_T_CSV + " " + run.mode + " " + written + " 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string text = file_text(written);
    std::remove(written.c_str());
    EXPECT_FALSE(text.empty()) << run.mode;
    EXPECT_TRUE(text == file_text(run.committed)) << run.mode << " differs from " << run.committed;
  }
}

}  // namespace
