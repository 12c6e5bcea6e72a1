// The committed solar-term table is what the generator computes: a sample of
// years is computed again and compared entry by entry.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

#include "calendar.h"

namespace {

using namespace pillar::calendar;

TEST(SolarTermTable, RegeneratedSampleYearsMatchTheCommittedTable) {
  const std::string command = std::string(SOLAR_TERMS_GENERATOR) + " " + DELTA_T_CSV +
                              " --list 1880 1901 1949 2000 2023 2024 2048 2079";
  std::unique_ptr<FILE, int (*)(FILE*)> listing(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(listing) << command;
  int lines = 0, year, index, month, day, hour, minute, second;
  while (std::fscanf(listing.get(), "%d %d %d %d %d %d %d", &year, &index, &month, &day, &hour,
                     &minute, &second) == 7) {
    ++lines;
    const SolarTermEntry& entry = kSolarTermTable[(year - kFirstTableYear) * kTermCount + index - 1];
    EXPECT_EQ((CivilTime{year, entry.month, entry.day, entry.hour, entry.minute, entry.second}),
              (CivilTime{year, month, day, hour, minute, second}))
        << year << " index " << index;
  }
  EXPECT_EQ(lines, 8 * kTermCount);
}

// The path `--target solar_term_table` takes: the whole table, written
// afresh, is the committed source byte for byte.
TEST(SolarTermTable, GeneratorRewritesTheCommittedTable) {
  const std::string written = testing::TempDir() + "solar_terms_" + std::to_string(getpid()) + ".cpp";
  const std::string command =
      std::string(SOLAR_TERMS_GENERATOR) + " " + DELTA_T_CSV + " --output " + written + " 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  auto text_of = [](const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  };
  const std::string text = text_of(written);
  std::remove(written.c_str());
  EXPECT_FALSE(text.empty());
  EXPECT_TRUE(text == text_of(std::string(SOURCE_DIR) + "/pillarcore/solar_term_table.cpp"));
}

}  // namespace
