// The lunar parts of the pillar command: the lunar and solar subcommands,
// a lunar birth date, the "lunar" key of a chart and the year pillar from
// the lunar new year.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Json = nlohmann::json;

struct Result {
  int status;
  std::string out, err;
};

// `arguments` is shell text; `input`, a printf format, goes to standard input.
Result run(const std::string& arguments, const std::string& input = "") {
  // Tests run in parallel processes: each has its own file.
  std::string err_path = testing::TempDir() + "lunar_command_err_" + std::to_string(getpid());
  std::string command = "printf '" + input + "' | " + PILLAR_COMMAND + " " + arguments + " 2>" + err_path;
  Result result{-1, "", ""};
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
  int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::stringstream err;
  err << std::ifstream(err_path).rdbuf();
  result.err = err.str();
  std::remove(err_path.c_str());
  return result;
}

TEST(LunarCommand, ConvertsBothWays) {
  Result lunar = run("lunar --json 2023-06-18");
  ASSERT_EQ(lunar.status, 0) << lunar.err;
  Json j = Json::parse(lunar.out);
  EXPECT_EQ(j["year"], 2023);
  EXPECT_EQ(j["month"], 5);
  EXPECT_EQ(j["leap"], false);
  EXPECT_EQ(j["day"], 1);
  EXPECT_EQ(j["year_name"], "癸卯");
  EXPECT_EQ(j["leap_month"], 2);
  for (const char* arguments : {"solar 2023 闰2 15 --json", "solar --json 2023-L2-15", "solar 2023 L2 15 --json"}) {
    Result solar = run(arguments);
    ASSERT_EQ(solar.status, 0) << arguments << solar.err;
    Json s = Json::parse(solar.out);
    EXPECT_EQ(s["date"], "2023-04-05") << arguments;
    EXPECT_EQ(s["leap"], true) << arguments;
  }
  EXPECT_EQ(run("solar 2023 闰2 15").out, "2023-04-05  癸卯年闰二月十五 (兔)  lunar 2023-L02-15, 29-day month\n");
}

TEST(LunarCommand, BatchWritesOneObjectPerLine) {
  Result batch = run("lunar --batch", "2020-05-23\\nnot a date\\n1880-12-01\\n");
  ASSERT_EQ(batch.status, 0) << batch.err;
  std::stringstream lines(batch.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(Json::parse(line)["month_name"], "闰四月");
  std::getline(lines, line);
  EXPECT_EQ(Json::parse(line)["line"], 2);
  std::getline(lines, line);
  EXPECT_NE(Json::parse(line)["error"].get<std::string>().find("1880-12-02"), std::string::npos);
}

// Lunar dates before 1929 follow the almanacs by default; --lunar-rule
// modern (batch key "lunar_rule") reckons them on UTC+8.
TEST(LunarCommand, LunarRuleChoosesTheAlmanacsOrUtc8) {
  EXPECT_EQ(run("lunar 1896-02-13").out, "1896-02-13  丙申年正月初一 (猴)  lunar 1896-01-01, 30-day month\n");
  EXPECT_EQ(run("lunar --lunar-rule modern 1896-02-13").out,
            "1896-02-13  乙未年十二月三十 (羊)  lunar 1895-12-30, 30-day month\n");
  // The six months whose new moon fell just after midnight on UTC+8 and
  // before it on the Beijing meridian: the Qing ones of 1887 and 1906 stay.
  const struct {
    const char* month;
    const char *almanac, *modern;
  } starts[] = {
      {"1887 3 1", "1887-03-25", "1887-03-25"},  {"1896 1 1", "1896-02-13", "1896-02-14"},
      {"1906 4 1", "1906-04-24", "1906-04-24"},  {"1914 10 1", "1914-11-17", "1914-11-18"},
      {"1916 1 1", "1916-02-03", "1916-02-04"},  {"1920 10 1", "1920-11-10", "1920-11-11"},
  };
  for (const auto& start : starts) {
    EXPECT_EQ(Json::parse(run(std::string("solar --json ") + start.month).out)["date"], start.almanac);
    EXPECT_EQ(Json::parse(run(std::string("solar --json --lunar-rule modern ") + start.month).out)["date"],
              start.modern);
  }
  Json last_day = Json::parse(run("lunar --batch --lunar-rule modern", "1914-11-17\\n").out);
  EXPECT_EQ(last_day["month"], 9);
  EXPECT_EQ(last_day["day"], last_day["month_days"]);
  EXPECT_EQ(Json::parse(run("lunar --batch", "1914-11-17\\n").out)["day"], 1);
  Result bad = run("lunar --lunar-rule beijing 1916-02-03");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("almanac"), std::string::npos) << bad.err;

  // A grandparent's lunar birthday: 民国五年正月初一 was 1916-02-03.
  EXPECT_EQ(Json::parse(run("chart --json --lunar '1916 1 1 12:00'").out)["lunar"]["date"], "1916-02-03");
  EXPECT_EQ(Json::parse(run("chart --json --lunar '1916 1 1 12:00' --lunar-rule modern").out)["lunar"]["date"],
            "1916-02-04");
  // In a batch line the rule may follow the date; 1915 month 12 has a 30th
  // day only under the modern rule.
  std::istringstream batch(run("chart --batch",
                               "{\"lunar\":\"1920 10 1 12:00\"}\\n"
                               "{\"lunar\":\"1920 10 1 12:00\",\"lunar_rule\":\"modern\"}\\n"
                               "{\"lunar\":\"1915 12 30 12:00\",\"lunar_rule\":\"modern\"}\\n"
                               "{\"lunar\":\"1915 12 30 12:00\"}\\n")
                               .out);
  std::vector<std::string> answers;
  for (std::string line; std::getline(batch, line);) {
    Json j = Json::parse(line);
    answers.push_back(j.contains("error") ? j["error"] : j["lunar"]["date"]);
  }
  EXPECT_EQ(answers, (std::vector<std::string>{"1920-11-10", "1920-11-11", "1916-02-03",
                                               "lunar 1915 month 12 has 29 days, not 30"}));
}

TEST(LunarCommand, NonexistentDatesAreBadInput) {
  struct Case {
    const char* arguments;
    const char* named;
  } cases[] = {
      {"solar 1965 闰4 8", "no leap month"},
      {"solar 2023 闰2 30", "29 days"},
      {"solar 2023 13 1", "1-12"},
      {"solar 2079 11 1", "outside"},
      {"lunar 2079-11-23", "outside"},
      {"chart --lunar '1965 闰4 8 08:00'", "no leap month"},
      {"chart 2023-04-05T08:00 --lunar '2023 闰2 15 08:00'", "not both"},
      {"chart --lunar '2023 闰2 15 8h'", "HH:MM"},
  };
  for (const Case& c : cases) {
    Result result = run(c.arguments);
    EXPECT_EQ(result.status, 2) << c.arguments;
    EXPECT_NE(result.err.find(c.named), std::string::npos) << c.arguments << ": " << result.err;
  }
}

TEST(LunarCommand, ChartFromALunarBirthDate) {
  Result chart = run("chart --json --lunar '2023 闰2 15 08:00'");
  ASSERT_EQ(chart.status, 0) << chart.err;
  Json j = Json::parse(chart.out);
  EXPECT_EQ(j["utc"], "2023-04-05T00:00:00Z");
  EXPECT_EQ(j["lunar"]["month"], 2);
  EXPECT_EQ(j["lunar"]["leap"], true);
  EXPECT_EQ(j["lunar"]["day"], 15);
  Result batch = run("chart --batch", "{\"lunar\": \"2023-L2-15 08:00\"}\\n");
  EXPECT_EQ(Json::parse(batch.out)["utc"], "2023-04-05T00:00:00Z") << batch.out;
}

// 2023-01-28 lies after the lunar new year (01-22) and before 立春 (02-04).
TEST(LunarCommand, YearPillarFromTheLunarNewYear) {
  Json by_lichun = Json::parse(run("chart --json --sex male 2023-01-28T12:00").out);
  Json by_new_year = Json::parse(run("chart --json --sex male --year-start lunar-new-year 2023-01-28T12:00").out);
  EXPECT_EQ(by_lichun["pillars"]["year"], "壬寅");
  EXPECT_EQ(by_new_year["pillars"]["year"], "癸卯");
  EXPECT_NE(by_lichun["luck"]["forward"], by_new_year["luck"]["forward"]);  // yang year, then yin
  EXPECT_EQ(by_lichun["pillars"]["month"], by_new_year["pillars"]["month"]);
}

}  // namespace
