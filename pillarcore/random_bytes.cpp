#include "random_bytes.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/random.h>
#endif

namespace pillar::random_bytes {
namespace {

#ifdef _WIN32
// bcrypt is bound on the first password, so that loading the library loads
// nothing more than it needs.
using GenRandomFunction = LONG(WINAPI*)(void* algorithm, unsigned char* buffer, ULONG bytes,
                                        ULONG flags);
constexpr ULONG kUseSystemPreferredGenerator = 2;  // BCRYPT_USE_SYSTEM_PREFERRED_RNG

GenRandomFunction bound_gen_random() {
  static const GenRandomFunction function = [] {
    HMODULE bcrypt = LoadLibraryW(L"bcrypt.dll");
    return bcrypt ? reinterpret_cast<GenRandomFunction>(
                        reinterpret_cast<void*>(GetProcAddress(bcrypt, "BCryptGenRandom")))
                  : nullptr;
  }();
  return function;
}
#endif

bool system_fill(void* buffer, std::size_t bytes) {
#ifdef _WIN32
  GenRandomFunction gen_random = bound_gen_random();
  return gen_random && gen_random(nullptr, static_cast<unsigned char*>(buffer),
                                  static_cast<ULONG>(bytes), kUseSystemPreferredGenerator) == 0;
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
