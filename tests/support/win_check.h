// A minimal check for the programs run under Wine: prints each failure,
// counts, and closes with the "N passed, N failed" line.
#pragma once

#include <cstdio>

namespace win_check {

inline int passed = 0, failed = 0;

inline bool check(bool ok, const char* what, int line) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAILED (line %d): %s\n", line, what);
    std::fflush(stdout);
  }
  return ok;
}

inline int finish() {
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}

}  // namespace win_check

#define CHECK(condition) ::win_check::check(static_cast<bool>(condition), #condition, __LINE__)
