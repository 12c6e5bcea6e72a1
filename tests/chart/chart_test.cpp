// The chart engine on what can go wrong: term boundaries to the second, the
// three 子 schools, daylight saving, births abroad, solar time, the luck start
// against 取起运年龄, the range ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "chart.h"
#include "pillar_arithmetic.h"

namespace {

using namespace pillar::chart;

BirthInput birth(const char* when, const char* zone = "Asia/Shanghai") {
  BirthInput input;
  input.local = parse_civil_moment(when);
  input.zone = zone;
  return input;
}

Pillars four(const char* year, const char* month, const char* day, const char* hour) {
  return {year, month, day, std::string(hour)};
}

bool has_warning(const Chart& chart, const std::string& boundary) {
  return std::any_of(chart.warnings.begin(), chart.warnings.end(),
                     [&](const Warning& w) { return w.boundary == boundary; });
}

// The printed term instants (UTC+8): the second before holds the old month,
// the instant itself the new one; only 立春 changes the year.
TEST(ChartPillars, JieInstantsToTheSecond) {
  struct Case {
    const char *before, *at, *year_before, *month_before, *year_after, *month_after;
  } cases[] = {
      {"2000-02-04T20:40:22", "2000-02-04T20:40:23", "己卯", "丁丑", "庚辰", "戊寅"},  // 立春 2000
      {"2000-03-05T14:42:38", "2000-03-05T14:42:39", "庚辰", "戊寅", "庚辰", "己卯"},  // 惊蛰 2000
      {"2000-01-06T09:00:40", "2000-01-06T09:00:41", "己卯", "丙子", "己卯", "丁丑"},  // 小寒 2000
      {"1901-02-04T19:39:58", "1901-02-04T19:39:59", "庚子", "己丑", "辛丑", "庚寅"},  // 立春 1901
      {"2048-12-06T18:59:55", "2048-12-06T18:59:56", "戊辰", "癸亥", "戊辰", "甲子"},  // 大雪 2048
  };
  for (const Case& c : cases) {
    BirthInput input = birth(c.before);
    input.utc_offset_seconds = 8 * 3600;
    Chart before = make_chart(input);
    EXPECT_EQ(before.pillars.year, c.year_before) << c.before;
    EXPECT_EQ(before.pillars.month, c.month_before) << c.before;
    EXPECT_TRUE(has_warning(before, "jie")) << c.before;
    input.local = parse_civil_moment(c.at);
    Chart at = make_chart(input);
    EXPECT_EQ(at.pillars.year, c.year_after) << c.at;
    EXPECT_EQ(at.pillars.month, c.month_after) << c.at;
    ASSERT_FALSE(at.warnings.empty());
    EXPECT_EQ(at.warnings[0].other.month, c.month_before) << c.at;
  }
}

// Readings of different clocks do not mix: only an offset moves one to another.
static_assert(!std::is_convertible_v<detail::Utc, detail::CivilReading>);
static_assert(!std::is_convertible_v<std::int64_t, detail::Utc>);
template <class A, class B>
constexpr bool subtractable = requires(A a, B b) { a - b; };
template <class A, class B>
constexpr bool comparable = requires(A a, B b) { a < b; };
static_assert(subtractable<detail::Utc, detail::Utc> && !subtractable<detail::Utc, detail::SolarReading>);
static_assert(comparable<detail::TableReading, detail::TableReading> &&
              !comparable<detail::CivilReading, detail::TableReading>);

// The month search guesses from the even spacing of the jie: every jie of
// the table is found at its instant and not a second before.
TEST(ChartPillars, EveryJieIsFoundToTheSecond) {
  const auto& jie = detail::jie_instants();
  for (int i = 1; i < detail::kJieCount; ++i) {
    ASSERT_EQ(detail::jie_index_at(jie[i]), i);
    ASSERT_EQ(detail::jie_index_at(jie[i] - 1), i - 1);
  }
}

// 2000-01-01 is a 戊午 day (子 hour 壬子, 亥 hour 癸亥), 2000-01-02 己未 (子
// hour 甲子).
TEST(ChartPillars, LateZiHourUnderEachSchool) {
  struct Case {
    const char* when;
    ZiSchool school;
    const char *day, *hour;
  } cases[] = {
      {"2000-01-01T22:59:59", ZiSchool::DayChangesAt23, "戊午", "癸亥"},
      {"2000-01-01T23:00:00", ZiSchool::DayChangesAt23, "己未", "甲子"},
      {"2000-01-01T23:59:59", ZiSchool::DayChangesAt23, "己未", "甲子"},
      {"2000-01-02T00:00:00", ZiSchool::DayChangesAt23, "己未", "甲子"},
      {"2000-01-01T22:59:59", ZiSchool::NextDayStem, "戊午", "癸亥"},
      {"2000-01-01T23:00:00", ZiSchool::NextDayStem, "戊午", "甲子"},
      {"2000-01-01T23:59:59", ZiSchool::NextDayStem, "戊午", "甲子"},
      {"2000-01-02T00:00:00", ZiSchool::NextDayStem, "己未", "甲子"},
      {"2000-01-01T22:59:59", ZiSchool::SameDayStem, "戊午", "癸亥"},
      {"2000-01-01T23:00:00", ZiSchool::SameDayStem, "戊午", "壬子"},
      {"2000-01-01T23:59:59", ZiSchool::SameDayStem, "戊午", "壬子"},
      {"2000-01-02T00:00:00", ZiSchool::SameDayStem, "己未", "甲子"},
  };
  for (const Case& c : cases) {
    BirthInput input = birth(c.when);
    input.zi_school = c.school;
    Chart chart = make_chart(input);
    EXPECT_EQ(chart.pillars.day, c.day) << c.when << " school " << static_cast<int>(c.school);
    EXPECT_EQ(chart.pillars.hour, c.hour) << c.when << " school " << static_cast<int>(c.school);
  }
  // One second before 23:00 the day-at-23 school warns of the day across it.
  BirthInput input = birth("2000-01-01T22:59:59");
  input.zi_school = ZiSchool::DayChangesAt23;
  Chart chart = make_chart(input);
  ASSERT_TRUE(has_warning(chart, "day"));
  EXPECT_EQ(chart.warnings[0].seconds_away, 1);
  EXPECT_EQ(chart.warnings[0].other, four("己卯", "丙子", "己未", "甲子"));
}

// China kept daylight saving 1986-1991: on 1986-05-04 the clock jumped from
// 02:00 to 03:00, on 1986-09-14 from 02:00 back to 01:00.
TEST(ChartZones, ChinaDaylightSavingGapAndFold) {
  BirthInput gap = birth("1986-05-04T02:30");
  try {
    make_chart(gap);
    ADD_FAILURE() << "a time in the gap was accepted";
  } catch (const InputError& e) {
    std::string message = e.what();
    EXPECT_NE(message.find("1986-05-03T17:30:00Z"), std::string::npos) << message;
    EXPECT_NE(message.find("1986-05-03T18:30:00Z"), std::string::npos) << message;
  }
  gap.fold = FoldChoice::Later;
  Chart later_gap = make_chart(gap);
  EXPECT_EQ(later_gap.corrections.utc, "1986-05-03T18:30:00Z");
  // 18:30 UTC was 02:30 standard time (丑), 03:30 on the moved clock (寅).
  EXPECT_EQ(later_gap.pillars.hour->substr(3), "丑");
  gap.solar_time = SolarTime::Clock;
  EXPECT_EQ(make_chart(gap).pillars.hour->substr(3), "寅");

  BirthInput fold = birth("1986-09-14T01:50");
  EXPECT_THROW(make_chart(fold), InputError);
  fold.fold = FoldChoice::Earlier;
  Chart earlier = make_chart(fold);
  EXPECT_EQ(earlier.corrections.utc, "1986-09-13T16:50:00Z");
  EXPECT_EQ(earlier.corrections.dst_seconds, 3600);
  EXPECT_EQ(earlier.corrections.utc_offset_seconds, 9 * 3600);
  EXPECT_TRUE(has_warning(earlier, "dst"));
  fold.fold = FoldChoice::Later;
  Chart later = make_chart(fold);
  EXPECT_EQ(later.corrections.utc, "1986-09-13T17:50:00Z");
  EXPECT_EQ(later.corrections.dst_seconds, 0);
  // On standard time the earlier 01:50 was 00:50, the 子 hour, the later one
  // the 丑 hour; the clock read 01:50 either way.
  EXPECT_EQ(earlier.pillars.hour->substr(3), "子");
  EXPECT_EQ(earlier.corrections.solar_time, "1986-09-14T00:50:00");
  EXPECT_EQ(earlier.corrections.dst_removed_seconds, 3600);
  EXPECT_EQ(later.pillars.hour->substr(3), "丑");
  fold.solar_time = SolarTime::Clock;
  fold.fold = FoldChoice::Earlier;
  Chart earlier_clock = make_chart(fold);
  EXPECT_EQ(earlier_clock.pillars.hour->substr(3), "丑");
  EXPECT_EQ(earlier_clock.corrections.dst_removed_seconds, 0);
  EXPECT_FALSE(earlier_clock.corrections.solar_time);
  fold.fold = FoldChoice::Later;
  EXPECT_EQ(make_chart(fold).pillars, earlier_clock.pillars);
}

// Daylight saving moves the clock, not the sun: by default day and hour are
// read on standard time. 1988-07-01 and -02 (丁巳 and 戊午 days) fell in
// China's summer time; a 丁 day's 子 hour is 庚子, a 戊 day's 壬子.
TEST(ChartZones, DaylightSavingIsNotTheHour) {
  struct Case {
    const char* when;
    ZiSchool school;
    const char *standard_day, *standard_hour, *clock_day, *clock_hour;
  } cases[] = {
      // 23:30 on the summer clock is 22:30 standard time, the 亥 hour, in every school.
      {"1988-07-01T23:30", ZiSchool::DayChangesAt23, "丁巳", "辛亥", "戊午", "壬子"},
      {"1988-07-01T23:30", ZiSchool::NextDayStem, "丁巳", "辛亥", "丁巳", "壬子"},
      {"1988-07-01T23:30", ZiSchool::SameDayStem, "丁巳", "辛亥", "丁巳", "庚子"},
      // 00:30 on the summer clock is 23:30 of the day before, the late 子 hour.
      {"1988-07-02T00:30", ZiSchool::DayChangesAt23, "戊午", "壬子", "戊午", "壬子"},
      {"1988-07-02T00:30", ZiSchool::NextDayStem, "丁巳", "壬子", "戊午", "壬子"},
      {"1988-07-02T00:30", ZiSchool::SameDayStem, "丁巳", "庚子", "戊午", "壬子"},
  };
  for (const Case& c : cases) {
    BirthInput input = birth(c.when);
    input.zi_school = c.school;
    Chart standard = make_chart(input);
    EXPECT_EQ(standard.pillars.day + *standard.pillars.hour, std::string(c.standard_day) + c.standard_hour)
        << c.when << " " << static_cast<int>(c.school);
    input.solar_time = SolarTime::Clock;
    Chart clock = make_chart(input);
    EXPECT_EQ(clock.pillars.day + *clock.pillars.hour, std::string(c.clock_day) + c.clock_hour)
        << c.when << " " << static_cast<int>(c.school);
  }
  Chart summer = make_chart(birth("1988-07-01T11:30"));
  EXPECT_EQ(summer.corrections.solar_kind, "standard");
  EXPECT_EQ(summer.corrections.solar_time, "1988-07-01T10:30:00");
  EXPECT_EQ(summer.corrections.dst_removed_seconds, 3600);
  EXPECT_EQ(summer.pillars.hour->substr(3), "巳");

  // Abroad: 13:30 of a New York summer is 12:30 standard time, the 午 hour.
  BirthInput abroad = birth("2000-07-04T13:30", "America/New_York");
  EXPECT_EQ(make_chart(abroad).pillars.hour->substr(3), "午");
  abroad.solar_time = SolarTime::Clock;
  EXPECT_EQ(make_chart(abroad).pillars.hour->substr(3), "未");
  // A winter birth has nothing to remove.
  Chart winter = make_chart(birth("2000-01-04T13:30", "America/New_York"));
  EXPECT_EQ(winter.corrections.dst_removed_seconds, 0);
  EXPECT_EQ(winter.corrections.solar_time, "2000-01-04T13:30:00");
}

// 03:05 on 1988-04-17 in Shanghai, five minutes after the clocks went
// forward: read on the offset before (+08:00) it is an hour later, and at
// 120° east the solar hour is 寅, not 丑. The other reading starts from the
// civil clock, not from the solar one.
TEST(ChartZones, OffsetChangeUnderSolarTimeReadsTheCivilClockAgain) {
  BirthInput input = birth("1988-04-17T03:05");
  input.longitude = 120.0;
  input.solar_time = SolarTime::Mean;
  Chart chart = make_chart(input);
  EXPECT_EQ(chart.pillars.hour->substr(3), "丑");
  auto dst = std::find_if(chart.warnings.begin(), chart.warnings.end(),
                          [](const Warning& w) { return w.boundary == "dst"; });
  ASSERT_NE(dst, chart.warnings.end());
  EXPECT_EQ(dst->pillars, std::vector<std::string>{"hour"});
  EXPECT_EQ(dst->other.hour->substr(3), "寅");
}

// 立春 2000 (20:40:23 at UTC+8) was 07:40:23 in New York.
TEST(ChartZones, BirthAbroadNearAJie) {
  Chart before = make_chart(birth("2000-02-04T07:40:22", "America/New_York"));
  Chart at = make_chart(birth("2000-02-04T07:40:23", "America/New_York"));
  EXPECT_EQ(before.corrections.utc, "2000-02-04T12:40:22Z");
  EXPECT_EQ(before.corrections.utc_offset_seconds, -5 * 3600);
  EXPECT_EQ(before.pillars.year, "己卯");
  EXPECT_EQ(before.pillars.month, "丁丑");
  EXPECT_EQ(at.pillars.year, "庚辰");
  EXPECT_EQ(at.pillars.month, "戊寅");
  EXPECT_EQ(at.pillars.day, before.pillars.day);  // the New York day, 2000-02-04: 壬辰
  EXPECT_EQ(at.pillars.day, "壬辰");
  EXPECT_TRUE(has_warning(before, "jie"));
  EXPECT_THROW(make_chart(birth("2000-02-04T07:40", "Mars/Olympus")), InputError);
}

// On 2000-11-03 the sun is about 16.4 minutes ahead of the mean sun: at
// 12:50 on the 120° meridian the mean sun still stands in the 午 hour, the
// true sun already in the 未 hour (13:00 on).
TEST(ChartSolarTime, ApparentTimeCrossesAnHourBoundary) {
  BirthInput input = birth("2000-11-03T12:50");
  input.utc_offset_seconds = 8 * 3600;
  Chart clock = make_chart(input);
  input.longitude = 120.0;
  input.solar_time = SolarTime::Mean;
  Chart mean = make_chart(input);
  input.solar_time = SolarTime::Apparent;
  Chart apparent = make_chart(input);
  EXPECT_EQ(clock.pillars.hour->substr(3), "午");
  EXPECT_EQ(mean.pillars.hour, clock.pillars.hour);
  EXPECT_EQ(apparent.pillars.hour->substr(3), "未");
  EXPECT_NEAR(*apparent.corrections.equation_of_time_seconds, 16.4 * 60, 15);
  EXPECT_TRUE(has_warning(mean, "hour"));

  // 87.6° east is 2 h 9 min 36 s of time behind the 120° meridian: 14:30 on
  // the clock is 12:20:24 mean solar time, the 午 hour.
  BirthInput west = birth("2001-03-01T14:30");
  west.longitude = 87.6;
  west.solar_time = SolarTime::Mean;
  Chart urumqi = make_chart(west);
  EXPECT_EQ(urumqi.corrections.solar_time, "2001-03-01T12:20:24");
  EXPECT_EQ(urumqi.pillars.hour->substr(3), "午");

  // Read off the solar clock, 21:00 on the day of 立春 2000 (20:40:23 at
  // UTC+8) is 18:50:24, still before the jie by the table's reading.
  BirthInput all = birth("2000-02-04T21:00");
  all.longitude = 87.6;
  all.solar_time = SolarTime::Mean;
  EXPECT_EQ(make_chart(all).pillars.month, "戊寅");
  all.solar_time_all_pillars = true;
  EXPECT_EQ(make_chart(all).pillars.month, "丁丑");
}

// Yang year 庚辰, male: forward from the month pillar 戊寅; the minutes
// method counts 1 day of distance as 4 months.
TEST(ChartLuck, DirectionPillarsAndMinutes) {
  BirthInput input = birth("2000-02-05T20:40:23");  // one day after 立春
  input.utc_offset_seconds = 8 * 3600;
  input.sex = Sex::Male;
  input.luck_method = LuckMethod::ExactMinutes;
  input.annual_from = 2024;
  input.annual_to = 2025;
  Luck luck = *make_chart(input).luck;
  EXPECT_TRUE(luck.forward);
  EXPECT_EQ(luck.pillars[0].pillar, "己卯");
  EXPECT_EQ(luck.pillars[1].pillar, "庚辰");
  ASSERT_EQ(luck.annual.size(), 2u);
  EXPECT_EQ(luck.annual[0].pillar, "甲辰");
  EXPECT_EQ(luck.annual[1].pillar, "乙巳");
  input.sex = Sex::Female;  // backward: one day to 立春 is 4 months
  luck = *make_chart(input).luck;
  EXPECT_FALSE(luck.forward);
  EXPECT_EQ(luck.pillars[0].pillar, "丁丑");
  EXPECT_EQ(luck.years, 0);
  EXPECT_EQ(luck.months, 4);
  EXPECT_EQ(luck.days, 0);
  EXPECT_EQ(luck.start, "2000-06-05T20:40:23+08:00");
}

// Each luck pillar starts ten civil years after the one before; a start on
// 29 February falls on the 28th in a common year. A start the clock skipped
// (New York, 1972-04-30 02:00-03:00) is read on the offset before: 03:30 EDT.
TEST(ChartLuck, PillarStartsTenYearsApart) {
  BirthInput input = birth("1979-04-02T02:30", "America/New_York");
  input.sex = Sex::Male;
  input.luck_method = LuckMethod::LibraryDays;  // the starts below are its count's
  input.luck_count = 3;
  Luck luck = *make_chart(input).luck;
  EXPECT_EQ(luck.pillars[0].start, "1988-02-29T02:30:00-05:00");
  EXPECT_EQ(luck.pillars[1].start, "1998-02-28T02:30:00-05:00");
  EXPECT_EQ(luck.pillars[2].start, "2008-02-29T02:30:00-05:00");
  EXPECT_NEAR(luck.pillars[2].age - luck.pillars[0].age, 20, 0.02);

  BirthInput gap = birth("1960-01-13T02:30", "America/New_York");
  gap.sex = Sex::Male;
  gap.luck_method = LuckMethod::LibraryDays;
  gap.luck_count = 2;
  luck = *make_chart(gap).luck;
  EXPECT_EQ(luck.pillars[0].start, "1962-04-30T02:30:00-04:00");
  EXPECT_EQ(luck.pillars[1].start, "1972-04-30T03:30:00-04:00");
  EXPECT_NEAR(luck.pillars[1].age - luck.pillars[0].age, 10, 0.02);  // ages are rounded to 0.01
}

// The chart worked out by hand from the library's tables: 庚辰 戊寅 壬辰 庚戌.
TEST(ChartAnalysis, OneChartByHand) {
  Chart chart = make_chart(birth("2000-02-04T20:40:23"));
  ASSERT_EQ(chart.pillars, four("庚辰", "戊寅", "壬辰", "庚戌"));
  const Analysis& a = chart.analysis;
  ASSERT_EQ(a.pillars.size(), 4u);
  EXPECT_EQ(a.pillars[0].nayin, "白蜡金");
  EXPECT_EQ(a.pillars[3].nayin, "钗钏金");
  EXPECT_EQ(a.pillars[0].grade, "上等");
  EXPECT_EQ(a.pillars[0].stem_ten_god, "偏印");
  EXPECT_EQ(a.pillars[1].stem_ten_god, "偏官");
  EXPECT_EQ(a.pillars[2].stem_ten_god, "日主");
  EXPECT_EQ(a.pillars[0].growth_phase, "墓");
  EXPECT_EQ(a.pillars[1].growth_phase, "病");
  EXPECT_EQ(a.pillars[3].growth_phase, "冠带");
  ASSERT_EQ(a.pillars[1].hidden.size(), 3u);
  EXPECT_EQ(a.pillars[1].hidden[0].stem, "甲");
  EXPECT_EQ(a.pillars[1].hidden[0].ten_god, "食神");
  EXPECT_EQ(a.void_of_year, "申、酉");
  EXPECT_EQ(a.void_of_day, "午、未");
  EXPECT_EQ(a.commander, "戊土");
  EXPECT_EQ(a.wealth_treasury + a.seal_treasury + a.office, "丑辰午");
  std::vector<std::pair<std::string, int>> elements = {{"金", 2}, {"水", 1}, {"木", 1}, {"火", 0}, {"土", 4}};
  EXPECT_EQ(a.element_counts, elements);
  auto god = std::find_if(a.ten_god_counts.begin(), a.ten_god_counts.end(),
                          [](const auto& entry) { return entry.first == "偏官"; });
  ASSERT_NE(god, a.ten_god_counts.end());
  EXPECT_EQ(god->second, 5);
  std::vector<std::string> relations;
  for (const Relation& r : a.relations) relations.push_back(r.kind + r.first + r.second + r.between);
  EXPECT_EQ(relations, (std::vector<std::string>{"刑辰辰年-日", "冲辰戌年-时", "冲辰戌日-时"}));
}

// A 戊 day allows the thirteen hour pillars 壬子 甲子 癸丑 甲寅 … 癸亥.
TEST(ChartUnknownHour, ThirteenCandidates) {
  Chart chart = make_chart(birth("2000-01-01"));
  EXPECT_FALSE(chart.pillars.hour.has_value());
  EXPECT_EQ(chart.pillars.day, "戊午");
  std::vector<std::string> expected = {"壬子", "癸丑", "甲寅", "乙卯", "丙辰", "丁巳", "戊午",
                                       "己未", "庚申", "辛酉", "壬戌", "癸亥", "甲子"};
  EXPECT_EQ(chart.candidate_hours, expected);
  EXPECT_EQ(chart.analysis.pillars.size(), 3u);
}

// One chart filled again and again must hold exactly what a fresh one would:
// nothing of a richer chart before may survive into a poorer one.
TEST(ChartReuse, RefilledChartEqualsAFreshOne) {
  BirthInput rich = birth("2000-02-04T07:35", "America/New_York");  // near 立春
  rich.sex = Sex::Male;
  rich.longitude = -74;
  rich.annual_from = 2020, rich.annual_to = 2025;
  rich.luck_count = 12;
  BirthInput plain = birth("1990-05-17T14:30");
  plain.sex = Sex::Female;
  BirthInput minutes = plain;
  minutes.luck_method = LuckMethod::ExactMinutes;
  minutes.luck_count = 3;
  ASSERT_FALSE(make_chart(rich).warnings.empty());
  Chart reused;
  for (const BirthInput& input : {rich, plain, rich, birth("2000-01-01"), minutes}) {
    make_chart(input, reused);
    EXPECT_EQ(reused, make_chart(input)) << reused.corrections.local;
  }
}

// The end of 2079 closes the range (the start: chart_library_test).
// A chosen reading in a gap rules everything: São Paulo's clocks skipped
// 2018-11-04 00:00-01:00, and the earlier reading of 00:30 is 23:30 of the 3rd.
TEST(ChartZones, ChosenReadingOfAGapRulesTheLunarDate) {
  BirthInput gap = birth("2018-11-04T00:30", "America/Sao_Paulo");
  gap.fold = FoldChoice::Earlier;
  Chart chart = make_chart(gap);
  EXPECT_EQ(chart.corrections.local, "2018-11-03T23:30:00-03:00");
  ASSERT_TRUE(chart.lunar);
  EXPECT_EQ(chart.lunar->day, 26);  // 2018-11-03 is 九月廿六

  // Apia skipped 2011-12-30 whole: a bare date there names that, whatever the fold.
  BirthInput skipped = birth("2011-12-30", "Pacific/Apia");
  skipped.fold = FoldChoice::Later;
  try {
    make_chart(skipped);
    ADD_FAILURE() << "a skipped date was charted";
  } catch (const InputError& e) {
    EXPECT_NE(std::string(e.what()).find("skipped"), std::string::npos) << e.what();
  }
}

// Solar time is the UTC instant plus the longitude's time on the zone's
// nearest day: 180° and -180° are one meridian, and Kiritimati (UTC+14 at
// 157.4° W) keeps the date its clocks show.
TEST(ChartSolarTime, DateLineLongitudes) {
  BirthInput east = birth("2020-06-01T12:00");
  east.utc_offset_seconds = 12 * 3600;
  east.longitude = 180.0;
  BirthInput west = east;
  west.longitude = -180.0;
  EXPECT_EQ(make_chart(east).pillars, make_chart(west).pillars);
  BirthInput kiritimati = birth("2020-06-01T12:00", "Pacific/Kiritimati");
  kiritimati.longitude = -157.4;
  Chart chart = make_chart(kiritimati);
  EXPECT_EQ(chart.corrections.solar_time->substr(0, 13), "2020-06-01T11");
  EXPECT_EQ(chart.pillars.day, make_chart(birth("2020-06-01T12:00", "Pacific/Kiritimati")).pillars.day);

  // Read on the solar clock, 03:00 of 1880-02-05 at -180° is 06:40 that day, after 立春 1880.
  BirthInput first = birth("1880-02-05T03:00");
  first.longitude = -180.0;
  first.solar_time_all_pillars = true;
  EXPECT_EQ(make_chart(first).pillars.year, "庚辰");
}

// 31 days after 小暑 1990 (07-07) the month has a 32nd day; its 司令 is the last period's.
TEST(ChartAnalysis, CommanderOfALongMonth) {
  EXPECT_EQ(make_chart(birth("1990-08-07T12:00")).analysis.commander, "己土");
}

TEST(ChartRange, Ends) {
  EXPECT_EQ(make_chart(birth("2079-12-31T23:59:59")).pillars.year, "己亥");
  EXPECT_THROW(make_chart(birth("2080-01-01T00:00:00")), InputError);
  EXPECT_THROW(make_chart(birth("1879-12-31T12:00:00")), InputError);
  EXPECT_THROW(pillars_at(-3'000'000'000LL, 0, ZiSchool::NextDayStem), InputError);
}

// The range's last minute on the clocks furthest west, and its lunar ends
// with a year from the lunar new year, whose boundary warnings look past them.
TEST(ChartRange, LastDayWestOfUtcAndLunarEnds) {
  BirthInput west = birth("2079-12-31T23:59");
  west.utc_offset_seconds = -18 * 3600;
  EXPECT_EQ(make_chart(west).corrections.utc, "2080-01-01T17:59:00Z");
  EXPECT_NO_THROW(make_chart(birth("2079-12-31T23:59:59", "Pacific/Pago_Pago")));
  for (const char* end : {"1880-12-02T00:05", "2079-11-22T23:55"}) {
    BirthInput lunar = birth(end);
    lunar.year_start = YearStart::LunarNewYear;
    EXPECT_NO_THROW(make_chart(lunar)) << end;
  }
}

TEST(ChartInput, RejectsBadValues) {
  for (const char* text : {"2000-02-30T10:00", "2000-13-01", "2000-01-01T24:00", "2000-1-1", "20000101", ""})
    EXPECT_THROW(parse_civil_moment(text), InputError) << text;
  BirthInput input = birth("2000-01-01T10:00");
  input.longitude = 181;
  EXPECT_THROW(make_chart(input), InputError);
  input = birth("2000-01-01T10:00");
  input.utc_offset_seconds = 19 * 3600;
  EXPECT_THROW(make_chart(input), InputError);
}

// A chart's own moment lies in one of the ranges found for its pillars.
TEST(ChartFinder, FindsTheMomentBack) {
  std::vector<MomentRange> ranges =
      find_moments(four("庚辰", "戊寅", "壬辰", "庚戌"), "Asia/Shanghai", std::nullopt, ZiSchool::NextDayStem);
  ASSERT_EQ(ranges.size(), 3u);  // 1880, 1940 and 2000
  EXPECT_EQ(ranges[0].first, "1880-03-04T19:00:00+08:05:43");  // Shanghai's local mean time then
  EXPECT_EQ(ranges[2].first, "2000-02-04T20:40:23+08:00");  // the jie cuts the 戌 hour
  EXPECT_EQ(ranges[2].last, "2000-02-04T20:59:59+08:00");
  EXPECT_TRUE(find_moments(four("甲子", "戊寅", "壬辰", "庚戌"), "Asia/Shanghai", std::nullopt,
                           ZiSchool::NextDayStem).empty());  // 戊寅 is no month of a 甲 year
  EXPECT_THROW(find_moments(four("甲丑", "戊寅", "壬辰", "庚戌"), "UTC", std::nullopt, ZiSchool::NextDayStem),
               InputError);
}

// A sample of another library's pillars (tests/chart/data, made by
// tools/compare_peers): equal, or across a jie instant that the two term
// tables put a few seconds apart, with only year and month differing.
TEST(ChartPeers, SampleAgreesOrDiffersAtAJie) {
  std::ifstream in(PEER_PILLARS);
  ASSERT_TRUE(in) << PEER_PILLARS;
  std::string line;
  int rows = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string when, school, year, month, day, hour, note;
    std::getline(fields, when, '\t');
    std::getline(fields, school, '\t');
    std::getline(fields, year, '\t');
    std::getline(fields, month, '\t');
    std::getline(fields, day, '\t');
    std::getline(fields, hour, '\t');
    std::getline(fields, note, '\t');
    CivilMoment m = parse_civil_moment(when);
    std::int64_t utc = detail::seconds_of_civil(m.year, m.month, m.day, m.hour, m.minute, m.second) - 8 * 3600;
    ZiSchool z = school == "day-at-23" ? ZiSchool::DayChangesAt23 : ZiSchool::NextDayStem;
    Pillars theirs{year, month, day, hour}, ours = pillars_at(utc, 8 * 3600, z);
    ++rows;
    if (note == "same") {
      EXPECT_EQ(ours, theirs) << line;
      continue;
    }
    // "jie±S": our jie lies S seconds from the moment; one second across it
    // our pillars are theirs.
    int away = std::stoi(note.substr(3));
    EXPECT_LE(std::abs(away), 60) << line;
    EXPECT_EQ(ours.day + *ours.hour, day + hour) << line;
    EXPECT_NE(ours.month, month) << line;
    EXPECT_EQ(pillars_at(utc + (away > 0 ? away : away - 1), 8 * 3600, z).month, month) << line;
  }
  EXPECT_GT(rows, 200);
}

}  // namespace
