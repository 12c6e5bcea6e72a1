// Calls a stdcall function with raw 32-bit argument slots and measures how
// many bytes of arguments it removed from the stack.
#pragma once

#include <cstdint>

extern "C" std::uint32_t measured_call(const void* function, const std::uint32_t* slots,
                                       std::uint32_t slot_count, std::int32_t* bytes_removed);
