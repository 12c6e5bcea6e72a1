// The frame every export runs around its calculation:
//   1. each text argument is read where the caller keeps it, as a
//      std::string_view of the caller's bytes (null: the shared empty text);
//      nothing is copied or allocated for it,
//   2. the calculation runs; other arguments pass unchanged,
//   3. a text result replaces the text in the export's result slot and is
//      returned; an integer result is returned directly.
// The calculation has finished reading its arguments before the slot lets go
// of its old text, so a caller may pass back the text the same export gave it
// (a result that is that very text is copied before the old block goes).
// Calculations return a ResultText (see heap.h), an integer or bool, or
// nothing.
#pragma once

#include <cstring>
#include <string_view>

#include "exports.h"
#include "heap.h"

namespace pillar {

// Stores `result` in result slot `slot`, releasing the text held there.
const char* replace_slot_text(int slot, ResultText&& result);

// Releases the texts of all result slots; runs when the library unloads.
void release_result_slots();

namespace frame {

extern const char kSharedEmptyText[1];

// A caller's text as calculations read it: its bytes in place, up to the
// terminating zero. Texts are mostly one to three characters, whose length
// is found inline; longer ones go to strlen. No byte after the terminator is
// read.
inline std::string_view caller_text(Text text) {
  if (!text) return std::string_view(kSharedEmptyText, 0);
  constexpr std::size_t kMeasuredInline = 8;
  std::size_t length = 0;
  while (length < kMeasuredInline && text[length]) ++length;
  if (length == kMeasuredInline) length += std::strlen(text + kMeasuredInline);
  return std::string_view(text, length);
}

template <typename T> T passed(T argument) { return argument; }
inline std::string_view passed(Text text) { return caller_text(text); }

}  // namespace frame

// Runs `calculation` as export E inside the frame.
template <Export E, typename Calculation, typename... Args>
auto run_export(Calculation&& calculation, Args... arguments) {
  constexpr const ExportInfo& info = export_info(E);
  static_assert(argument_bytes<Args...>() == info.argument_bytes,
                "arguments differ from the export list");
  auto calculate = [&] { return calculation(frame::passed(arguments)...); };
  if constexpr (info.result == ResultKind::Slot) {
    return replace_slot_text(info.slot, calculate());
  } else if constexpr (info.result == ResultKind::Integer) {
    return static_cast<std::int32_t>(calculate());
  } else {
    calculate();
  }
}

}  // namespace pillar
