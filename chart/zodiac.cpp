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

// pillarcore keeps the fixed-date table (取星座); the sign of a date is found
// by asking it, and the twelve names by asking it of a day inside each sign.
struct Signs {
  std::array<std::string, 12> names;
  Signs() {
    for (int sign = 0; sign < 12; ++sign) {
      int month = (sign + 3) % 12 + 1;  // 白羊 holds 1 April, 金牛 1 May …
      names[sign] = utf8_of(取星座(static_cast<Date>(calendar::day_of(2001, month, 1))));
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
    const std::string& name = utf8_of(取星座(static_cast<Date>(civil_day + kUnixEpochDay)));
    for (int sign = 0; sign < 12; ++sign)
      if (signs().names[sign] == name) return sign;
    return 0;
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
