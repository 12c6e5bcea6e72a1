// A text result as a string that a failing comparison can show, so that a
// missing text fails the test instead of crashing it.
#pragma once

#include <string>

inline std::string shown(const char* result) { return result ? result : "(no text)"; }
