// How the export fuzzer reads its input: one byte picks the export, then each
// argument takes a selector byte and what that selector needs. Texts come
// mostly from the vocabulary the exports know, so that valid and nearly valid
// arguments are reached from the first run; the rest are raw bytes.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "exports.h"
#include "ten_gods.h"
#include "vocabulary.h"

namespace fuzz {

// Every word some export recognises as a whole argument.
inline const std::vector<std::string_view>& vocabulary_words() {
  static const std::vector<std::string_view> words = [] {
    using namespace pillar::vocabulary;
    std::vector<std::string_view> all;
    auto add = [&](const auto& table) { all.insert(all.end(), table.begin(), table.end()); };
    add(kStems);
    add(kBranches);
    add(kElements);
    add(kSixtyPairs);
    add(kAnimals);
    add(pillar::ten_gods::kTenGodNames);
    all.push_back("日主");  // the day stem's own position, known to the abbreviations
    all.push_back("");
    return all;
  }();
  return words;
}

inline const double kSpecialDates[] = {
    std::numeric_limits<double>::quiet_NaN(),
    -std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::denorm_min(),
    -std::numeric_limits<double>::denorm_min(),
    std::numeric_limits<double>::max(),
    std::numeric_limits<double>::lowest(),
    std::numeric_limits<double>::min(),
    -0.0, 0.0, 1.0, -1.0, -1.25, 1e18, -1e18, 2147483648.0, -2147483649.0,
    -657434.0, -657434.000001, 2958465.999999, 2958466.0,  // the ends of the OLE date
    416.0, 1145.0, 54424.0, 54424.99999, 54425.0,            // the term-of-day span
    36560.86137731, 36560.86137730,                          // around 立春 2000
};

inline const std::int32_t kSpecialIntegers[] = {
    0, 1, 2, 3, 4, 5, 6, -1, -2, 24, 25, 60, 61, 1 << 16,
    std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()};

// Reads the input from the front; past its end every read gives zeros.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t byte() { return next_ < size_ ? data_[next_++] : 0; }
  std::uint32_t u32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | byte();
    return value;
  }
  std::uint64_t u64() { return std::uint64_t{u32()} << 32 | u32(); }

  // Returns null for the null text; otherwise the text lives in `store`.
  const char* text(std::string& store) {
    const auto& words = vocabulary_words();
    std::uint8_t selector = byte();
    switch (selector % 8) {
      case 0:
        return nullptr;
      case 1: case 2: case 3:
        store = words[byte() % words.size()];
        break;
      case 4:  // two words run together
        store = words[byte() % words.size()];
        store += words[byte() % words.size()];
        break;
      case 5:  // a word with a stray byte after it
        store = words[byte() % words.size()];
        store += static_cast<char>(byte());
        break;
      case 6: {  // raw bytes up to the first zero
        std::size_t length = byte() % 33;
        store.clear();
        for (std::size_t i = 0; i < length; ++i) store += static_cast<char>(byte());
        break;
      }
      default: {  // now and then a long repetition of one word, else a word
        std::string_view word = words[byte() % words.size()];
        std::size_t times = byte() % 8 == 0 ? std::size_t{byte()} * 16 + 1 : 1;
        store.clear();
        for (std::size_t i = 0; i < times; ++i) store += word;
        break;
      }
    }
    return store.c_str();
  }

  std::int32_t integer() {
    switch (byte() % 4) {
      case 0: return static_cast<std::int8_t>(byte());
      case 1: return kSpecialIntegers[byte() % std::size(kSpecialIntegers)];
      default: return static_cast<std::int32_t>(u32());
    }
  }

  double date() {
    switch (byte() % 4) {
      case 0: return kSpecialDates[byte() % std::size(kSpecialDates)];
      case 1: return std::bit_cast<double>(u64());
      case 2: return -700000.0 + u32() / 4294967296.0 * 3700000.0;  // the OLE range and beyond
      default: return u32() / 4294967296.0 * 60000.0;                // 1899 to 2064
    }
  }

  // One time in four an output pointer is null.
  bool null_output() { return byte() % 4 == 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

}  // namespace fuzz
