// Random bytes from the operating system's cryptographic generator.
#pragma once

#include <cstddef>

namespace pillar::random_bytes {

// Fills `bytes` bytes at `buffer`; false when the generator fails.
bool fill(void* buffer, std::size_t bytes);

// Test seam: the source that fill() draws from; null restores the system's.
// Returns the source replaced.
using Source = bool (*)(void* buffer, std::size_t bytes);
Source replace_source(Source source);

}  // namespace pillar::random_bytes
