// The gazetteer (data/places.tsv, built into the program): places of China
// found by name for the chart page, which fills longitude and zone from them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pillar::places {

struct Place {
  std::string_view name;      // GeoNames' name (pinyin or English)
  std::string_view ascii;     // the same in ASCII
  std::string_view zh;        // simplified Chinese, or empty
  std::string_view zh_hant;   // traditional Chinese, or empty
  std::string_view province;  // the province or region, in Chinese
  double longitude = 0;       // degrees east
  double latitude = 0;        // degrees north
  std::string_view zone;      // IANA zone
  std::string_view kind;      // GeoNames feature code: PPLC, PPLA … PPLA4, PPL
  long population = 0;
};

inline constexpr std::size_t kDefaultLimit = 10;
inline constexpr std::size_t kMaxLimit = 50;
inline constexpr std::size_t kMaxQueryBytes = 100;

// Every place, the most important first (capitals, then seats of prefectures,
// counties, other towns, townships; the more people the earlier).
const std::vector<Place>& all();

// The places whose name matches `query`: pinyin or English without regard
// to case, spaces or apostrophes ("xi'an", "Xian"), or Chinese characters,
// simplified or traditional, with or without 市/县/区/镇. Exact names first,
// then names that begin with the query, then names that contain it; within
// each, in the order of all(). At most `limit` places.
std::vector<const Place*> search(std::string_view query, std::size_t limit);

// {"places": [...]} for the API; throws chart::InputError for an empty or
// too long query or a limit outside 1..kMaxLimit.
std::string search_json(std::string_view query, std::size_t limit);

}  // namespace pillar::places
