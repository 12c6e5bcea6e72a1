// The library's memory: every block is zero-filled and comes from the process
// heap. A failed allocation is fatal (see fatal_out_of_memory).
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace pillar::heap {

// Never returns null: when memory runs out the process ends.
void* allocate_zeroed(std::size_t bytes);
// Null when the block cannot be had: for a size the caller chose, which must
// not end the caller's process.
void* try_allocate_zeroed(std::size_t bytes);
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

// A calculation's text result on its way to the export's result slot: no
// text, a block already allocated, or the bytes the slot gets a fresh copy of
// (constant text, the caller's own text, or a few bytes composed on the
// way). Copying only when the slot takes it lets the slot release its old
// block first, which the heap then hands straight back.
class ResultText {
 public:
  static constexpr std::size_t kComposedBytes = 32;

  ResultText() = default;  // no text
  ResultText(HeapText block) : kind_(block ? Kind::Block : Kind::None), block_(std::move(block)) {}

  // The slot gets a copy of `text`, which must outlive the call.
  static ResultText copy_of(std::string_view text) {
    ResultText result;
    result.kind_ = Kind::View;
    result.view_ = text;
    return result;
  }
  // The slot gets a copy of `bytes`, which may live on the calculation's
  // stack.
  static ResultText composed(std::string_view bytes);

  bool is_block() const { return kind_ == Kind::Block; }
  bool has_text() const { return kind_ != Kind::None; }
  HeapText take_block() { return std::move(block_); }
  std::string_view bytes() const {
    return kind_ == Kind::Composed ? std::string_view(composed_, composed_size_) : view_;
  }

 private:
  enum class Kind { None, Block, View, Composed };
  Kind kind_ = Kind::None;
  HeapText block_;
  std::string_view view_;
  char composed_[kComposedBytes];
  std::size_t composed_size_ = 0;
};

// The slot gets a copy of `text` (the empty text included).
inline ResultText copy_text(std::string_view text) { return ResultText::copy_of(text); }

// A copy of `text`, or no text when it is empty.
inline ResultText copy_or_no_text(std::string_view text) {
  return text.empty() ? ResultText() : ResultText::copy_of(text);
}

// A fresh block holding `text` and its terminating zero.
char* fresh_copy(std::string_view text);

// Shows "内存不足", releases the result slots and ends the process with
// kOutOfMemoryExitCode.
[[noreturn]] void fatal_out_of_memory();

// ERROR_NOT_ENOUGH_MEMORY: the process must not end as if it had succeeded.
inline constexpr int kOutOfMemoryExitCode = 8;

}  // namespace pillar
