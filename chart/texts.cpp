#include "texts.h"

#include <iconv.h>

#include <functional>
#include <stdexcept>
#include <unordered_map>

#include "vocabulary.h"

namespace pillar::chart {

namespace {

std::string convert(std::string_view gbk) {
  iconv_t converter = iconv_open("UTF-8", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no GBK converter");
  std::string in(gbk), out(in.size() * 2 + 4, '\0');
  char* source = in.data();
  char* target = out.data();
  std::size_t source_left = in.size(), target_left = out.size();
  std::size_t converted = iconv(converter, &source, &source_left, &target, &target_left);
  iconv_close(converter);
  if (converted == static_cast<std::size_t>(-1)) throw std::runtime_error("a table text is no GBK");
  out.resize(out.size() - target_left);
  return out;
}

}  // namespace

const std::string& utf8_of(std::string_view gbk) {
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  thread_local std::unordered_map<std::string, std::string, Hash, std::equal_to<>> converted;
  auto found = converted.find(gbk);
  if (found != converted.end()) return found->second;
  return converted.emplace(std::string(gbk), convert(gbk)).first->second;
}

const std::array<std::string, 60>& pairs_utf8() {
  static const std::array<std::string, 60> pairs = [] {
    std::array<std::string, 60> result;
    for (std::size_t i = 0; i < result.size(); ++i) result[i] = convert(vocabulary::kSixtyPairs[i]);
    return result;
  }();
  return pairs;
}

}  // namespace pillar::chart
