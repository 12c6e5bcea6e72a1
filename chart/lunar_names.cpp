// The names of lunar months and days. This file is compiled with UTF-8 as
// its execution character set: its texts are the service's UTF-8 texts.
#include <array>

#include "lunar_calendar.h"

namespace pillar::lunar {

namespace {
constexpr std::array<const char*, 11> kDigits = {"", "一", "二", "三", "四", "五",
                                                 "六", "七", "八", "九", "十"};
}  // namespace

std::string month_name(int month, bool leap) {
  if (month < 1 || month > 12) return {};
  std::string name = leap ? "闰" : "";
  if (month == 1) return name + "正月";
  if (month <= 10) return name + kDigits[month] + "月";
  return name + "十" + kDigits[month - 10] + "月";
}

std::string day_name(int day) {
  if (day < 1 || day > 30) return {};
  if (day <= 10) return std::string("初") + kDigits[day];
  if (day < 20) return std::string("十") + kDigits[day - 10];
  if (day == 20) return "二十";
  if (day < 30) return std::string("廿") + kDigits[day - 20];
  return "三十";
}

}  // namespace pillar::lunar
