// The pillar command as its users run it: arguments and standard input in,
// standard output, standard error and the exit status out.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Json = nlohmann::json;

struct Result {
  int status = -1;
  std::string out, err;
};

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// `arguments` is shell text: quote what needs quoting.
Result run(const std::string& arguments, const std::string& input = "") {
  std::string base = testing::TempDir() + "pillar_test_" + std::to_string(getpid());
  std::ofstream(base + ".in", std::ios::binary) << input;
  std::string command = std::string(PILLAR_COMMAND) + " " + arguments + " <" + base + ".in >" + base +
                        ".out 2>" + base + ".err";
  int raw = std::system(command.c_str());
  Result result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  result.out = read_file(base + ".out");
  result.err = read_file(base + ".err");
  for (const char* suffix : {".in", ".out", ".err"}) std::remove((base + suffix).c_str());
  return result;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// Bad input of every kind: one line on standard error naming what was
// wrong, nothing on standard output, status 2.
TEST(PillarCommand, BadInputGivesOneLineAndStatusTwo) {
  struct Case {
    const char* arguments;
    const char* named;  // a word the message must hold
  };
  const Case cases[] = {
      {"chart 1990-05-17T14", "datetime"},
      {"chart 1990-5-17T14:30", "datetime"},
      {"chart 1990-05-17T14:30x", "datetime"},
      {"chart 1990-05-17T14:30:00+08:00", "datetime"},
      {"chart 1990-02-30T12:00", "no such date"},
      {"chart 1990-13-01", "no such date"},
      {"chart 1990-05-17T24:00", "time"},
      {"chart 1879-06-01T12:00", "1880"},
      {"chart 2080-06-01T12:00", "2079"},
      {"chart 1990-05-17T14:30 --tz Mars/Olympus_Mons", "Mars/Olympus_Mons"},
      {"chart 1990-05-17T14:30 --tz ../../etc/passwd", "tz"},
      {"chart 1990-05-17T14:30 --longitude 180.5", "longitude"},
      {"chart 1990-05-17T14:30 --longitude=-181", "longitude"},
      {"chart 1990-05-17T14:30 --longitude 116E", "longitude"},
      {"chart 1990-05-17T14:30 --sex x", "sex"},
      {"chart 1990-05-17T14:30 --zi-hour midnight", "zi_hour"},
      {"chart 1990-05-17T14:30 --solar-time noon", "solar_time"},
      {"chart 1990-05-17T14:30 --fold middle", "fold"},
      {"chart 1990-05-17T14:30 --luck-method years", "luck_method"},
      {"chart 1990-05-17T14:30 --days 2079-12", "2079"},
      {"chart 1990-05-17T14:30 --days 2025-3", "days"},
      {"chart 1990-05-17T14:30 --months 2079", "months"},
      {"chart 1990-05-17T14:30 --hours 2080-01-01", "hours"},
      {"chart 1990-05-17T14:30 --sex male --luck-count 2 --minor-luck 40", "小运"},
      {"chart 1990-05-17 --sex male --minor-luck 5", "小运"},
      {"chart 1990-05-17T14:30 --palace-stem mouse", "palace_stem"},
      {"chart 1990-05-17T14:30 --animal dragon", "animal"},
      {"chart 1990-05-17T14:30 --luck-count 0", "luck_count"},
      {"chart 1990-05-17T14:30 --luck-count 2.5", "luck_count"},
      {"chart 1990-05-17T14:30 --annual 2030-2020", "annual"},
      {"chart 1990-05-17T14:30 --annual 2020-", "annual"},
      {"chart 1990-05-17T14:30 --margin -5", "margin"},
      {"chart 1990-05-17T14:30 --utc-offset 8", "utc_offset"},
      {"chart 1990-05-17T14:30 --utc-offset +18:30", "utc_offset"},
      {"chart 1990-05-17T14:30 --tz Asia/Shanghai --utc-offset +08:00", "--utc-offset"},
      {"chart 1990-05-17T14:30 --frobnicate", "--frobnicate"},
      {"chart 1990-05-17T14:30 extra", "extra"},
      {"chart", "DATETIME"},
      {"chart --batch 1990-05-17T14:30", "DATETIME"},
      {"", "subcommand"},
      {"horoscope", "horoscope"},
      {"find 甲丑 丙寅 戊辰 壬子", "甲丑"},
      {"find 甲子 丙寅 戊辰", "pillars"},
      {"find 甲子 丙寅 戊辰 壬子 癸亥", "pillars"},
      {"find 甲子 丙寅 戊辰 壬子 --zi-hour x", "zi_hour"},
      // Messages that once named the wrong fault.
      {"chart 1990-05-17T14:30 --longitude 180.0000001", "180.0000001"},
      {"chart 1990-05-17T14:30 --utc-offset '+ 8:00'", "expected +HH:MM"},
      {"chart 1990-05-17T14:30 --tz= --sex male", "tz \"\""},
      {"find --sex male 甲子 丙寅 戊辰 壬子", "--sex"},
      {"find 甲子 丙寅 戊辰 壬子 癸亥 甲子 丙寅 戊辰 壬子", "four pillars"},
      {"chart --batch --tz Nowhere", "Nowhere"},  // before any line is read
      // Quoted short, as valid UTF-8, whatever was typed.
      {"lunar $(head -c 100000 /dev/zero | tr '\\0' x)", "date"},
      {"chart $(head -c 100000 /dev/zero | tr '\\0' x)", "datetime"},
      {"chart 1990-05-17T14:30 --tz \"$(printf 'Asia/\\377\\033[2J')\"", "Asia/"},
      {"chart \"$(printf '1990-05-17T14:3\\377')\"", "datetime"},
      {"\"$(printf '\\377')\"", "subcommand"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    Result result = run(c.arguments, R"({"datetime": "1990-05-17T14:30"})");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    ASSERT_EQ(lines_of(result.err).size(), 1u) << result.err;
    EXPECT_EQ(result.err.rfind("pillar: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
    EXPECT_LT(result.err.size(), 500u);
    EXPECT_NO_THROW((void)Json(result.err).dump()) << "not UTF-8: " << result.err;
  }
}

void expect_chart_shape(const Json& chart, bool hour_known) {
  EXPECT_EQ(chart.at("schema"), 2);
  std::string utc = chart.at("utc");
  EXPECT_EQ(utc.back(), 'Z');
  for (const char* position : {"year", "month", "day"})
    EXPECT_EQ(chart["pillars"].at(position).get<std::string>().size(), 6u);  // two CJK characters
  EXPECT_EQ(chart["pillars"].at("hour").is_null(), !hour_known);
  EXPECT_EQ(chart.at("candidates").size(), hour_known ? 0u : 13u);
  EXPECT_EQ(chart["analysis"].at("pillars").size(), hour_known ? 4u : 3u);
  for (const char* key : {"corrections", "warnings", "luck"}) EXPECT_TRUE(chart.contains(key)) << key;
}

TEST(PillarCommand, JsonHoldsTheDocumentedKeys) {
  Result known = run("chart 1990-05-17T14:30 --json --sex female --luck-count 12 --annual 2024-2026");
  ASSERT_EQ(known.status, 0) << known.err;
  ASSERT_EQ(lines_of(known.out).size(), 1u);
  Json chart = Json::parse(known.out);
  expect_chart_shape(chart, true);
  const Json& luck = chart.at("luck");
  EXPECT_TRUE(luck.at("forward").is_boolean());
  EXPECT_EQ(luck.at("pillars").size(), 12u);
  EXPECT_EQ(luck.at("annual").size(), 3u);
  for (const Json& pillar : luck["pillars"])
    for (const char* key : {"pillar", "ten_god", "start", "age", "age_sui"}) EXPECT_TRUE(pillar.contains(key)) << key;
  for (const char* key : {"fetal_origin", "fetal_breath", "life", "body"})
    for (const char* inner : {"pillar", "nayin", "ten_god"})
      EXPECT_TRUE(chart["palaces"].at(key).contains(inner)) << key << " " << inner;

  Json parts = Json::parse(run("chart 1990-05-17T14:30 --json --sex female --luck-count 2 --minor-luck 3 "
                               "--months 2024 --annotate").out);
  ASSERT_EQ(parts.at("minor_luck").size(), 3u);
  for (const char* key : {"age", "year", "pillar", "ten_god", "notes"})
    EXPECT_TRUE(parts["minor_luck"][0].contains(key)) << key;
  ASSERT_EQ(parts.at("months").size(), 12u);
  for (const char* key : {"pillar", "jie", "start", "ten_god"}) EXPECT_TRUE(parts["months"][0].contains(key)) << key;
  for (const char* key : {"nayin", "void", "star_phase", "self_phase", "hidden", "relations", "fuyin", "fanyin",
                          "in_day_void"})
    EXPECT_TRUE(parts["luck"]["pillars"][0]["notes"].contains(key)) << key;

  Result unknown = run("chart 1990-05-17 --json");
  ASSERT_EQ(unknown.status, 0) << unknown.err;
  Json without_hour = Json::parse(unknown.out);
  expect_chart_shape(without_hour, false);
  EXPECT_TRUE(without_hour.at("luck").is_null());  // no sex given
}

// The table shows the same pillars as the JSON, each under its title.
TEST(PillarCommand, TableAlignsThePillarsUnderTheirTitles) {
  Result table = run("chart 1990-05-17T14:30 --sex 男");
  ASSERT_EQ(table.status, 0) << table.err;
  Json chart = Json::parse(run("chart 1990-05-17T14:30 --sex 男 --json").out);
  const Json& p = chart["pillars"];
  std::string titles, pillars;
  for (const std::string& line : lines_of(table.out)) {
    if (line.find("年柱") != std::string::npos) titles = line;
    if (line.rfind("干支", 0) == 0) pillars = line;
  }
  ASSERT_FALSE(titles.empty());
  // The terminal column where `text` starts: the table's texts are ASCII or CJK.
  auto column = [](const std::string& line, const std::string& text) {
    int width = 0;
    for (std::size_t i = 0; i < line.find(text); ++i)
      width += static_cast<unsigned char>(line[i]) < 0x80 ? 1 : (static_cast<unsigned char>(line[i]) >= 0xE0) * 2;
    return width;
  };
  for (const auto& [title, position] : {std::pair{"年柱", "year"}, {"月柱", "month"}, {"日柱", "day"},
                                        {"时柱", "hour"}})
    EXPECT_EQ(column(pillars, p[position]), column(titles, title)) << table.out;
}

TEST(PillarCommand, BatchAnswersEveryLineInOrder) {
  const std::string good_line = R"({"datetime": "1990-05-17T14:30", "sex": "男", "tz": "Asia/Shanghai"})";
  std::string input = good_line + "\n" +
                      "not json\n"
                      "\n" +  // blank lines are skipped, but counted
                      R"({"datetime": "1990-05-17", "zi_hour": "same-day-stem", "longitude": 116.4})" + "\r\n" +
                      R"({"datetime": "1990-05-17T14:30", "planet": "Mars"})" + "\n" +
                      R"({"datetime": "1990-05-17T14:30", "sex": "x"})" + "\n" +
                      R"({"datetime": "1990-05-17T14:30", "longitude": {"deg": 1}})" + "\n" +
                      R"({"datetime": "1990-05-17T14:30", "tz": "Asia/Shanghai", "utc_offset": "+08:00"})" + "\n" +
                      R"({"datetime": "1990-05-17T14:30", "sex": "\u0000"} trailing)" + "\n" +
                      R"({"datetime": null, "tz": null, "utc_offset": "+08:00"})" + "\n" +
                      "{\"datetime\": \"\xff\xfe\"}\n" +
                      R"({"tz": "Asia/Shanghai"})" + "\n" +
                      R"(["1990-05-17T14:30"])" + "\n" +
                      good_line;  // no newline at the end
  Result batch = run("chart --batch --luck-count 3", input);
  EXPECT_EQ(batch.status, 0) << batch.err;
  EXPECT_EQ(batch.err, "");
  std::vector<std::string> lines = lines_of(batch.out);
  ASSERT_EQ(lines.size(), 13u) << batch.out;
  const int error_lines[] = {2, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  std::size_t next_error = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    Json object = Json::parse(lines[i]);  // every line is JSON, the bad bytes replaced
    if (object.contains("error")) {
      ASSERT_LT(next_error, std::size(error_lines));
      EXPECT_EQ(object.at("line"), error_lines[next_error++]);
      EXPECT_EQ(object.size(), 2u);
    } else {
      EXPECT_EQ(object.at("schema"), 2);
    }
  }
  EXPECT_EQ(next_error, std::size(error_lines));
  // A batch line gives what the same options give on the command line.
  Result single = run("chart 1990-05-17T14:30 --sex 男 --tz Asia/Shanghai --luck-count 3 --json");
  EXPECT_EQ(lines[0] + "\n", single.out);
  EXPECT_EQ(lines.back() + "\n", single.out);
}

// A plain line and the same line written with escapes (which take the
// library's parser) give the same chart.
TEST(PillarCommand, BatchReadsEscapedAndPlainLinesAlike) {
  Result batch = run("chart --batch",
                     R"({"datetime": "1990-05-17T14:30", "sex": "男", "tz": "Asia/Shanghai", "margin": 20})"
                     "\n"
                     R"({"datetime":"1990-05-17T14:30","sex":"\u7537","tz":"Asia\/Shanghai","margin":2e1})");
  std::vector<std::string> lines = lines_of(batch.out);
  ASSERT_EQ(lines.size(), 2u) << batch.err;
  EXPECT_EQ(Json::parse(lines[0]).count("error"), 0u) << lines[0];
  EXPECT_EQ(lines[0], lines[1]);
}

// Lines made to break a reader: each still gets one JSON line back.
TEST(PillarCommand, BatchSurvivesHostileLines) {
  const std::vector<std::string> lines = {
      std::string(100000, '['),
      R"({"datetime": ")" + std::string(3 << 20, 'x') + R"("})",  // longer than the read buffer
      R"({"\u0000": 1})",
      R"({"datetime": "1990-05-17T14:30", "luck_count": 1e308})",
      R"({"datetime": "1990-05-17T14:30", "longitude": -0.0, "margin": 1e-320})",
  };
  std::string input;
  for (const std::string& line : lines) input += line + "\n";
  Result batch = run("chart --batch", input);
  EXPECT_EQ(batch.status, 0) << batch.err;
  std::vector<std::string> answers = lines_of(batch.out);
  ASSERT_EQ(answers.size(), lines.size());
  for (std::size_t i = 0; i < answers.size(); ++i) {
    EXPECT_LT(answers[i].size(), 4000u);  // an error quotes at most a little of its line
    EXPECT_EQ(Json::parse(answers[i]).contains("error"), i + 1 < answers.size()) << answers[i].substr(0, 200);
  }
}

// Output that cannot be written, or input that cannot be read, is a
// failure, never a silent success nor an "internal error".
TEST(PillarCommand, UnwritableOutputFails) {
  const std::string command = PILLAR_COMMAND;
  for (const std::string& line :
       {command + " chart 1990-05-17T14:30 >/dev/full 2>/dev/null",
        "echo '{\"datetime\": \"1990-05-17T14:30\"}' | " + command + " chart --batch >/dev/full 2>/dev/null",
        command + " --help >/dev/full 2>/dev/null", command + " chart --help >/dev/full 2>/dev/null"}) {
    int raw = std::system(line.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1) << line;
  }
  for (const char* batch : {"lunar --batch", "chart --batch"}) {
    std::string base = testing::TempDir() + "pillar_dir_" + std::to_string(getpid());
    int raw = std::system((command + " " + batch + " </ 2>" + base).c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1) << batch;
    EXPECT_EQ(read_file(base), "pillar: cannot read the input: Is a directory\n");
    std::remove(base.c_str());
  }
}

// A NUL byte is an error of its own line; every line gets exactly one
// answer, numbered as it was read.
TEST(PillarCommand, BatchesAnswerNulBytesInTheirLine) {
  using namespace std::string_literals;
  Result chart = run("chart --batch", "{\"datetime\": \"1990-05-17T14:30\"}\0 trailing\n"s +
                                          R"({"datetime": "1990-05-17T14:30"})" "\n" +
                                          R"({"datetime": "1990-05-17T14:30", "tz": "Asia/Sha\u0000nghai"})" "\n");
  std::vector<std::string> lines = lines_of(chart.out);
  ASSERT_EQ(lines.size(), 3u) << chart.out;
  EXPECT_EQ(Json::parse(lines[0]).value("line", 0), 1);
  EXPECT_TRUE(Json::parse(lines[1]).contains("schema"));
  EXPECT_EQ(Json::parse(lines[2]).value("line", 0), 3);
  EXPECT_NE(lines[2].find("nghai"), std::string::npos) << "the message was cut at the NUL";

  Result lunar = run("lunar --batch", "2023-06-18\0\n2023-06-19\nbad\n2023-06-18\0x"s);
  lines = lines_of(lunar.out);
  ASSERT_EQ(lines.size(), 4u) << lunar.out;
  for (int number : {1, 3, 4}) EXPECT_EQ(Json::parse(lines[number - 1]).value("line", 0), number);
  EXPECT_EQ(Json::parse(lines[1]).at("date"), "2023-06-19");
}

// A line over 1 MiB gets its error without being held whole: under a memory
// limit far below the line, the answers before and after it still come.
#if defined(__SANITIZE_ADDRESS__)
constexpr const char* kMemoryLimit = "";  // AddressSanitizer reserves terabytes of address space
#else
constexpr const char* kMemoryLimit = "ulimit -v 300000; ";
#endif
TEST(PillarCommand, BatchesSkipOverlongLinesInBoundedMemory) {
  const std::string command = PILLAR_COMMAND;
  const std::string good = R"({"datetime": "1990-05-17T14:30"})";
  for (const auto& [batch, first, last] :
       {std::tuple{"chart --batch", good, good}, std::tuple{"lunar --batch", std::string("2023-06-18"),
                                                            std::string("2023-06-19")}}) {
    SCOPED_TRACE(batch);
    std::string base = testing::TempDir() + "pillar_long_" + std::to_string(getpid());
    std::string line = std::string("(") + kMemoryLimit + "(echo '" + first + "'; head -c 400M /dev/zero; echo; echo '" + last +
                       "') | " + command + " " + batch + " >" + base + ")";
    int raw = std::system(line.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << raw;
    std::vector<std::string> answers = lines_of(read_file(base));
    std::remove(base.c_str());
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_FALSE(Json::parse(answers[0]).contains("error"));
    EXPECT_EQ(Json::parse(answers[1]), Json::parse(R"({"error": "line longer than 1 MiB: not read", "line": 2})"));
    EXPECT_FALSE(Json::parse(answers[2]).contains("error"));
  }
  // Just under the limit, a line is read and its error quotes a little of it.
  Result near = run("chart --batch", R"({"tz": ")" + std::string(1000000, 'x') + R"("})" "\n");
  EXPECT_LT(near.out.size(), 200u);
  EXPECT_NE(near.out.find("tz"), std::string::npos) << near.out;
}

// A program can feed a batch one line at a time and read each answer before
// it writes the next.
TEST(PillarCommand, BatchesAnswerEachLineAsItComes) {
  for (const auto& [arguments, question] :
       {std::pair{"chart", R"({"datetime": "1990-05-17T14:30"})"}, std::pair{"lunar", "2023-06-18"}}) {
    SCOPED_TRACE(arguments);
    int to_child[2], from_child[2];
    ASSERT_EQ(pipe(to_child), 0);
    ASSERT_EQ(pipe(from_child), 0);
    pid_t child = fork();
    if (child == 0) {
      dup2(to_child[0], 0);
      dup2(from_child[1], 1);
      for (int fd : {to_child[0], to_child[1], from_child[0], from_child[1]}) close(fd);
      execl(PILLAR_COMMAND, PILLAR_COMMAND, arguments, "--batch", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(to_child[0]);
    close(from_child[1]);
    for (int round = 0; round < 2; ++round) {
      std::string line = std::string(question) + "\n";
      ASSERT_EQ(write(to_child[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
      std::string answer;
      char c = 0;
      while (answer.empty() || answer.back() != '\n') {
        pollfd ready{from_child[0], POLLIN, 0};
        ASSERT_EQ(poll(&ready, 1, 30000), 1) << "no answer while the input stays open";
        ASSERT_EQ(read(from_child[0], &c, 1), 1);
        answer += c;
      }
      EXPECT_FALSE(Json::parse(answer).contains("error")) << answer;
    }
    close(to_child[1]);
    close(from_child[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
}

TEST(PillarCommand, FindListsMomentRanges) {
  Result found = run("find 甲子 丙寅 戊辰 壬子 --json");
  ASSERT_EQ(found.status, 0) << found.err;
  Json moments = Json::parse(found.out);
  EXPECT_EQ(moments.at("schema"), 2);
  ASSERT_FALSE(moments.at("moments").empty());
  for (const Json& moment : moments.at("moments"))
    EXPECT_LE(moment.at("first").get<std::string>(), moment.at("last").get<std::string>());
  Result table = run("find 甲子 丙寅 戊辰 壬子");
  EXPECT_EQ(table.status, 0);
  EXPECT_EQ(lines_of(table.out).size(), moments["moments"].empty() ? 1u : moments["moments"].size() + 2);
}

}  // namespace

namespace {

Json chart_of(const std::string& arguments) {
  Result result = run("chart --json " + arguments);
  EXPECT_EQ(result.status, 0) << arguments << ": " << result.err;
  return result.status == 0 ? Json::parse(result.out) : Json::object();
}

// Zones as the database has them: past 2037 (by the files' closing rules),
// and before standard time, when a clock showed its own place's mean time.
TEST(PillarCommand, ZonesReadAsTheDatabaseSays) {
  Json summer = chart_of("2050-07-01T13:30 --tz America/New_York");
  EXPECT_EQ(summer["utc"], "2050-07-01T17:30:00Z");
  EXPECT_EQ(summer["corrections"]["dst_seconds"], 3600);
  EXPECT_EQ(run("chart 2050-03-13T02:30 --tz America/New_York").status, 2);  // in the spring gap
  Json beijing = chart_of("1890-06-01T13:10 --tz Asia/Shanghai --longitude 116.4 --solar-time mean");
  EXPECT_EQ(beijing["corrections"]["solar_time"], "1890-06-01T13:10:00");
  EXPECT_EQ(chart_of("2020-01-01T12:00 --utc-offset +07:45:40")["utc"], "2020-01-01T04:14:20Z");
}

// Each option changes what it should; the batch keys mean the same as the flags.
// Shell text run with the built command first on the PATH; its standard output.
std::string shell_output(const std::string& script) {
  std::string base = testing::TempDir() + "pillar_shell_" + std::to_string(getpid());
  std::ofstream(base + ".sh", std::ios::binary) << script << "\n";
  std::string command = std::string(PILLAR_COMMAND);
  command = "PATH=" + command.substr(0, command.rfind('/')) + ":$PATH sh " + base + ".sh >" + base + ".out";
  EXPECT_EQ(std::system(command.c_str()), 0) << script;
  std::string out = read_file(base + ".out");
  for (const char* suffix : {".sh", ".out"}) std::remove((base + suffix).c_str());
  return out;
}

// The README shows what the command prints: its first chart exactly (and
// that chart's JSON is kept in tests/pillar/data), and every "$ " command of
// a text block line by line (a shown line may be cut short, never differ).
TEST(PillarCommand, ReadmeShowsWhatTheCommandPrints) {
  const std::string readme = read_file(README);
  const std::string first = "```sh\nbuild/native/pillar/pillar ";
  std::size_t at = readme.find(first);
  ASSERT_NE(at, std::string::npos);
  at += first.size();
  std::string arguments = readme.substr(at, readme.find('\n', at) - at);
  std::size_t block = readme.find("```text\n", at) + 8;
  EXPECT_EQ(run(arguments).out, readme.substr(block, readme.find("```", block) - block));
  EXPECT_EQ(Json::parse(run(arguments + " --json").out), Json::parse(read_file(README_CHART_JSON)));

  int commands = 0;
  for (std::size_t from = readme.find("```text\n$ "); from != std::string::npos;
       from = readme.find("```text\n$ ", from)) {
    from += 10;
    std::vector<std::string> lines = lines_of(readme.substr(from, readme.find("```", from) - from));
    std::string script = lines[0];
    std::size_t shown = 1;
    while (script.back() == '\\') script += "\n" + lines[shown++];
    std::vector<std::string> printed = lines_of(shell_output(script));
    ASSERT_EQ(printed.size(), lines.size() - shown) << script;
    for (std::size_t i = 0; i < printed.size(); ++i)
      EXPECT_EQ(printed[i].substr(0, lines[shown + i].size()), lines[shown + i]) << script;
    ++commands;
  }
  EXPECT_GE(commands, 3);
}

TEST(PillarCommand, OptionsReachTheChart) {
  EXPECT_NE(chart_of("1990-01-17T23:30 --zi-hour day-at-23")["pillars"]["day"],
            chart_of("1990-01-17T23:30")["pillars"]["day"]);
  EXPECT_EQ(chart_of("1990-05-17T14:30 --utc-offset -03:30")["utc"], "1990-05-17T18:00:00Z");
  EXPECT_EQ(chart_of("1990-05-17T14:30 --tz America/New_York")["utc"], "1990-05-17T18:30:00Z");
  Json solar = chart_of("1990-05-17T14:30 --longitude 87.6 --solar-time mean");
  EXPECT_EQ(solar["corrections"]["solar_kind"], "mean");
  EXPECT_TRUE(solar["corrections"]["solar_time"].is_string());
  EXPECT_EQ(chart_of("1990-05-17T14:30 --sex male --luck-method days")["luck"]["method"], "days");
  EXPECT_EQ(chart_of("1990-05-17T14:30 --sex male --luck-method seconds")["luck"]["method"], "minutes");

  // Summer time is taken off the hour unless the clock is asked for, by flag or key.
  Json standard = chart_of("1988-07-01T11:30");
  EXPECT_EQ(standard["corrections"]["dst_removed_seconds"], 3600);
  EXPECT_EQ(standard["pillars"]["hour"], "乙巳");
  EXPECT_EQ(chart_of("1988-07-01T11:30 --solar-time clock")["pillars"]["hour"], "丙午");
  EXPECT_EQ(Json::parse(run("chart --batch", R"({"datetime": "1988-07-01T11:30", "solar_time": "clock"})").out),
            chart_of("1988-07-01T11:30 --solar-time clock"));
  EXPECT_NE(run("chart 1988-07-01T11:30").out.find("标准时  1988-07-01T10:30:00  钟表减去夏令时 1 小时"),
            std::string::npos);

  // The reading chosen in a gap is the one shown, with the date it had.
  Result gap = run("chart 2018-11-04T00:30 --tz America/Sao_Paulo --fold earlier");
  EXPECT_NE(gap.out.find("出生    2018-11-03 23:30:00"), std::string::npos) << gap.out;
  EXPECT_NE(gap.out.find("九月廿六"), std::string::npos) << gap.out;

  // China's clocks went back at 02:00 on 1990-09-16: 01:30 happened twice.
  EXPECT_EQ(run("chart 1990-09-16T01:30").status, 2);
  EXPECT_EQ(chart_of("1990-09-16T01:30 --fold earlier")["utc"], "1990-09-15T16:30:00Z");
  EXPECT_EQ(chart_of("1990-09-16T01:30 --fold later")["utc"], "1990-09-15T17:30:00Z");

  const char* flags =
      "1990-09-16T01:30 --tz Asia/Shanghai --fold later --sex 女 --longitude 87.6 --solar-time mean "
      "--solar-all-pillars --zi-hour same-day-stem --luck-method minutes --luck-count 3 --annual 2024-2025 "
      "--margin 90 --palace-month zhongqi --palace-stem rat --sign zhongqi --animal new-year --minor-luck all "
      "--annotate --months 2025 --days 2025-03 --hours 2025-03-05";
  const char* line =
      R"({"datetime": "1990-09-16T01:30", "tz": "Asia/Shanghai", "fold": "later", "sex": "女", "longitude": 87.6,)"
      R"( "solar_time": "mean", "solar_all_pillars": true, "zi_hour": "same-day-stem", "luck_method": "minutes",)"
      R"( "luck_count": 3, "annual": "2024-2025", "margin": 90, "palace_month": "zhongqi", "palace_stem": "rat",)"
      R"( "sign": "zhongqi", "animal": "new-year", "minor_luck": "all", "annotate": true, "months": 2025,)"
      R"( "days": "2025-03", "hours": "2025-03-05"})";
  Result batch = run("chart --batch", line);
  EXPECT_EQ(Json::parse(batch.out), chart_of(flags));
  Json chart = chart_of(flags);
  EXPECT_EQ(chart["luck"]["annual"].size(), 2u);
  EXPECT_EQ(chart["zodiac"]["animal_rule"], "new-year");
  EXPECT_EQ(chart["minor_luck"].size(), chart["luck"]["pillars"].back()["age_sui"].get<int>() + 9u);
  EXPECT_TRUE(chart["luck"]["annual"][0].contains("notes"));
  EXPECT_EQ(chart["hours"]["slots"].size(), 13u);
}

}  // namespace

namespace {

// The gazetteer as the command searches it: any spelling of a name finds the
// place people mean first.
TEST(PillarPlaces, AnySpellingFindsThePlaceMeant) {
  struct Case {
    const char* query;
    const char* zh;
    const char* zone;
  } cases[] = {
      {"拉萨市", "拉萨", "Asia/Shanghai"}, {"\"xi'an\"", "西安", "Asia/Shanghai"}, {"XIAN", "西安", "Asia/Shanghai"},
      {"廈門", "厦门", "Asia/Shanghai"},   {"urumqi", "乌鲁木齐", "Asia/Shanghai"},  {"'hong kong'", "香港", "Asia/Hong_Kong"},
      {"台北", "台北", "Asia/Taipei"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    Result found = run(std::string("places --json --limit 3 ") + c.query);
    ASSERT_EQ(found.status, 0) << found.err;
    Json places = Json::parse(found.out)["places"];
    ASSERT_FALSE(places.empty());
    EXPECT_EQ(places[0]["zh"], c.zh);
    EXPECT_EQ(places[0]["zone"], c.zone);
    EXPECT_LE(places.size(), 3u);
  }
  EXPECT_EQ(run("places --limit 0 beijing").status, 2);
  EXPECT_EQ(run("places ''").status, 2);
  EXPECT_EQ(Json::parse(run("places --json qqqqzzz").out)["places"].size(), 0u);
}

// The generated table: eleven fields a row, places inside China's box, the
// mainland on Beijing time, and the county seats there.
TEST(PillarPlaces, GazetteerRowsAreWhole) {
  int rows = 0, county_seats = 0;
  for (const std::string& line : lines_of(read_file(PILLAR_SOURCE_DIR "/data/places.tsv"))) {
    if (line.empty() || line[0] == '#') continue;
    ++rows;
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
    ASSERT_EQ(fields.size(), 11u) << line;
    double longitude = std::stod(fields[5]), latitude = std::stod(fields[6]);
    EXPECT_TRUE(longitude > 73 && longitude < 135.1 && latitude > 16 && latitude < 53.6) << line;
    const std::string& zone = fields[7];
    EXPECT_TRUE(zone == "Asia/Shanghai" || zone == "Asia/Hong_Kong" || zone == "Asia/Macau" || zone == "Asia/Taipei")
        << line;
    if (fields[8] == "PPLA3") ++county_seats;
  }
  EXPECT_GT(rows, 15000);
  EXPECT_GT(county_seats, 1900);
}

}  // namespace

namespace {

// The keys each table of docs/chart-json.md lists, by the object it
// describes: "chart", "chart.corrections", "chart.analysis.pillars[]",
// "find", "lunar", "options" (the flags), "batch" (the batch keys).
std::map<std::string, std::set<std::string>> documented_keys() {
  std::ifstream doc(PILLAR_DOCS "/chart-json.md");
  EXPECT_TRUE(doc) << PILLAR_DOCS "/chart-json.md";
  std::map<std::string, std::set<std::string>> keys;
  std::string object;
  auto names_in = [](const std::string& cell) {
    std::vector<std::string> names;
    for (std::size_t open = cell.find('`'); open != std::string::npos; open = cell.find('`', open + 1)) {
      std::size_t close = cell.find('`', open + 1);
      names.push_back(cell.substr(open + 1, close - open - 1));
      open = close;
    }
    return names;
  };
  for (std::string line; std::getline(doc, line);) {
    if (line == "## Options of `pillar chart`") object = "options";
    else if (line == "## The chart object") object = "chart";
    else if (line == "## `pillar find`") object = "find";
    else if (line == "## The lunar object") object = "lunar";
    else if (line.starts_with("## ")) object.clear();
    else if (object.starts_with("chart") && line.starts_with('`') && line.ends_with("`:"))
      object = "chart." + line.substr(1, line.size() - 3);
    if (object.empty() || !line.starts_with("| ") || line.starts_with("| key") || line.starts_with("| flag"))
      continue;
    std::vector<std::string> cells;
    for (std::size_t from = 1, bar; (bar = line.find(" |", from)) != std::string::npos; from = bar + 2)
      cells.push_back(line.substr(from, bar - from));
    if (object == "options") {
      for (const std::string& flag : names_in(cells.at(0))) keys["options"].insert(flag);
      for (const std::string& key : names_in(cells.at(1))) keys["batch"].insert(key);
      continue;
    }
    for (const std::string& name : names_in(cells.at(0))) {
      std::size_t nested = name.find("[].");
      if (nested == std::string::npos)
        keys[object].insert(name);
      else
        keys[object + "." + name.substr(0, nested + 2)].insert(name.substr(nested + 3));
    }
  }
  return keys;
}

std::set<std::string> keys_of(const Json& object) {
  std::set<std::string> keys;
  for (const auto& [key, value] : object.items()) keys.insert(key);
  return keys;
}

// What the command writes and accepts is what docs/chart-json.md lists, key
// for key, as the export list is held to docs/api.md.
TEST(PillarCommand, JsonKeysAreTheDocumentedOnes) {
  auto documented = documented_keys();
  Json chart = chart_of("1990-05-17T14:30 --sex male --longitude 116.4 --margin 1440 --annual 2024");
  ASSERT_FALSE(chart["warnings"].empty());
  const std::map<std::string, Json> written = {
      {"chart", chart},
      {"chart.corrections", chart["corrections"]},
      {"chart.analysis", chart["analysis"]},
      {"chart.analysis.pillars[]", chart["analysis"]["pillars"][0]},
      {"chart.luck", chart["luck"]},
      {"chart.warnings[]", chart["warnings"][0]},
      {"chart.notes", chart_of("1990-05-17T14:30 --sex male --annotate")["luck"]["pillars"][0]["notes"]},
      {"find", Json::parse(run("find 甲子 丙寅 戊辰 壬子 --json").out)},
      {"lunar", Json::parse(run("lunar --json 2023-06-18").out)},
  };
  for (const auto& [object, json] : written) EXPECT_EQ(keys_of(json), documented[object]) << object;
  EXPECT_EQ(keys_of(chart["lunar"]), documented["lunar"]);
  EXPECT_EQ(documented.size(), written.size() + 2) << "a table of the document is not checked";

  std::set<std::string> flags;  // as `pillar chart --help` lists them
  for (const std::string& line : lines_of(run("chart --help").out))
    if (std::size_t flag = line.find("--"); flag != std::string::npos && line.starts_with("  --"))
      flags.insert(line.substr(flag, line.find(' ', flag) - flag));
  std::set<std::string> documented_flags;
  for (const std::string& flag : documented["options"])
    if (flag.starts_with("--")) documented_flags.insert(flag.substr(0, flag.find(' ')));
  EXPECT_EQ(flags, documented_flags);

  std::string batch;  // every documented key is accepted (null counts as absent) ...
  for (const std::string& key : documented["batch"])
    if (key != "datetime") batch += R"({"datetime": "1990-05-17", ")" + key + R"(": null})" "\n";
  for (const std::string& line : lines_of(run("chart --batch", batch).out))
    EXPECT_FALSE(Json::parse(line).contains("error")) << line;
  // ... and a key the document does not list is not.
  EXPECT_NE(run("chart --batch", R"({"datetime": "1990-05-17", "zone": null})").out.find("unknown key"),
            std::string::npos);
}

// A line's own zone replaces a default fixed offset, and the other way round.
TEST(PillarCommand, BatchLineKeysReplaceTheDefaults) {
  Result batch = run("chart --batch --utc-offset +03:00",
                     R"({"datetime": "1990-05-17T14:30", "tz": "America/New_York"})" "\n"
                     R"({"datetime": "1990-05-17T14:30"})" "\n");
  std::vector<std::string> lines = lines_of(batch.out);
  ASSERT_EQ(lines.size(), 2u) << batch.out;
  EXPECT_EQ(Json::parse(lines[0])["utc"], "1990-05-17T18:30:00Z");
  EXPECT_EQ(Json::parse(lines[1])["utc"], "1990-05-17T11:30:00Z");
  batch = run("chart --batch --tz America/New_York", R"({"datetime": "1990-05-17T14:30", "utc_offset": "+03:00"})");
  EXPECT_EQ(Json::parse(batch.out)["utc"], "1990-05-17T11:30:00Z");
}

}  // namespace
