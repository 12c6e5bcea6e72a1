#include "frame.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pillar {
namespace {

char* g_result_slots[kResultSlotCount];

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

const char* replace_slot_text(int slot, HeapText result) {
  heap::release(g_result_slots[slot]);
  g_result_slots[slot] = result.release();
  return g_result_slots[slot];
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
