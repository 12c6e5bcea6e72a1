// Sample arguments for calling any export generically: texts come from a
// list in argument order, integers and dates are fixed, outputs point into
// buffers that the outcome keeps.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "exports.h"

struct CallOutcome {
  std::optional<std::string> text;  // empty optional: no text (null)
  std::int32_t value = 0;
  std::int32_t out32[8] = {};
  double out_date[8] = {};
  bool operator==(const CallOutcome&) const = default;
};

inline constexpr pillar::Int kSampleInt = 1;
inline constexpr pillar::Date kSampleDate = 36560.86137731;  // 2000-02-04 20:40:23

template <typename... P>
constexpr int text_parameter_count() {
  return (0 + ... + (std::is_same_v<P, pillar::Text> ? 1 : 0));
}

// Builds the arguments of an export with parameters P... in argument order.
template <typename... P>
std::tuple<P...> sample_arguments(const std::vector<const char*>& texts, CallOutcome& outcome) {
  std::size_t next_text = 0;
  int next_out32 = 0, next_out_date = 0;
  auto make = [&]<typename T>(std::type_identity<T>) -> T {
    if constexpr (std::is_same_v<T, pillar::Text>) {
      return texts[next_text++];
    } else if constexpr (std::is_same_v<T, pillar::Int>) {
      return kSampleInt;
    } else if constexpr (std::is_same_v<T, pillar::Date>) {
      return kSampleDate;
    } else if constexpr (std::is_same_v<T, pillar::Out32>) {
      return &outcome.out32[next_out32++];
    } else {
      return &outcome.out_date[next_out_date++];
    }
  };
  return std::tuple<P...>{make(std::type_identity<P>{})...};
}

template <typename R>
void record_result(CallOutcome& outcome, R result) {
  if constexpr (std::is_same_v<R, const char*>) {
    if (result) outcome.text = result;
  } else {
    outcome.value = result;
  }
}
