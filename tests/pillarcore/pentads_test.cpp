// 取节气名称 and the pentads of 取气候.
#include <gtest/gtest.h>

#include <string>

#include "date_arguments.h"
#include "exports.h"

namespace {

using namespace pillar;

std::string text(const char* result) { return result ? result : "(no text)"; }

TEST(TermName, ByLibraryNumber) {
  EXPECT_EQ(text(取节气名称(1)), "立春");
  EXPECT_EQ(text(取节气名称(21)), "大雪");
  EXPECT_EQ(text(取节气名称(22)), "冬至");
  EXPECT_EQ(text(取节气名称(23)), "小寒");
  EXPECT_EQ(text(取节气名称(24)), "大寒");
  for (Int outside : {0, 25, -1, -24, 1 << 31}) EXPECT_EQ(text(取节气名称(outside)), "") << outside;
}

TEST(Pentad, CountsDaysFromTheTermDay) {
  EXPECT_EQ(text(取气候(date(2000, 2, 4))), "东风解冻");  // 立春 falls at 20:40 that day
  EXPECT_EQ(text(取气候(date(2000, 2, 8, 23, 59))), "东风解冻");
  EXPECT_EQ(text(取气候(date(2000, 2, 9))), "蜇虫始振");
  EXPECT_EQ(text(取气候(date(2000, 2, 13))), "蜇虫始振");
  EXPECT_EQ(text(取气候(date(2000, 2, 14))), "鱼上冰");
  EXPECT_EQ(text(取气候(date(2000, 2, 18))), "鱼上冰");
  EXPECT_EQ(text(取气候(date(2000, 2, 19))), "桃始花");
  EXPECT_EQ(text(取气候(date(2000, 11, 27))), "天气上腾地气下降");  // day 6 of 小雪
  EXPECT_EQ(text(取气候(date(2000, 6, 20))), "(no text)");  // day 16 of 芒种
  EXPECT_EQ(text(取气候(date(2000, 6, 19))), "反舌无声");
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
