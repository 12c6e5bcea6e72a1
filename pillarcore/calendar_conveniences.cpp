// Conveniences for almanac displays: the week day and the western zodiac
// sign of a date, and random passwords.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

#include "calendar.h"
#include "frame.h"
#include "random_bytes.h"
#include "vocabulary.h"

namespace pillar {
namespace {

using Name = std::string_view;

// By week-day number, Sunday = 1 … Saturday = 7.
const std::array<Name, 7> kWeekDays = {"日", "一", "二", "三", "四", "五", "六"};

// Day 0, 1899-12-30, is a Saturday; the remainder counts from there, and
// before the epoch it still does (floor division).
ResultText week_day(Date date) {
  std::optional<calendar::Day> day = calendar::day_of(date);
  if (!day) return {};
  int remainder = static_cast<int>(*day - calendar::floor_div(*day, 7) * 7);
  return copy_text(kWeekDays[vocabulary::cyclic_index(remainder, 7) - 1]);
}

struct MonthDay {
  int month, day;
  constexpr int order() const { return month * 100 + day; }
};
struct ZodiacSign {
  Name name;
  MonthDay from, to;  // inclusive; 魔羯 runs over the new year
};
const std::array<ZodiacSign, 12> kZodiacSigns = {{
    {"白羊", {3, 21}, {4, 19}},
    {"金牛", {4, 20}, {5, 20}},
    {"双子", {5, 21}, {6, 21}},
    {"巨蟹", {6, 22}, {7, 22}},
    {"狮子", {7, 23}, {8, 22}},
    {"处女", {8, 23}, {9, 22}},
    {"天秤", {9, 23}, {10, 23}},
    {"天蝎", {10, 24}, {11, 22}},
    {"射手", {11, 23}, {12, 21}},
    {"魔羯", {12, 22}, {1, 19}},
    {"水瓶", {1, 20}, {2, 18}},
    {"双鱼", {2, 19}, {3, 20}},
}};

ResultText zodiac_sign(Date date) {
  std::optional<calendar::Day> day = calendar::day_of(date);
  if (!day) return {};
  calendar::CivilDate civil = calendar::civil_date_of(*day);
  int order = MonthDay{civil.month, civil.day}.order();
  for (const auto& sign : kZodiacSigns) {
    int from = sign.from.order(), to = sign.to.order();
    bool inside = from <= to ? from <= order && order <= to : order >= from || order <= to;
    if (inside) return copy_text(sign.name);
  }
  return {};
}

// The character classes of each password kind. A character is drawn by first
// choosing a class, then a character of it, each with equal chance.
using CharacterClass = std::string_view;
constexpr CharacterClass kDigits = "0123456789";
constexpr CharacterClass kCapitals = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr CharacterClass kSmallLetters = "abcdefghijklmnopqrstuvwxyz";
struct PasswordKind {
  std::array<CharacterClass, 3> classes;
  unsigned class_count;
};
const std::array<PasswordKind, 3> kPasswordKinds = {{
    {{kDigits}, 1},
    {{kCapitals, kSmallLetters}, 2},
    {{kCapitals, kSmallLetters, kDigits}, 3},
}};

// Without modulo bias: draws at or above the largest multiple of `count` that
// fits in 32 bits are drawn again. The generator is asked for the values the
// password is expected to need, in blocks of at most 4 KiB: a short password
// costs one small request, and the time of a long one grows linearly.
class UniformDraw {
 public:
  explicit UniformDraw(std::uint64_t expected_draws) : expected_draws_(expected_draws) {}

  std::optional<unsigned> below(unsigned count) {
    const std::uint32_t limit = UINT32_MAX - (UINT32_MAX % count + 1) % count;
    for (;;) {
      if (next_ == filled_ && !refill()) return std::nullopt;
      std::uint32_t value = buffer_[next_++];
      if (value <= limit) return value % count;
    }
  }

 private:
  // Redraws are rare; past the expected count, small blocks serve them.
  bool refill() {
    filled_ = static_cast<std::size_t>(
        std::clamp<std::uint64_t>(expected_draws_, kSmallestBlock, buffer_.size()));
    expected_draws_ -= std::min<std::uint64_t>(expected_draws_, filled_);
    next_ = 0;
    if (random_bytes::fill(buffer_.data(), filled_ * sizeof buffer_[0])) return true;
    filled_ = 0;
    return false;
  }

  static constexpr std::size_t kSmallestBlock = 8;
  std::array<std::uint32_t, 1024> buffer_{};
  std::uint64_t expected_draws_;
  std::size_t next_ = 0;
  std::size_t filled_ = 0;
};

// Every length from 1 up gives a text of exactly that length. A length whose
// text cannot be allocated gives no text: asking for two billion characters
// must not end the caller's process. No text either when the system's
// generator fails: a weak password is worse.
HeapText random_password(Int length, Int kind) {
  if (length < 1 || kind < 1 || kind > 3) return {};
  const PasswordKind& password_kind = kPasswordKinds[kind - 1];
  auto* text = static_cast<char*>(heap::try_allocate_zeroed(static_cast<std::size_t>(length) + 1));
  if (!text) return {};
  HeapText password(text);
  UniformDraw draw(static_cast<std::uint64_t>(length) * (password_kind.class_count == 1 ? 1 : 2));
  for (Int i = 0; i < length; ++i) {
    std::optional<unsigned> class_index =
        password_kind.class_count == 1 ? 0u : draw.below(password_kind.class_count);
    if (!class_index) return {};
    CharacterClass characters = password_kind.classes[*class_index];
    std::optional<unsigned> character = draw.below(static_cast<unsigned>(characters.size()));
    if (!character) return {};
    text[i] = characters[*character];
  }
  return password;
}

}  // namespace

const char* PILLAR_CALL 取星期(Date date) {
  return run_export<Export::取星期>(week_day, date);
}

const char* PILLAR_CALL 取星座(Date date) {
  return run_export<Export::取星座>(zodiac_sign, date);
}

const char* PILLAR_CALL 取得随机密码(Int length, Int kind) {
  return run_export<Export::取得随机密码>(random_password, length, kind);
}

}  // namespace pillar
