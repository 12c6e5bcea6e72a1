// Drives every export natively with arbitrary arguments and checks, on
// top of the sanitizers, what the frame promises: a text result is null or a
// zero-terminated text in a fresh block, each call replaces only its own
// result slot, and integer exports leave every slot and the heap as they were.
//
// The first input byte picks the export, unless PILLAR_FUZZ_ORDINAL fixes it.
// With PILLAR_FUZZ_COUNTS set, the calls per export are printed at exit.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "each_export.h"
#include "frame.h"
#include "fuzz_input.h"

namespace {

using pillar::ExportInfo;
using pillar::ResultKind;

[[noreturn]] void fault(const ExportInfo& info, const char* what) {
  std::fprintf(stderr, "export %d: %s\n", info.ordinal, what);
  std::abort();
}

// What the fuzzer last got from each result slot, to see that no other call
// releases or changes it.
struct SlotRecord {
  const char* text = nullptr;
  std::string copy;
};
std::array<SlotRecord, pillar::kResultSlotCount> g_slots;
std::array<unsigned long long, pillar::kExportCount + 1> g_calls{};
constexpr pillar::Int kLongestFuzzedPassword = 1 << 17;

void check_other_slots(const ExportInfo& info) {
  for (int slot = 0; slot < pillar::kResultSlotCount; ++slot) {
    const SlotRecord& record = g_slots[slot];
    if (slot == info.slot || !record.text) continue;
    if (std::memcmp(record.text, record.copy.c_str(), record.copy.size() + 1) != 0)
      fault(info, "changed the text of another export's result slot");
  }
}

template <typename T>
T make_argument(fuzz::Input& input, std::vector<std::string>& texts, std::vector<void*>& outputs) {
  if constexpr (std::is_same_v<T, pillar::Text>) {
    texts.emplace_back();
    return input.text(texts.back());
  } else if constexpr (std::is_same_v<T, pillar::Int>) {
    return input.integer();
  } else if constexpr (std::is_same_v<T, pillar::Date>) {
    return input.date();
  } else {
    // Each output is a block of its own, so that a write past it is caught.
    if (input.null_output()) return nullptr;
    auto* target = new std::remove_pointer_t<T>{};
    outputs.push_back(target);
    return target;
  }
}

template <typename R, typename... P>
void drive(const ExportInfo& info, R (*function)(P...), fuzz::Input& input) {
  std::vector<std::string> texts;
  texts.reserve(sizeof...(P));  // the argument pointers must stay put
  std::vector<void*> outputs;
  std::tuple<P...> arguments{make_argument<P>(input, texts, outputs)...};
  // A password is as long as asked for: bounded lengths keep the runs fast.
  if constexpr (std::is_same_v<R (*)(P...), decltype(&pillar::取得随机密码)>)
    if (function == &pillar::取得随机密码) std::get<0>(arguments) %= kLongestFuzzedPassword + 1;
  std::vector<std::string> originals = texts;

  long blocks_before = pillar::heap::live_blocks();
  if constexpr (std::is_void_v<R>) {
    std::apply(function, arguments);
  } else {
    R result = std::apply(function, arguments);
    if constexpr (std::is_same_v<R, const char*>) {
      SlotRecord& record = g_slots[info.slot];
      long expected = blocks_before + (result != nullptr) - (record.text != nullptr);
      if (pillar::heap::live_blocks() != expected) fault(info, "leaked or over-released a block");
      for (const auto& text : texts)
        if (result && result == text.c_str()) fault(info, "returned the caller's text");
      record.text = result;
      record.copy = result ? std::string(result) : std::string();  // reads up to the terminator
    }
  }
  if constexpr (!std::is_same_v<R, const char*>) {
    if (pillar::heap::live_blocks() != blocks_before) fault(info, "changed the heap without a slot");
  }
  if (texts != originals) fault(info, "wrote to a caller's text");
  check_other_slots(info);
  for (void* output : outputs) ::operator delete(output);
  ++g_calls[info.ordinal];
}

struct Driver {
  const ExportInfo* info;
  std::function<void(fuzz::Input&)> run;
};

const std::vector<Driver>& drivers() {
  static const std::vector<Driver> all = [] {
    std::vector<Driver> list;
    for_each_export([&](const ExportInfo& info, auto function) {
      list.push_back({&info, [&info, function](fuzz::Input& input) { drive(info, function, input); }});
    });
    return list;
  }();
  return all;
}

const Driver* g_fixed = nullptr;

void print_counts() {
  std::fprintf(stderr, "calls per export (ordinal calls):\n");
  for (int ordinal = 1; ordinal <= pillar::kExportCount; ++ordinal)
    if (g_calls[ordinal]) std::fprintf(stderr, "  %2d %llu\n", ordinal, g_calls[ordinal]);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* ordinal = std::getenv("PILLAR_FUZZ_ORDINAL")) {
    for (const Driver& driver : drivers())
      if (driver.info->ordinal == std::atoi(ordinal)) g_fixed = &driver;
    if (!g_fixed) {
      std::fprintf(stderr, "PILLAR_FUZZ_ORDINAL=%s is no export\n", ordinal);
      std::exit(2);
    }
  }
  if (std::getenv("PILLAR_FUZZ_COUNTS")) std::atexit(print_counts);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  const auto& all = drivers();
  if (all.empty()) return 0;
  const Driver& driver = g_fixed ? *g_fixed : all[input.byte() % all.size()];
  driver.run(input);
  return 0;
}
