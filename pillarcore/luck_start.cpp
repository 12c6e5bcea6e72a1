// 取起运年龄: when the ten-year luck periods of a chart begin. Two hours of
// distance between the birth and the enclosing jie make ten days of life.
#include <optional>

#include "calendar.h"
#include "frame.h"

namespace pillar {
namespace {

using namespace calendar;

// Jie lie at most 32 days apart, so a walk this long finds one if the span
// holds it.
constexpr int kJieSearchDays = 40;
constexpr Seconds kSecondsPerDayOfLife = 2 * 3600 / 10;

struct Jie {
  int number;
  Seconds instant;
};

std::optional<Jie> jie_walk(Day from, int step) {
  auto found = find_term_day(from, step, kJieSearchDays, is_jie);
  if (!found) return std::nullopt;
  std::optional<Seconds> instant = term_instant(civil_date_of(found->day).year, found->number);
  if (!instant) return std::nullopt;
  return Jie{found->number, *instant};
}

struct LuckStart {
  Jie previous, next;
  std::int32_t days;
};

// Sex 1 is male, 0 female; any other value counts no distance.
std::optional<LuckStart> luck_start(Seconds birth, Int sex) {
  Day birth_day = floor_div(birth, kSecondsPerDay);
  std::optional<Jie> found = jie_walk(birth_day, +1);
  if (!found) return std::nullopt;
  std::optional<Jie> previous, next;
  if (found->instant > birth) {
    next = found;
    previous = jie_walk(birth_day - 1, -1);
  } else {
    previous = found;  // a birth exactly at a jie belongs to it
    next = jie_walk(birth_day + 1, +1);
  }
  std::optional<int> stem = year_stem_of(birth);
  if (!previous || !next || !stem) return std::nullopt;

  bool yang_year = *stem % 2 == 1;
  Seconds distance = 0;
  if (sex == 1 || sex == 0) {
    bool forward = yang_year == (sex == 1);
    distance = forward ? next->instant - birth : birth - previous->instant;
  }
  // Whole seconds divide exactly: an exact number of hours loses no day.
  return LuckStart{*previous, *next, static_cast<std::int32_t>(distance / kSecondsPerDayOfLife)};
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
        return civil_time_of(*instant_of(start_date)).year - civil_time_of(*birth_instant).year;
      },
      birth, sex, days, start, previous_jie, previous_jie_instant, next_jie, next_jie_instant);
}

}  // namespace pillar
