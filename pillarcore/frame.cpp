#include "frame.h"

#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pillar {
namespace {

char* g_result_slots[kResultSlotCount];
// The length of each slot's text, so that no call measures it again.
std::size_t g_result_lengths[kResultSlotCount];

#ifndef _WIN32
// Natively the slots are released at exit, as the DLL does when unloaded.
struct SlotsReleasedAtExit {
  ~SlotsReleasedAtExit() { release_result_slots(); }
} g_slots_released_at_exit;
#endif

}  // namespace

namespace frame {
const char kSharedEmptyText[1] = "";
}

const char* replace_slot_text(int slot, ResultText&& result) {
  char*& held = g_result_slots[slot];
  char* previous = held;
  const std::size_t previous_length = g_result_lengths[slot];
  held = nullptr;  // an allocation that fails releases the slots
  if (result.is_block() || !result.has_text()) {
    heap::release(previous);
    held = result.take_block().release();
    g_result_lengths[slot] = held ? std::strlen(held) : 0;
    return held;
  }
  std::string_view text = result.bytes();
  // Released first, the old block is the one the heap hands back at once;
  // but a text read from it is copied before it goes.
  auto address = [](const char* p) { return reinterpret_cast<std::uintptr_t>(p); };
  bool read_from_previous = previous && address(text.data()) - address(previous) <= previous_length;
  if (!read_from_previous) {
    heap::release(previous);
    previous = nullptr;
  }
  held = fresh_copy(text);
  g_result_lengths[slot] = text.size();
  heap::release(previous);
  return held;
}

void release_result_slots() {
  for (char*& text : g_result_slots) {
    heap::release(text);
    text = nullptr;
  }
}

}  // namespace pillar

#ifdef _WIN32
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) pillar::heap::take_process_heap();
  if (reason == DLL_PROCESS_DETACH) pillar::release_result_slots();
  return TRUE;
}
#endif
