// 取节气名称 and the pentads of 取气候.
#include <gtest/gtest.h>

#include <string>

#include "date_arguments.h"
#include "exports.h"

namespace {

using namespace pillar;

std::string text(const char* result) { return result ? result : "(no text)"; }

// By library number: each term's name and its three pentads.
const struct {
  const char* name;
  const char* pentads[3];
} kTerms[] = {
    {"立春", {"东风解冻", "蜇虫始振", "鱼上冰"}},
    {"雨水", {"桃始花", "仓庚鸣", "鹰化为鸠"}},
    {"惊蛰", {"獭祭鱼", "侯雁北", "草木萌动"}},
    {"春分", {"玄鸟至", "雷乃发声", "始电"}},
    {"清明", {"桐始华", "田鼠化鴽", "虹始现"}},
    {"谷雨", {"萍始生", "鸣鸠拂羽", "戴胜降于桑"}},
    {"立夏", {"蝼蝈鸣", "蚯蚓出", "王瓜生"}},
    {"小满", {"苦菜秀", "蘼草死", "麦秋至"}},
    {"芒种", {"螳螂生", "鵙始鸣", "反舌无声"}},
    {"夏至", {"鹿角解", "蜩始鸣", "半夏生"}},
    {"小暑", {"温风至", "蟋蟀居壁", "鹰始挚"}},
    {"大暑", {"腐草为萤", "土润溽暑", "大雨时行"}},
    {"立秋", {"凉风至", "白露降", "寒蝉鸣"}},
    {"处暑", {"鹰乃祭鸟", "天地始肃", "禾乃登"}},
    {"白露", {"鸿雁来", "玄鸟归", "群鸟养羞"}},
    {"秋分", {"雷始收声", "蜇虫坏户", "水始涸"}},
    {"寒露", {"鸿雁来宾", "雀入大水为蛤", "菊有黄华"}},
    {"霜降", {"豺乃祭兽", "草木黄落", "蜇虫咸俯"}},
    {"立冬", {"水始冰", "地始冻", "雉入大水为蜃"}},
    {"小雪", {"虹藏不见", "天气上腾地气下降", "闭塞成冬"}},
    {"大雪", {"鹖鴠不鸣", "虎始交", "荔挺出"}},
    {"冬至", {"蚯蚓结", "麋角解", "水泉动"}},
    {"小寒", {"雁北乡", "鹊始巢", "雉始雏"}},
    {"大寒", {"鸡始乳", "征鸟厉疾", "水泽腹坚"}},
};

TEST(TermName, ByLibraryNumber) {
  for (int n = 1; n <= 24; ++n) EXPECT_EQ(text(取节气名称(n)), kTerms[n - 1].name) << n;
  for (Int outside : {0, 25, -1, -24, 1 << 31}) EXPECT_EQ(text(取节气名称(outside)), "") << outside;
}

// Every day of two years: days 1-5, 6-10 and 11-15 of a term have its three
// pentads, a 16th day none.
TEST(Pentad, EveryDayOfEachTerm) {
  for (int year = 2000; year <= 2001; ++year) {
    for (int n = 1; n <= 24; ++n) {
      calendar::Day first = term_day(year, n);
      int days = static_cast<int>(later_term_day(year, n, 1) - first);
      for (int k = 1; k <= days; ++k) {
        std::string expected = k <= 15 ? kTerms[n - 1].pentads[(k - 1) / 5] : "(no text)";
        EXPECT_EQ(text(取气候(static_cast<Date>(first + k - 1) + 0.75)), expected)
            << kTerms[n - 1].name << " " << year << ", day " << k;
      }
    }
  }
}

TEST(Pentad, CountsWholeDaysFromTheTermDay) {
  EXPECT_EQ(text(取气候(date(2000, 2, 4))), "东风解冻");  // 立春 falls at 20:40 that day
  EXPECT_EQ(text(取气候(date(2000, 2, 8, 23, 59))), "东风解冻");
  EXPECT_EQ(text(取气候(date(2000, 6, 20))), "(no text)");  // day 16 of 芒种
}

TEST(Pentad, TheEndsOfTheSpan) {
  EXPECT_EQ(text(取气候(date(1901, 2, 19))), "桃始花");  // 雨水 1901, the first term day
  EXPECT_EQ(text(取气候(date(1901, 2, 18))), "(no text)");
  EXPECT_EQ(text(取气候(date(2049, 1, 4))), "水泉动");  // day 15 of 冬至 2048
  EXPECT_EQ(text(取气候(date(2049, 1, 5))), "(no text)");
  for (double value : kNoDates) EXPECT_EQ(取气候(value), nullptr) << value;
  for (double value : {0.0, -1.5, 1.0, 1e6}) EXPECT_EQ(取气候(value), nullptr) << value;
}

}  // namespace
