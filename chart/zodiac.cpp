#include "zodiac.h"

#include <array>

#include "calendar.h"
#include "exports.h"
#include "lunar_calendar.h"
#include "periods.h"
#include "clocks.h"
#include "pillar_arithmetic.h"
#include "texts.h"

namespace pillar::chart {

using namespace detail;

namespace {

// 1970-01-01 is day 25569 of the library's dates.
constexpr std::int64_t kUnixEpochDay = 25569;

// pillarcore keeps the fixed-date table (取星座): the twelve names are asked
// of a day inside each sign, and the sign of every month and day once, of a
// leap year.
struct Signs {
  std::array<std::string, 12> names;
  std::array<std::array<std::uint8_t, 32>, 13> of_date{};  // [month][day]
  Signs() {
    for (int sign = 0; sign < 12; ++sign) {
      int month = (sign + 3) % 12 + 1;  // 白羊 holds 1 April, 金牛 1 May …
      names[sign] = utf8_of(取星座(static_cast<Date>(calendar::day_of(2000, month, 1))));
    }
    for (int month = 1; month <= 12; ++month)
      for (int day = 1; day <= calendar::days_in_month(2000, month); ++day) {
        const std::string& name = utf8_of(取星座(static_cast<Date>(calendar::day_of(2000, month, day))));
        for (int sign = 0; sign < 12; ++sign)
          if (names[sign] == name) of_date[month][day] = static_cast<std::uint8_t>(sign);
      }
  }
};
const Signs& signs() {
  static const Signs instance;
  return instance;
}

}  // namespace

const std::string& sign_name(int sign) { return signs().names[sign]; }

int sign_of(SignRule rule, std::int64_t civil_day, Utc utc) {
  if (rule == SignRule::FixedDates) {
    calendar::CivilDate date = calendar::civil_date_of(civil_day + kUnixEpochDay);
    return signs().of_date[date.month][date.day];
  }
  // The 中气 inside the jie month, or the one before it.
  int index = jie_index_at(utc);
  int zhongqi = jie_number_of_index(index) + 1;  // 雨水 2, 春分 4 … 大寒 24
  if (utc < zhongqi_instant(index)) zhongqi -= 2;
  if (zhongqi < 2) zhongqi += 24;
  return ((zhongqi - 4) / 2 % 12 + 12) % 12;  // 春分 白羊
}

int animal_year(AnimalRule rule, Utc utc, const detail::Place& place) {
  const CivilReading clock = reading_at<CivilClock>(utc, offset_at(place, utc));
  Civil civil = civil_of(clock);
  if (rule == AnimalRule::LunarNewYear) {
    std::optional<lunar::LunarDate> date = lunar::lunar_of({civil.year, civil.month, civil.day});
    if (!date) throw InputError("the animal of the lunar new year needs a date in the lunar calendar");
    return date->year;
  }
  // The 立春 of the birth's calendar year (index 1 of its year).
  const Utc lichun = jie_instants()[(civil.year - kFirstYear) * 12 + 1];
  if (rule == AnimalRule::LiChunInstant) return utc >= lichun ? civil.year : civil.year - 1;
  std::int64_t lichun_day = day_of(reading_at<CivilClock>(lichun, offset_at(place, lichun)));
  return day_of(clock) >= lichun_day ? civil.year : civil.year - 1;
}

}  // namespace pillar::chart
