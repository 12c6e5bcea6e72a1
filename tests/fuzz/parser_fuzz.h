// What every parser fuzzer checks besides the sanitizers: bad input is an
// InputError whose message is one short line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "user_text.h"

namespace fuzz {

inline std::string_view text_of(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

[[noreturn]] inline void fault(const char* what, std::string_view detail) {
  std::fprintf(stderr, "%s: %.*s\n", what, static_cast<int>(std::min<std::size_t>(detail.size(), 300)),
               detail.data());
  std::abort();
}

// A message of the command's own parsers: one line, with a short excerpt.
inline void check_message(const char* message) {
  std::string_view text = message;
  if (text.empty()) fault("empty message", text);
  if (text.size() > pillar::cli::kLongestMessage) fault("message too long", text);
  if (text.find('\n') != text.npos) fault("message of more than one line", text);
}

}  // namespace fuzz
