// The library's memory: every block is zero-filled and comes from the process
// heap. A failed allocation is fatal (see fatal_out_of_memory).
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace pillar::heap {

// Never returns null: when memory runs out the process ends.
void* allocate_zeroed(std::size_t bytes);
void release(void* block);

#ifdef _WIN32
// Takes the process heap for every later block; the library does this when
// it is loaded, before any export can run.
void take_process_heap();
#else
// Test seams of the native build. Blocks allocated and not yet released:
long live_blocks();
// The allocation after `successes` more successful ones fails; a negative
// count switches failures off.
void fail_allocation_after(long successes);
#endif

}  // namespace pillar::heap

namespace pillar {

struct HeapRelease {
  void operator()(char* text) const { heap::release(text); }
};

// A text the library allocated; null is "no text".
using HeapText = std::unique_ptr<char, HeapRelease>;

// A fresh, zero-terminated copy of `text`.
HeapText copy_text(std::string_view text);

// A copy of `text`, or no text when it is empty.
HeapText copy_or_no_text(std::string_view text);

// Shows "内存不足", releases the result slots and ends the process with
// kOutOfMemoryExitCode.
[[noreturn]] void fatal_out_of_memory();

// ERROR_NOT_ENOUGH_MEMORY: the process must not end as if it had succeeded.
inline constexpr int kOutOfMemoryExitCode = 8;

}  // namespace pillar
