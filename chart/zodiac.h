// The western sign and the animal of a birth, each by a named rule.
#pragma once

#include <cstdint>
#include <string>

namespace pillar::chart::detail {
template <class Clock>
struct Moment;
struct UtcClock;
using Utc = Moment<UtcClock>;
class Place;
}  // namespace pillar::chart::detail

namespace pillar::chart {

// 星座 by the fixed civil dates of the almanacs, or by the 中气 instant at
// which the sun enters the sign (春分 白羊 … 惊蛰's 中气 雨水 双鱼).
enum class SignRule { FixedDates, ZhongQi };
// 生肖 changes at the 立春 instant, on the civil day of 立春, or at 正月初一.
enum class AnimalRule { LiChunInstant, LiChunDay, LunarNewYear };

// 0 白羊 … 11 双鱼. `civil_day` is the birth's civil day (days since
// 1970-01-01); `utc` the birth instant.
int sign_of(SignRule rule, std::int64_t civil_day, detail::Utc utc);
// The sign's name from pillarcore's table, UTF-8.
const std::string& sign_name(int sign);

// The year (as a Gregorian year number) whose animal a birth at `utc` takes,
// its civil day read on `place`'s clock. InputError outside the lunar
// calendar for the new-year rule.
int animal_year(AnimalRule rule, detail::Utc utc, const detail::Place& place);
// 0 鼠 … 11 猪.
constexpr int animal_of_year(int year) { return ((year - 4) % 12 + 12) % 12; }

}  // namespace pillar::chart
