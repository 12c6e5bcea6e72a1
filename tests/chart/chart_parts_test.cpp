// The chart parts beyond the pillars: palaces, luck-start methods, 小运,
// 流月/流日/流时, notes on luck pillars, sign and animal. Expected values
// come from the peers' runs quoted in the docs (lunar-javascript, tyme4ts)
// or from the definitions, never from this code.
#include <gtest/gtest.h>

#include <string>

#include "annotations.h"
#include "chart.h"
#include "cycle_texts.h"
#include "palaces.h"
#include "periods.h"
#include "place.h"

namespace pillar::chart {
namespace {

BirthInput birth(const char* when, std::optional<Sex> sex = std::nullopt) {
  BirthInput input;
  input.local = parse_civil_moment(when);
  input.utc_offset_seconds = 8 * 3600;
  input.sex = sex;
  return input;
}

std::string pair_text(int pair) { return pair < 0 ? "" : std::string(texts::pair(pair)); }

std::string palaces_text(const Chart& chart) {
  const PalaceNumbers& p = chart.palaces;
  return pair_text(p.fetal_origin) + " " + pair_text(p.fetal_breath) + " " + pair_text(p.life) + " " +
         pair_text(p.body);
}

TEST(Palaces, FollowTheMonthHourAndDayOfEachSchool) {
  // 1990-01-27 00:00, 己巳 丁丑 壬辰 庚子; lunar-javascript: 胎元 戊辰, 胎息 丁酉, 命宫 戊辰, 身宫 丙寅
  // (lunar-go#17 settled 身宫 丙寅).
  EXPECT_EQ(palaces_text(make_chart(birth("1990-01-27T00:00"))), "戊辰 丁酉 戊辰 丙寅");
  // A palace in 子 or 丑: 己年 子月 巳时 gives 命宫 丙子 by 五虎遁 continued (lunar-javascript),
  // 甲子 by 五鼠遁 (lunisolar).
  BirthInput input = birth("1989-12-20T10:00");
  EXPECT_EQ(pair_text(make_chart(input).palaces.life), "丙子");
  input.palace_stem = PalaceStem::Rat;
  EXPECT_EQ(pair_text(make_chart(input).palaces.life), "甲子");
  // Unknown hour: no 命宫 or 身宫.
  EXPECT_EQ(palaces_text(make_chart(birth("1990-01-27"))), "戊辰 丁酉  ");
}

TEST(Palaces, TheLateZiHourMovesTheFetalBreathWithTheDay) {
  BirthInput input = birth("1981-01-29T23:37");
  EXPECT_EQ(pair_text(make_chart(input).palaces.fetal_breath), "壬午");  // day 丁未
  input.zi_school = ZiSchool::DayChangesAt23;
  EXPECT_EQ(pair_text(make_chart(input).palaces.fetal_breath), "癸巳");  // day 戊申, as tyme4ts has it
}

TEST(Palaces, TheZhongQiBasisCountsOneMonthOnAfterTheZhongQi) {
  // 雨水 2024 falls on 02-19 at 12:13 (+08): before it both bases agree.
  for (const char* when : {"2024-02-19T12:00", "2024-02-19T12:30"}) {
    BirthInput jie = birth(when), zhongqi = birth(when);
    zhongqi.palace_month = PalaceMonth::ZhongQi;
    int by_jie = make_chart(jie).palaces.life, by_zhongqi = make_chart(zhongqi).palaces.life;
    bool after = std::string(when) > "2024-02-19T12:13";
    // One month on moves 命宫 one branch back.
    EXPECT_EQ((by_jie % 12 - by_zhongqi % 12 + 12) % 12, after ? 1 : 0) << when;
  }
}

struct LuckCase {
  LuckMethod method;
  int years, months, days, hours, minutes;
  const char* start;
};

TEST(LuckStart, EachMethodCountsAndAddsAsItsPeer) {
  // 1981-01-29 23:37 +08, female: backward to 小寒 1981-01-05 18:12:38. Peers' runs:
  // tyme4ts Default 8y0m27d0h44m → 1989-02-26 00:21; China95 8y0m27d → 1989-02-25 23:37;
  // lunar-javascript sect 1 8y0m20d → 1989-02-18 23:37 (its own test); tyme4ts Sect2 8y0m27d0h.
  const LuckCase cases[] = {
      {LuckMethod::ExactMinutes, 8, 0, 27, 0, 44, "1989-02-26T00:21:00+08:00"},
      {LuckMethod::WholeMinutes, 8, 0, 27, 0, 0, "1989-02-25T23:37:00+08:00"},
      {LuckMethod::DaysAndDoubleHours, 8, 0, 20, 0, 0, "1989-02-18T23:37:00+08:00"},
      {LuckMethod::MinutesAndHours, 8, 0, 27, 0, 0, "1989-02-25T23:37:00+08:00"},
      // The library's count adds 360-day years as plain days.
      {LuckMethod::LibraryDays, 8, 0, 27, 0, 0, "1989-01-14T23:37:00+08:00"},
  };
  for (const LuckCase& c : cases) {
    BirthInput input = birth("1981-01-29T23:37", Sex::Female);
    input.luck_method = c.method;
    Luck luck = *make_chart(input).luck;
    SCOPED_TRACE(luck.method);
    EXPECT_FALSE(luck.forward);
    EXPECT_EQ((std::array{luck.years, luck.months, luck.days, luck.hours, luck.minutes}),
              (std::array{c.years, c.months, c.days, c.hours, c.minutes}));
    EXPECT_EQ(luck.start, c.start);
  }
}

TEST(LuckStart, YearsAndMonthsKeepTheDayOrTheMonthsLast) {
  // 1986-05-29 12:00 female, days-shichen 7y9m10d: 1994-02-29 does not exist, so the 28th, then
  // ten days: 1994-03-10 as lunar-javascript has it (tyme4ts overflows to 03-11).
  BirthInput input = birth("1986-05-29T12:00", Sex::Female);
  input.luck_method = LuckMethod::DaysAndDoubleHours;
  Luck luck = *make_chart(input).luck;
  EXPECT_EQ((std::array{luck.years, luck.months, luck.days}), (std::array{7, 9, 10}));
  EXPECT_EQ(luck.start, "1994-03-10T12:00:00+08:00");
  EXPECT_EQ(luck.start_age_sui, 9);
  EXPECT_EQ(luck.handover, "每逢甲、己年3月10日交脱大运");  // 1994 is 甲戌
}

TEST(LuckStart, ABirthOnTheJieStartsAtOnce) {
  // 立春 2024-02-04 16:27:xx +08: a yang year for a boy born on it runs forward to 惊蛰; a girl
  // born one minute before it (癸卯, yin) also forward, a few minutes to go.
  BirthInput girl = birth("2024-02-04T16:26", Sex::Female);
  Luck luck = *make_chart(girl).luck;
  EXPECT_TRUE(luck.forward);
  EXPECT_EQ((std::array{luck.years, luck.months, luck.days}), (std::array{0, 0, 0}));
  EXPECT_LT(luck.start_age, 0.01);
  BirthInput boy = birth("2024-02-04T16:26", Sex::Male);
  EXPECT_FALSE(make_chart(boy).luck->forward);  // 癸 yin male: backward, a month to 小寒
}

TEST(MinorLuck, StepsTheHourPillarByAgeInTheLuckDirection) {
  // 1990-01-27 00:00 male, 庚子 hour, backward: 己亥 戊戌 丁酉 … 8 壬辰 (lunar-javascript, tyme4ts).
  BirthInput input = birth("1990-01-27T00:00", Sex::Male);
  input.minor_luck_to = 8;
  Chart chart = make_chart(input);
  ASSERT_EQ(chart.minor_luck.size(), 8u);
  EXPECT_EQ(pair_text(chart.minor_luck[0].pair), "己亥");
  EXPECT_EQ(pair_text(chart.minor_luck[2].pair), "丁酉");
  EXPECT_EQ(pair_text(chart.minor_luck[7].pair), "壬辰");
  EXPECT_EQ(chart.minor_luck[7].year, 1997);
  input.minor_luck_to = -1;  // to the end of the last luck pillar
  input.luck_count = 2;
  chart = make_chart(input);
  EXPECT_EQ(chart.minor_luck.back().age, chart.luck->pillars.back().age_sui + 9);
  input.minor_luck_to = chart.minor_luck.back().age + 1;
  EXPECT_THROW(make_chart(input), InputError);
}

TEST(Periods, MonthsDaysAndHoursOfAYear) {
  std::array<MonthPeriod, 12> months = months_of_year(2025);
  EXPECT_EQ(pair_text(months[0].pair), "戊寅");
  EXPECT_EQ(texts::term(months[0].jie), "立春");
  EXPECT_EQ(pair_text(months[11].pair), "己丑");
  EXPECT_EQ(texts::term(months[11].jie), "小寒");
  EXPECT_THROW(months_of_year(2079), InputError);  // its 小寒 month runs into 2080
  EXPECT_NO_THROW(months_of_year(1880));

  detail::Place beijing("Asia/Shanghai", std::nullopt);
  MonthDays days = days_of_month(2025, 3, beijing);  // 惊蛰 03-05 to 清明 04-04
  ASSERT_EQ(days.count, 30);
  EXPECT_EQ(pair_text(days.month.pair), "己卯");
  EXPECT_EQ(pair_text(days.days[0].pair), "癸酉");  // 2025-03-05
  EXPECT_THROW(days_of_month(2079, 12, beijing), InputError);
  EXPECT_THROW(days_of_month(1880, 1, beijing), InputError);

  std::int64_t day = days.days[0].day;  // 癸酉 day
  auto next_day = hours_of_day(day, ZiSchool::NextDayStem);
  auto same_day = hours_of_day(day, ZiSchool::SameDayStem);
  auto at_23 = hours_of_day(day, ZiSchool::DayChangesAt23);
  EXPECT_EQ(pair_text(next_day[0].pair), "壬子");  // early 子 of a 癸 day
  EXPECT_EQ(pair_text(next_day[12].pair), "甲子");
  EXPECT_EQ(pair_text(same_day[12].pair), "壬子");
  EXPECT_EQ(pair_text(at_23[12].day_pair), "甲戌");
  EXPECT_EQ(pair_text(next_day[12].day_pair), "癸酉");
  EXPECT_EQ((std::array{next_day[1].first_hour, next_day[1].end_hour}), (std::array{1, 3}));
}

TEST(Notes, RelationsRepeatsClashesAndTheDayVoid) {
  // Natal 甲子 丙寅 甲子 (day void 戌亥) 甲子.
  const NatalNotes natal({0, 2, 0, 0});
  auto notes_of = [&](int pair) { return natal.of(pair); };
  PillarNotes repeat = notes_of(0);   // 甲子 again
  EXPECT_EQ(repeat.repeats, 0b1101);
  PillarNotes clash = notes_of(6);    // 庚午: 甲庚 and 子午 clash
  EXPECT_EQ(clash.opposes, 0b1101);
  PillarNotes void_branch = notes_of(10);  // 甲戌: 戌 is void of the 甲子 day
  EXPECT_TRUE(void_branch.in_day_void);
  EXPECT_EQ(texts::void_branches(10), "申、酉");  // its own decade's void
  EXPECT_FALSE(notes_of(12).in_day_void);  // 丙子
  // 己丑 against 甲子: 甲己 合 and 子丑 合; against 丙寅 nothing.
  PillarNotes combine = notes_of(25);
  std::string kinds;
  for (int kind = 0; kind < texts::relation_count(); ++kind)
    if (combine.relations[0] >> kind & 1u) kinds += std::string(texts::relation(kind)) + (texts::relation_of_stems(kind) ? "干" : "支");
  EXPECT_EQ(kinds, "合干合支");
  EXPECT_EQ(combine.relations[1], 0u);
  // 星运 of the day stem 甲 on 亥 is 长生; 自坐 of 辛亥 is 沐浴.
  EXPECT_EQ(texts::growth(0, 11), "长生");
  EXPECT_EQ(texts::growth(7, 11), "沐浴");
}

TEST(Zodiac, SignAndAnimalByEachRule) {
  // 春分 2024-03-20 11:06 +08; 立春 2024-02-04 16:27 +08; 正月初一 2024-02-10.
  auto sign = [](const char* when, SignRule rule) {
    BirthInput input = birth(when);
    input.sign_rule = rule;
    return std::string(texts::sign(make_chart(input).sign));
  };
  EXPECT_EQ(sign("2024-03-20T12:00", SignRule::FixedDates), "双鱼");
  EXPECT_EQ(sign("2024-03-20T10:00", SignRule::ZhongQi), "双鱼");
  EXPECT_EQ(sign("2024-03-20T12:00", SignRule::ZhongQi), "白羊");
  EXPECT_EQ(sign("2024-01-01T12:00", SignRule::ZhongQi), "魔羯");
  auto animal = [](const char* when, AnimalRule rule) {
    BirthInput input = birth(when);
    input.animal_rule = rule;
    return std::string(texts::animal(make_chart(input).animal));
  };
  EXPECT_EQ(animal("2024-02-04T10:00", AnimalRule::LiChunInstant), "兔");
  EXPECT_EQ(animal("2024-02-04T10:00", AnimalRule::LiChunDay), "龙");
  EXPECT_EQ(animal("2024-02-04T17:00", AnimalRule::LiChunInstant), "龙");
  EXPECT_EQ(animal("2024-02-09T12:00", AnimalRule::LunarNewYear), "兔");
  EXPECT_EQ(animal("2024-02-10T00:00", AnimalRule::LunarNewYear), "龙");
}

}  // namespace
}  // namespace pillar::chart
