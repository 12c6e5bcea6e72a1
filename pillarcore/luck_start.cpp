// 取起运年龄: when the ten-year luck periods of a chart begin. Two hours of
// distance between the birth and the enclosing jie make ten days of life.
#include <optional>

#include "calendar.h"
#include "frame.h"

namespace pillar {
namespace {

using namespace calendar;

constexpr Seconds kSecondsPerDayOfLife = 2 * 3600 / 10;
constexpr Seconds kFirstTermInstant = kFirstTermDay * kSecondsPerDay;
constexpr Seconds kEndTermInstant = (kLastTermDay + 1) * kSecondsPerDay;

struct Jie {
  int number;
  Seconds instant;
};

// Every civil month of the table holds two terms and the first is a jie, so
// a month's jie is read straight from the table; months 0 and 13 are those
// of the neighbouring years. None unless its day lies where the term days
// are known.
std::optional<Jie> jie_of_month(int year, int month) {
  if (month == 0) {
    year -= 1;
    month = 12;
  } else if (month == 13) {
    year += 1;
    month = 1;
  }
  int number = term_number_of(2 * month - 1);
  std::optional<Seconds> instant = term_instant(year, number);
  if (!instant || *instant < kFirstTermInstant || *instant >= kEndTermInstant) return std::nullopt;
  return Jie{number, *instant};
}

struct LuckStart {
  Jie previous, next;
  std::int32_t days;
  int birth_year;  // civil
};

// Sex 1 is male, 0 female; any other value counts no distance.
std::optional<LuckStart> luck_start(Seconds birth, Int sex) {
  CivilDate date = civil_date_of(floor_div(birth, kSecondsPerDay));
  std::optional<Jie> this_month = jie_of_month(date.year, date.month);
  std::optional<Jie> previous, next;
  // A birth exactly at a jie belongs to it.
  if (this_month && this_month->instant <= birth) {
    previous = this_month;
    next = jie_of_month(date.year, date.month + 1);
  } else {
    previous = jie_of_month(date.year, date.month - 1);
    next = this_month;
  }
  if (!previous || !next) return std::nullopt;
  // The pillar year begins at 立春, February's jie.
  bool before_li_chun = date.month < 2 || (date.month == 2 && birth < this_month->instant);
  int pillar_year = before_li_chun ? date.year - 1 : date.year;

  bool yang_year = stem_of_pillar_year(pillar_year) % 2 == 1;
  Seconds distance = 0;
  if (sex == 1 || sex == 0) {
    bool forward = yang_year == (sex == 1);
    distance = forward ? next->instant - birth : birth - previous->instant;
  }
  // Whole seconds divide exactly: an exact number of hours loses no day.
  return LuckStart{*previous, *next, static_cast<std::int32_t>(distance / kSecondsPerDayOfLife),
                   date.year};
}

template <typename T>
void write(T* output, T value) {
  if (output) *output = value;
}

}  // namespace

// Outside the supported births (from 惊蛰 1901 up to 大雪 2048) nothing is
// counted: no jie (number 0, date 0100-01-01), no days, the start is the
// birth, and the age is 0.
Int PILLAR_CALL 取起运年龄(Date birth, Int sex, Out32 days, OutDate start, Out32 previous_jie,
                           OutDate previous_jie_instant, Out32 next_jie, OutDate next_jie_instant) {
  return run_export<Export::取起运年龄>(
      [](Date birth, Int sex, Out32 days, OutDate start, Out32 previous_jie,
         OutDate previous_jie_instant, Out32 next_jie, OutDate next_jie_instant) -> Int {
        std::optional<Seconds> birth_instant = instant_of(birth);
        std::optional<LuckStart> luck =
            birth_instant ? luck_start(*birth_instant, sex) : std::nullopt;
        if (!luck) {
          write(next_jie, Int{0});
          write(next_jie_instant, kFirstDateValue);
          write(previous_jie, Int{0});
          write(previous_jie_instant, kFirstDateValue);
          write(days, Int{0});
          write(start, birth);
          return 0;
        }
        Date start_date = add_days(birth, luck->days);
        write(next_jie, Int{luck->next.number});
        write(next_jie_instant, date_value_of(luck->next.instant));
        write(previous_jie, Int{luck->previous.number});
        write(previous_jie_instant, date_value_of(luck->previous.instant));
        write(days, Int{luck->days});
        write(start, start_date);
        return civil_time_of(*instant_of(start_date)).year - luck->birth_year;
      },
      birth, sex, days, start, previous_jie, previous_jie_instant, next_jie, next_jie_instant);
}

}  // namespace pillar
