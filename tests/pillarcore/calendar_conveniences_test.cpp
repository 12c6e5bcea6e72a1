// 取星期, 取星座 and the random passwords of 取得随机密码.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "date_arguments.h"
#include "exports.h"
#include "heap.h"
#include "random_bytes.h"

namespace {

using namespace pillar;

std::string text(const char* result) { return result ? result : "(no text)"; }

TEST(WeekDay, CountsFromTheSaturdayEpoch) {
  EXPECT_EQ(text(取星期(36526)), "六");  // 2000-01-01
  EXPECT_EQ(text(取星期(1)), "日");      // 1899-12-31
  EXPECT_EQ(text(取星期(0)), "六");
  EXPECT_EQ(text(取星期(2.99)), "一");
  EXPECT_EQ(text(取星期(date(2024, 2, 29, 23, 59))), "四");
  const char* const kWeek[] = {"日", "一", "二", "三", "四", "五", "六"};
  for (int day = 1; day <= 14; ++day) EXPECT_EQ(text(取星期(36526 + day)), kWeek[(day + 6) % 7]);
}

TEST(WeekDay, BeforeTheEpochAndOutsideTheDates) {
  EXPECT_EQ(text(取星期(-1.25)), "五");  // 1899-12-29
  EXPECT_EQ(text(取星期(-7)), "六");
  EXPECT_EQ(text(取星期(-657434)), "五");  // 0100-01-01
  for (double value : kNoDates) EXPECT_EQ(取星期(value), nullptr) << value;
}

TEST(ZodiacSign, EveryBorderOfTheYear) {
  const struct {
    int month, first_day, last_month, last_day;
    const char* name;
  } kSigns[] = {
      {3, 21, 4, 19, "白羊"}, {4, 20, 5, 20, "金牛"},  {5, 21, 6, 21, "双子"},
      {6, 22, 7, 22, "巨蟹"}, {7, 23, 8, 22, "狮子"},  {8, 23, 9, 22, "处女"},
      {9, 23, 10, 23, "天秤"}, {10, 24, 11, 22, "天蝎"}, {11, 23, 12, 21, "射手"},
      {12, 22, 1, 19, "魔羯"}, {1, 20, 2, 18, "水瓶"},  {2, 19, 3, 20, "双鱼"},
  };
  for (const auto& sign : kSigns) {
    EXPECT_EQ(text(取星座(date(2001, sign.month, sign.first_day))), sign.name);
    EXPECT_EQ(text(取星座(date(2001, sign.last_month, sign.last_day, 23, 59))), sign.name);
  }
  EXPECT_EQ(text(取星座(date(2000, 4, 19, 23, 59))), "白羊");
  EXPECT_EQ(text(取星座(date(2000, 4, 20))), "金牛");
  EXPECT_EQ(text(取星座(date(2000, 12, 31))), "魔羯");
  EXPECT_EQ(text(取星座(date(2001, 1, 1))), "魔羯");
  EXPECT_EQ(text(取星座(date(2000, 2, 29))), "双鱼");
  EXPECT_EQ(text(取星座(-1.25)), "魔羯");  // 1899-12-29
  for (double value : kNoDates) EXPECT_EQ(取星座(value), nullptr) << value;
}

std::string password(Int length, Int kind) { return text(取得随机密码(length, kind)); }

bool all_of(const std::string& s, const char* alphabet) {
  return std::all_of(s.begin(), s.end(), [&](char c) { return c && std::strchr(alphabet, c); });
}

constexpr const char* kDigits = "0123456789";
constexpr const char* kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr const char* kLettersAndDigits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

TEST(RandomPassword, LengthsAndAlphabets) {
  std::string digits = password(8, 1);
  EXPECT_EQ(digits.size(), 8u);
  EXPECT_TRUE(all_of(digits, kDigits)) << digits;
  std::string letters = password(500, 2);
  EXPECT_EQ(letters.size(), 500u);
  EXPECT_TRUE(all_of(letters, kLetters));
  std::string mixed = password(1, 3);
  EXPECT_EQ(mixed.size(), 1u);
  EXPECT_TRUE(all_of(mixed, kLettersAndDigits));
}

TEST(RandomPassword, NoTextForABadLengthOrKind) {
  for (auto [length, kind] : {std::pair{0, 1}, {-1, 1}, {1 << 31, 3}, {8, 4}, {8, 0}, {8, -1}})
    EXPECT_EQ(取得随机密码(length, kind), nullptr) << length << ", " << kind;
}

TEST(RandomPassword, AnyLengthThatMemoryAllows) {
  std::string digits = password(100000, 1);
  EXPECT_EQ(digits.size(), 100000u);
  EXPECT_TRUE(all_of(digits, kDigits));
  EXPECT_EQ(password(100001, 3).size(), 100001u);
  // A text that cannot be allocated is no text, and the process goes on.
  heap::fail_allocation_after(0);
  const char* refused = 取得随机密码(100000, 2);
  heap::fail_allocation_after(-1);
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(password(8, 2).size(), 8u);
}

TEST(RandomPassword, CallsInTheSameMillisecondDiffer) {
  std::string first = password(32, 3);
  std::string second = password(32, 3);
  EXPECT_NE(first, second);
}

TEST(RandomPassword, EveryCharacterOfEachClassOccurs) {
  std::map<char, int> counts;
  for (char c : password(20000, 3)) ++counts[c];
  EXPECT_EQ(counts.size(), 62u);
  // A class is chosen first: each digit has about 1/30 of the draws, each letter 1/78.
  EXPECT_GT(counts['7'], 20000 / 30 / 2);
  EXPECT_LT(counts['q'], 20000 / 78 * 2);
}

// A source that yields the 32-bit values of `g_values` in turn.
std::vector<std::uint32_t> g_values;
std::size_t g_next_value = 0;
bool scripted_source(void* buffer, std::size_t bytes) {
  auto* words = static_cast<std::uint32_t*>(buffer);
  for (std::size_t i = 0; i < bytes / 4; ++i) words[i] = g_values[g_next_value++ % g_values.size()];
  return true;
}
bool failing_source(void*, std::size_t) { return false; }

TEST(RandomPassword, DrawsAboveTheLastWholeCycleAreDrawnAgain) {
  // 2^32 = 429496729 × 10 + 6: the six values from 4294967290 up would favour 0-5.
  g_values = {4294967295u, 4294967290u, 4294967289u, 13u};
  g_next_value = 0;
  auto system = random_bytes::replace_source(scripted_source);
  std::string digits = password(2, 1);
  random_bytes::replace_source(system);
  EXPECT_EQ(digits, "93");  // 4294967289 mod 10, then 13 mod 10
}

TEST(RandomPassword, AFailingGeneratorGivesNoText) {
  auto system = random_bytes::replace_source(failing_source);
  EXPECT_EQ(取得随机密码(8, 1), nullptr);
  random_bytes::replace_source(system);
  EXPECT_NE(取得随机密码(8, 1), nullptr);
}

}  // namespace
