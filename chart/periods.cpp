#include "periods.h"

#include <string>

#include "calendar.h"
#include "exports.h"
#include "texts.h"
#include "clocks.h"
#include "pillar_arithmetic.h"

namespace pillar::chart {

using namespace detail;

namespace {

// 小寒 1880 (index 0) opens 丁丑 (13); every jie steps one pair on.
int month_pair_of_index(int index) { return mod(index + 13, 60); }

}  // namespace

std::array<MonthPeriod, 12> months_of_year(int year) {
  int first = (year - kFirstYear) * 12 + 1;  // its 立春
  if (year < kFirstYear || first + 11 >= kJieCount)
    throw InputError("the months of " + std::to_string(year) + " lie outside the term table (1880-" +
                     std::to_string(kLastYear - 1) + ")");
  std::array<MonthPeriod, 12> months{};
  for (int j = 0; j < 12; ++j)
    months[j] = {month_pair_of_index(first + j), jie_number_of_index(first + j), jie_instants()[first + j]};
  return months;
}

MonthDays days_of_month(int year, int month, const detail::Place& place) {
  // Every civil month holds one jie, 小寒 in January.
  int index = (year - kFirstYear) * 12 + (month - 1);
  if (month < 1 || month > 12 || year < kFirstYear || index < 1 || index + 1 >= kJieCount)
    throw InputError("the days of " + std::to_string(year) + "-" + std::to_string(month) +
                     " lie outside the term table (1880-02 to 2079-11)");
  const auto& jie = jie_instants();
  auto civil_day = [&](Utc utc) { return day_of(reading_at<CivilClock>(utc, offset_at(place, utc))); };
  MonthDays result{};
  result.month = {month_pair_of_index(index), jie_number_of_index(index), jie[index]};
  result.end = jie[index + 1];
  std::int64_t first = civil_day(jie[index]), end = civil_day(jie[index + 1]);
  for (std::int64_t day = first; day < end && result.count < static_cast<int>(result.days.size()); ++day)
    result.days[result.count++] = {day, day_pillar_of_day(day)};
  return result;
}

std::array<HourPeriod, 13> hours_of_day(std::int64_t day, ZiSchool school) {
  Civil civil = civil_of(day * kSecondsPerDay);
  if (civil.year < kFirstYear || civil.year > kLastYear)
    throw InputError("the hours of " + iso_of(day * kSecondsPerDay).substr(0, 10) +
                     " lie outside 1880-2079");
  std::array<HourPeriod, 13> hours{};
  int first = 0;
  for (HourPeriod& slot : hours) {
    int end = first == 0 || first == 23 ? first + 1 : first + 2;
    SolarReading clock(day * kSecondsPerDay + first * 3600);
    slot = {first, end, hour_pillar_at(clock, school), day_pillar_at(clock, school)};
    first = end;
  }
  return hours;
}

}  // namespace pillar::chart

namespace pillar::chart {

std::string_view term_name(int number) {
  // pillarcore keeps the names behind 取节气名称.
  static const std::array<std::string, 24> names = [] {
    std::array<std::string, 24> result;
    for (int i = 0; i < 24; ++i) result[i] = utf8_of(取节气名称(i + 1));
    return result;
  }();
  return names[number - 1];
}

detail::Utc zhongqi_instant(int jie_index) {
  // The library's date values count seconds from 1899-12-30, 25569 days before 1970.
  constexpr std::int64_t kUnixEpochInLibrarySeconds = 25569 * detail::kSecondsPerDay;
  int year = detail::kFirstYear + jie_index / 12;
  auto local = calendar::term_instant(year, detail::jie_number_of_index(jie_index) + 1);
  return detail::Utc(*local - kUnixEpochInLibrarySeconds - detail::kTableClockOffset);
}

}  // namespace pillar::chart
