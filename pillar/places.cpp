#include "places.h"

#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>

#include "chart.h"
#include "embedded_file.h"

namespace pillar::places {
namespace {

// Lower case, without the spaces, apostrophes and hyphens that spellings of
// one name differ in ("Xi'an", "xian", "Hong Kong", "hongkong").
std::string folded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == ' ' || c == '\'' || c == '-' || c == '`') continue;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

bool is_ascii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

struct Indexed {
  std::vector<Place> places;
  std::vector<std::string> folded_names;  // of `ascii`, one per place
};

double to_double(std::string_view text) {
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

Indexed read_gazetteer() {
  Indexed index;
  const std::string_view tsv = gazetteer_files().front().bytes;
  std::size_t begin = 0;
  while (begin < tsv.size()) {
    std::size_t end = tsv.find('\n', begin);
    if (end == std::string_view::npos) end = tsv.size();
    const std::string_view line = tsv.substr(begin, end - begin);
    begin = end + 1;
    if (line.empty() || line.front() == '#') continue;
    std::string_view fields[11];
    std::size_t count = 0, from = 0;
    while (count < 11) {
      const std::size_t tab = line.find('\t', from);
      fields[count++] = line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from);
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    if (count < 10) continue;
    Place place{fields[0], fields[1], fields[2], fields[3], fields[4], to_double(fields[5]),
                to_double(fields[6]), fields[7], fields[8], 0};
    std::from_chars(fields[9].data(), fields[9].data() + fields[9].size(), place.population);
    index.places.push_back(place);
    index.folded_names.push_back(folded(place.ascii));
  }
  return index;
}

const Indexed& gazetteer() {
  static const Indexed index = read_gazetteer();
  return index;
}

// 0 the same, 1 begins with, 2 contains, 3 no match.
int match_class(std::string_view name, std::string_view query) {
  if (name.empty() || query.empty()) return 3;
  if (name == query) return 0;
  if (name.starts_with(query)) return 1;
  return name.find(query) != std::string_view::npos ? 2 : 3;
}

// A Chinese query without its administrative suffix: 拉萨市 → 拉萨.
std::string_view without_suffix(std::string_view query) {
  for (std::string_view suffix : {"市", "县", "區", "区", "縣", "镇", "鎮", "乡", "鄉"})
    if (query.size() > suffix.size() * 2 && query.ends_with(suffix)) return query.substr(0, query.size() - suffix.size());
  return query;
}

}  // namespace

const std::vector<Place>& all() { return gazetteer().places; }

std::vector<const Place*> search(std::string_view query, std::size_t limit) {
  const Indexed& index = gazetteer();
  const bool latin = is_ascii(query);
  const std::string key = latin ? folded(query) : std::string(without_suffix(query));
  std::vector<std::pair<int, std::size_t>> found;  // (class, index)
  if (key.empty()) return {};
  for (std::size_t i = 0; i < index.places.size(); ++i) {
    const Place& place = index.places[i];
    int best = latin ? match_class(index.folded_names[i], key)
                     : std::min(match_class(place.zh, key), match_class(place.zh_hant, key));
    if (best < 3) found.emplace_back(best, i);
  }
  const std::size_t kept = std::min(limit, found.size());
  std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end());
  std::vector<const Place*> result;
  for (std::size_t i = 0; i < kept; ++i) result.push_back(&index.places[found[i].second]);
  return result;
}

std::string search_json(std::string_view query, std::size_t limit) {
  if (query.empty()) throw chart::InputError("places: the query q is empty");
  if (query.size() > kMaxQueryBytes)
    throw chart::InputError("places: the query is longer than " + std::to_string(kMaxQueryBytes) + " bytes");
  if (limit < 1 || limit > kMaxLimit)
    throw chart::InputError("places: limit " + std::to_string(limit) + ": outside 1.." + std::to_string(kMaxLimit));
  nlohmann::json places = nlohmann::json::array();
  for (const Place* p : search(query, limit)) {
    places.push_back({{"name", p->name}, {"zh", p->zh}, {"zh_hant", p->zh_hant}, {"province", p->province},
                      {"longitude", p->longitude}, {"latitude", p->latitude}, {"zone", p->zone},
                      {"kind", p->kind}, {"population", p->population}});
  }
  // Invalid UTF-8 in the query cannot reach the answer: only the table's texts do.
  return nlohmann::json{{"places", std::move(places)}}.dump();
}

}  // namespace pillar::places
