// How pairview ends: the end-of-program handlers, run in the order they were
// registered, and the fatal stops (a message box, then a non-zero exit).
#pragma once

#include <functional>

namespace pairview {

void on_program_end(std::function<void()> handler);

// Runs the end-of-program handlers and exits with the code.
[[noreturn]] void end_program(int exit_code);

// Exit code of every fatal stop: the library or an export missing, a stack
// fault after a library call, memory exhausted.
inline constexpr int kFatalExitCode = 1;

// Shows a modal error box with no owner (GBK text and title), then ends the
// program with kFatalExitCode.
[[noreturn]] void fatal_stop(const char* text, const char* title);

// The new-handler: "内存不足" and a fatal stop.
void out_of_memory();

}  // namespace pairview
