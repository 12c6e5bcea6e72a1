// The exports of pillarcore.dll: their declarations and the facts about each
// (ordinal, GBK name, argument bytes, result kind, result slot), all derived
// from export_list.h.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#if defined(_WIN32) && !defined(_WIN64)
#define PILLAR_CALL __attribute__((stdcall))
#else
#define PILLAR_CALL
#endif

namespace pillar {

// The parameter kinds of the export list, as they cross the boundary.
using Text = const char*;   // GBK, zero-terminated; null is the empty text
using Int = std::int32_t;
using Date = double;        // OLE Automation date: two 32-bit stack slots
using Out32 = std::int32_t*;
using OutDate = double*;

enum class ResultKind { Integer, Slot, None };

template <ResultKind> struct ResultTypeOf;
template <> struct ResultTypeOf<ResultKind::Integer> { using type = std::int32_t; };
template <> struct ResultTypeOf<ResultKind::Slot> { using type = const char*; };
template <> struct ResultTypeOf<ResultKind::None> { using type = void; };

extern "C" {
#define PILLAR_EXPORT(ordinal, name, bytes, result, params) \
  ResultTypeOf<ResultKind::result>::type PILLAR_CALL name params;
#include "export_list.h"
#undef PILLAR_EXPORT
}

enum class Export : int {
#define PILLAR_EXPORT(ordinal, name, bytes, result, params) name = ordinal,
#include "export_list.h"
#undef PILLAR_EXPORT
};

struct ExportInfo {
  int ordinal;
  const char* name;  // GBK, as stored in the export name table
  int argument_bytes;
  ResultKind result;
  int slot;  // index of the result slot, or -1
};

inline constexpr int kExportCount = 53;
inline constexpr int kResultSlotCount = 32;

inline constexpr std::array<ExportInfo, kExportCount> kExportList = [] {
  std::array<ExportInfo, kExportCount> list{{
#define PILLAR_EXPORT(ordinal, name, bytes, result, params) \
  {ordinal, #name, bytes, ResultKind::result, -1},
#include "export_list.h"
#undef PILLAR_EXPORT
  }};
  int next_slot = 0;
  for (auto& entry : list)
    if (entry.result == ResultKind::Slot) entry.slot = next_slot++;
  return list;
}();

constexpr const ExportInfo& export_info(Export e) {
  return kExportList[static_cast<int>(e) - 1];
}

static_assert([] {
  int slots = 0;
  for (int i = 0; i < kExportCount; ++i) {
    if (kExportList[i].ordinal != i + 1) return false;
    if (kExportList[i].result == ResultKind::Slot) ++slots;
  }
  return slots == kResultSlotCount;
}(), "the export list must hold ordinals 1-53 in order and 32 text exports");

constexpr bool precedes_in_byte_order(const char* a, const char* b) {
  for (;; ++a, ++b) {
    auto x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x != y) return x < y;
    if (x == 0) return false;
  }
}

static_assert([] {
  for (int i = 1; i < kExportCount; ++i)
    if (!precedes_in_byte_order(kExportList[i - 1].name, kExportList[i].name)) return false;
  return true;
}(), "ordinals must follow the byte order of the GBK names");

// Bytes an argument of type T takes on the 32-bit stack: a date two slots,
// anything else (integer or pointer) one.
template <typename T>
constexpr int stack_bytes() {
  return std::is_same_v<T, Date> ? 8 : 4;
}

// Bytes that arguments of types P... take on the 32-bit stack, given as the
// types or as a function declared with them.
template <typename... P>
constexpr int argument_bytes() {
  return (0 + ... + stack_bytes<P>());
}
template <typename R, typename... P>
constexpr int argument_bytes(R(PILLAR_CALL*)(P...)) {
  return argument_bytes<P...>();
}

// The declared parameters agree with the listed argument bytes.
#define PILLAR_EXPORT(ordinal, name, bytes, result, params) \
  static_assert(argument_bytes(&name) == bytes, #ordinal);
#include "export_list.h"
#undef PILLAR_EXPORT

}  // namespace pillar
