#include "random_bytes.h"

#include <cerrno>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#include <bcrypt.h>
#else
#include <sys/random.h>
#endif

namespace pillar::random_bytes {
namespace {

bool system_fill(void* buffer, std::size_t bytes) {
#ifdef _WIN32
  return BCryptGenRandom(nullptr, static_cast<PUCHAR>(buffer), static_cast<ULONG>(bytes),
                         BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0;
#else
  auto* next = static_cast<unsigned char*>(buffer);
  while (bytes > 0) {
    ssize_t got = getrandom(next, bytes, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    next += got;
    bytes -= static_cast<std::size_t>(got);
  }
  return true;
#endif
}

Source g_source = system_fill;

}  // namespace

bool fill(void* buffer, std::size_t bytes) { return g_source(buffer, bytes); }

Source replace_source(Source source) {
  Source replaced = g_source;
  g_source = source ? source : system_fill;
  return replaced;
}

}  // namespace pillar::random_bytes
