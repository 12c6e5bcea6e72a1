// Calls every built text export a million times and shows that the heap does
// not grow: the library's own count of live blocks ends where it started
// (plus one text per slot), and so does the C heap's count of bytes in use.
// A separate program, not a unit test, because it runs for seconds.
#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "each_export.h"
#include "frame.h"
#include "sample_arguments.h"

namespace {

constexpr long kCallsPerExport = 1000000;

// Texts that some export recognises, and some it does not, in turn.
const char* const kTexts[] = {"甲", "子", "金", "甲子", "庚午", "正官", "午", "", nullptr, "x"};

template <typename R, typename... P>
void call_many_times(R (*function)(P...)) {
  CallOutcome outcome;
  constexpr int text_count = text_parameter_count<P...>();
  std::vector<const char*> texts(text_count);
  for (long call = 0; call < kCallsPerExport; ++call) {
    for (int i = 0; i < text_count; ++i) texts[i] = kTexts[(call + i) % std::size(kTexts)];
    auto arguments = sample_arguments<P...>(texts, outcome);
    std::apply(function, arguments);
  }
}

}  // namespace

int main() {
  pillar::release_result_slots();
  const long blocks_before = pillar::heap::live_blocks();
  const std::size_t bytes_before = mallinfo2().uordblks;
  int failures = 0, exports = 0;
  for_each_export([&](const pillar::ExportInfo& info, auto function) {
    if (info.result != pillar::ResultKind::Slot) return;
    call_many_times(function);
    ++exports;
    // At most one text per slot stays, and no bytes beyond what the slots hold.
    long blocks = pillar::heap::live_blocks() - blocks_before;
    if (blocks > exports) {
      std::printf("export %d: %ld blocks live after %ld calls\n", info.ordinal, blocks, kCallsPerExport);
      ++failures;
    }
  });
  const std::size_t bytes_with_slots = mallinfo2().uordblks;
  pillar::release_result_slots();
  const long blocks_after = pillar::heap::live_blocks();
  const std::size_t bytes_after = mallinfo2().uordblks;
  std::printf("%d text exports x %ld calls: live blocks %ld -> %ld, heap bytes in use %zu -> %zu "
              "(%zu with the slots' texts)\n",
              exports, kCallsPerExport, blocks_before, blocks_after, bytes_before, bytes_after,
              bytes_with_slots);
  // Every slot text is short here: the password export is asked for one character.
  if (blocks_after != blocks_before) ++failures;
  if (bytes_after > bytes_before + 4096) ++failures;
  if (bytes_with_slots > bytes_before + 64 * 1024) ++failures;
  std::printf("%s\n", failures ? "FAILED: the heap grew" : "the heap did not grow");
  return failures ? 1 : 0;
}
