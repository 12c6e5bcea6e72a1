// The frame every export runs around its calculation:
//   1. each text argument becomes a private copy (null: the shared empty text),
//   2. the calculation runs on the copies, other arguments pass unchanged,
//   3. the copies are released,
//   4. a text result replaces the text in the export's result slot and is
//      returned; an integer result is returned directly.
// Calculations see a text argument as a std::string_view of its copy and
// return a HeapText (null = no text), an integer or bool, or nothing.
#pragma once

#include <cstring>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "exports.h"
#include "heap.h"

namespace pillar {

// Stores `result` in result slot `slot`, releasing the text held there.
const char* replace_slot_text(int slot, HeapText result);

// Releases the texts of all result slots; runs when the library unloads.
void release_result_slots();

namespace frame {

extern const char kSharedEmptyText[1];

// The library's own copy of a caller's text argument.
class TextCopy {
 public:
  explicit TextCopy(const char* caller_text) {
    if (!caller_text || !*caller_text) return;
    std::size_t length = std::strlen(caller_text);
    auto* copy = static_cast<char*>(heap::allocate_zeroed(length + 1));
    std::memcpy(copy, caller_text, length + 1);
    text_ = std::string_view(copy, length);
  }
  TextCopy(const TextCopy&) = delete;
  TextCopy& operator=(const TextCopy&) = delete;
  ~TextCopy() {
    if (text_.data() != kSharedEmptyText) heap::release(const_cast<char*>(text_.data()));
  }
  std::string_view view() const { return text_; }

 private:
  std::string_view text_{kSharedEmptyText, 0};
};

template <typename T> struct Held { using type = T; };
template <> struct Held<Text> { using type = TextCopy; };

template <typename T> T& passed(T& argument) { return argument; }
inline std::string_view passed(TextCopy& copy) { return copy.view(); }

}  // namespace frame

// Runs `calculation` as export E inside the frame.
template <Export E, typename Calculation, typename... Args>
auto run_export(Calculation&& calculation, Args... arguments) {
  constexpr const ExportInfo& info = export_info(E);
  static_assert(argument_bytes<Args...>() == info.argument_bytes,
                "arguments differ from the export list");
  auto calculate = [&] {
    std::tuple<typename frame::Held<Args>::type...> held{arguments...};
    return std::apply(
        [&](auto&... each) { return calculation(frame::passed(each)...); }, held);
  };
  if constexpr (info.result == ResultKind::Slot) {
    return replace_slot_text(info.slot, calculate());
  } else if constexpr (info.result == ResultKind::Integer) {
    return static_cast<std::int32_t>(calculate());
  } else {
    calculate();
  }
}

}  // namespace pillar
