#include "heap.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pillar::heap {

#ifdef _WIN32

namespace {
HANDLE g_process_heap;
}

void take_process_heap() { g_process_heap = GetProcessHeap(); }

// Results are mostly a few bytes long. Asking for one size for all of them
// lets the heap hand back the block it took last at once; mixed small sizes
// cost the heap half as much again (measured under Wine).
constexpr std::size_t kSmallestBlock = 16;

void* try_allocate_zeroed(std::size_t bytes) {
  return HeapAlloc(g_process_heap, HEAP_ZERO_MEMORY, bytes < kSmallestBlock ? kSmallestBlock : bytes);
}

void release(void* block) {
  if (block) HeapFree(g_process_heap, 0, block);
}

#else

// Natively the library counts its blocks and can be made to fail, for the
// tests; the DLL needs neither. The count is exact when one thread calls, as
// the tests do; it is kept without a locked instruction, which would cost
// more than the block itself.
namespace {

std::atomic<long> g_live_blocks{0};
std::atomic<long> g_successes_before_failure{-1};

bool injected_failure() {
  long left = g_successes_before_failure.load(std::memory_order_relaxed);
  if (left < 0) return false;
  if (left == 0) return true;
  g_successes_before_failure.store(left - 1, std::memory_order_relaxed);
  return false;
}

}  // namespace

void* try_allocate_zeroed(std::size_t bytes) {
  void* block = injected_failure() ? nullptr : std::calloc(bytes ? bytes : 1, 1);
  if (block) g_live_blocks.store(g_live_blocks.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
  return block;
}

void release(void* block) {
  if (!block) return;
  g_live_blocks.store(g_live_blocks.load(std::memory_order_relaxed) - 1, std::memory_order_relaxed);
  std::free(block);
}

long live_blocks() { return g_live_blocks.load(std::memory_order_relaxed); }

void fail_allocation_after(long successes) {
  g_successes_before_failure.store(successes, std::memory_order_relaxed);
}

#endif

void* allocate_zeroed(std::size_t bytes) {
  void* block = try_allocate_zeroed(bytes);
  if (!block) fatal_out_of_memory();
  return block;
}

}  // namespace pillar::heap

namespace pillar {

char* fresh_copy(std::string_view text) {
  auto* copy = static_cast<char*>(heap::allocate_zeroed(text.size() + 1));
  // An empty view may have no data at all, which memcpy must not be given.
  if (!text.empty()) std::memcpy(copy, text.data(), text.size());
  return copy;
}

ResultText ResultText::composed(std::string_view bytes) {
  if (bytes.size() > kComposedBytes) return ResultText(HeapText(fresh_copy(bytes)));
  ResultText result;
  result.kind_ = Kind::Composed;
  if (!bytes.empty()) std::memcpy(result.composed_, bytes.data(), bytes.size());
  result.composed_size_ = bytes.size();
  return result;
}

void fatal_out_of_memory() {
#ifdef _WIN32
  // user32 is bound only here, so that callers who never run out of memory
  // do not load the window system with the library.
  using MessageBoxFunction = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
  if (HMODULE user32 = LoadLibraryW(L"user32.dll")) {
    auto message_box = reinterpret_cast<MessageBoxFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32, "MessageBoxW")));
    if (message_box) message_box(nullptr, L"内存不足", L"error", MB_OK | MB_ICONSTOP);
  }
  release_result_slots();
  ExitProcess(kOutOfMemoryExitCode);
#else
  std::fputs("内存不足\n", stderr);
  release_result_slots();
  std::_Exit(kOutOfMemoryExitCode);
#endif
}

}  // namespace pillar
