// Varied, valid arguments for timing every export: for each export, what each
// text and integer argument is (a stem, a pair, a mode …), and rows of
// arguments drawn from those vocabularies, so that a benchmark cycles through
// the real work instead of repeating one input (or timing a rejection).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>
#include <type_traits>
#include <vector>

#include "exports.h"

namespace varied {

enum Kind {
  kStem, kBranch, kStemOrBranch, kPair, kElement, kTenGod,
  kModeOneOrOther, kModeOneToFive, kTermNumber, kSex, kPasswordLength, kPasswordKind,
  kChart,  // the eight texts of a possible chart
};

struct Plan {
  pillar::Export of;
  std::vector<Kind> kinds;  // text and integer arguments in order; the last repeats
};

inline const std::vector<Plan>& plans() {
  using E = pillar::Export;
  static const std::vector<Plan> all = {
      {E::八字是否正确, {kChart}},
      {E::串宫押运, {kBranch, kStemOrBranch}},
      {E::取八神方向, {kPair}},
      {E::取八字等级, {kPair}},
      {E::取财库, {kStem}},
      {E::取藏干十神数量, {kTenGod}},
      {E::取藏干五行数量, {kElement}},
      {E::取得随机密码, {kPasswordLength, kPasswordKind}},
      {E::取地支藏干, {kBranch}},
      {E::取地支十神数量, {kTenGod}},
      {E::取地支五行数量, {kElement}},
      {E::取干冲, {kStem}},
      {E::取干合, {kStem}},
      {E::取干支数量, {kStem, kStem, kStem, kStem, kBranch, kBranch, kBranch, kBranch, kStemOrBranch}},
      {E::取干支五行, {kStemOrBranch}},
      {E::取干支序数, {kStemOrBranch}},
      {E::取官禄, {kStem}},
      {E::取甲子太岁, {kPair}},
      {E::取甲子序号, {kPair}},
      {E::取节气名称, {kTermNumber}},
      {E::取进交退伏, {kPair}},
      {E::取空亡, {kPair}},
      {E::取纳音, {kPair}},
      {E::取年支属相, {kBranch}},
      {E::取起运年龄, {kSex}},
      {E::取气候, {}},
      {E::取生克数值, {kElement}},
      {E::取十神关系, {kStem, kStemOrBranch, kModeOneOrOther}},
      {E::取司令, {}},
      {E::取太岁方向, {kBranch}},
      {E::取天干十神数量, {kTenGod}},
      {E::取天干五行数量, {kElement}},
      {E::取旺衰对应地支, {kStem, kModeOneOrOther}},
      {E::取旺衰状态, {kStem, kBranch, kModeOneOrOther}},
      {E::取旺相五行, {kElement, kModeOneToFive}},
      {E::取五行序号, {kElement}},
      {E::取星期, {}},
      {E::取星座, {}},
      {E::取印库, {kStem}},
      {E::取月时干, {kStem, kBranch, kModeOneOrOther}},
      {E::取支冲, {kBranch}},
      {E::取支害, {kBranch}},
      {E::取支合, {kBranch}},
      {E::取支破, {kBranch}},
      {E::日主旺相, {kTenGod}},
      {E::十神简写, {kTenGod}},
      {E::是否地支相冲, {kBranch}},
      {E::是否地支相害, {kBranch}},
      {E::是否地支相合, {kBranch}},
      {E::是否地支相破, {kBranch}},
      {E::是否地支相刑, {kBranch}},
      {E::是否天干相冲, {kStem}},
      {E::是否天干相合, {kStem}},
  };
  return all;
}

inline const std::vector<const char*>& texts_of(Kind kind) {
  static const std::vector<const char*> stems = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
  static const std::vector<const char*> branches = {"子", "丑", "寅", "卯", "辰", "巳",
                                                    "午", "未", "申", "酉", "戌", "亥"};
  static const std::vector<const char*> stems_and_branches = [] {
    std::vector<const char*> all = stems;
    all.insert(all.end(), branches.begin(), branches.end());
    return all;
  }();
  static const std::vector<const char*> elements = {"金", "水", "木", "火", "土"};
  static const std::vector<const char*> ten_gods = {"比肩", "劫财", "食神", "伤官", "偏财",
                                                    "正财", "偏官", "正官", "偏印", "正印"};
  // Pair n (from 0) is stem n % 10 followed by branch n % 12.
  static const std::vector<const char*> pairs = [] {
    static char texts[60][5];
    std::vector<const char*> all;
    for (int n = 0; n < 60; ++n) {
      const char* stem = stems[n % 10];
      const char* branch = branches[n % 12];
      texts[n][0] = stem[0], texts[n][1] = stem[1], texts[n][2] = branch[0], texts[n][3] = branch[1];
      all.push_back(texts[n]);
    }
    return all;
  }();
  switch (kind) {
    case kStem: return stems;
    case kBranch: return branches;
    case kPair: return pairs;
    case kElement: return elements;
    case kTenGod: return ten_gods;
    default: return stems_and_branches;
  }
}

// A cheap, fixed sequence of choices, so that neighbouring arguments differ.
inline std::uint32_t choice(int row, int position) {
  std::uint32_t x = static_cast<std::uint32_t>(row * 2654435761u + position * 40503u + 12345u);
  x ^= x >> 13;
  x *= 0x5bd1e995u;
  return x ^ (x >> 15);
}

// The chart of row `row`: any year and day pair, a month pillar that the year
// stem allows (寅 to 丑: the stems follow on from 丙, 戊, 庚, 壬 or 甲 for the
// year stems 甲己, 乙庚, 丙辛, 丁壬, 戊癸) and an hour pillar that the day stem
// allows (子 to 亥, from 甲, 丙, 戊, 庚 or 壬). Pair n (from 0) is stem n % 10
// and branch n % 12.
inline std::array<const char*, 8> chart(int row) {
  const auto& stems = texts_of(kStem);
  const auto& branches = texts_of(kBranch);
  int year = static_cast<int>(choice(row, 0) % 60), day = static_cast<int>(choice(row, 1) % 60);
  int month = static_cast<int>(choice(row, 2) % 12), hour = static_cast<int>(choice(row, 3) % 12);
  return {stems[year % 10], branches[year % 12],
          stems[(2 * (year % 5) + 2 + month) % 10], branches[(2 + month) % 12],
          stems[day % 10], branches[day % 12],
          stems[(2 * (day % 5) + hour) % 10], branches[hour]};
}

inline std::int32_t integer(Kind kind, int row, int position) {
  std::uint32_t c = choice(row, position);
  switch (kind) {
    case kModeOneOrOther: return static_cast<std::int32_t>(c % 2);
    case kModeOneToFive: return static_cast<std::int32_t>(c % 5 + 1);
    case kTermNumber: return static_cast<std::int32_t>(c % 24 + 1);
    case kSex: return static_cast<std::int32_t>(c % 2);
    case kPasswordLength: return static_cast<std::int32_t>(c % 16 + 8);
    case kPasswordKind: return static_cast<std::int32_t>(c % 3 + 1);
    default: return 1;
  }
}

// Days from 1950 to 2042 with varied times of day, inside the term table.
inline pillar::Date date(int row) {
  return 18264.0 + row * 523.7 + (choice(row, 9) % 86400) / 86400.0;
}

// Where the outputs of every row go.
struct Outputs {
  std::int32_t out32[8] = {};
  double out_date[8] = {};
};

inline constexpr int kRows = 64;

// kRows rows of arguments for export `e`, whose parameters are P...
template <typename... P>
std::vector<std::tuple<P...>> rows_for(pillar::Export e, Outputs& outputs) {
  const std::vector<Kind>* kinds = nullptr;
  for (const Plan& plan : plans())
    if (plan.of == e) kinds = &plan.kinds;
  std::vector<std::tuple<P...>> rows;
  for (int row = 0; row < kRows; ++row) {
    int position = 0, out32 = 0, out_date = 0;
    std::array<const char*, 8> a_chart = chart(row);
    auto kind_at = [&](int at) {
      return kinds->empty() ? kStem : (*kinds)[std::min<std::size_t>(at, kinds->size() - 1)];
    };
    auto make = [&]<typename T>(std::type_identity<T>) -> T {
      int at = position++;
      if constexpr (std::is_same_v<T, pillar::Text>) {
        Kind kind = kind_at(at);
        if (kind == kChart) return a_chart[at % 8];
        const auto& pool = texts_of(kind);
        return pool[choice(row, at) % pool.size()];
      } else if constexpr (std::is_same_v<T, pillar::Int>) {
        return integer(kind_at(at), row, at);
      } else if constexpr (std::is_same_v<T, pillar::Date>) {
        --position;
        return date(row);
      } else if constexpr (std::is_same_v<T, pillar::Out32>) {
        --position;
        return &outputs.out32[out32++];
      } else {
        --position;
        return &outputs.out_date[out_date++];
      }
    };
    rows.push_back(std::tuple<P...>{make(std::type_identity<P>{})...});
  }
  return rows;
}

}  // namespace varied
