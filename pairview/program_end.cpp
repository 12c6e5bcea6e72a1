#include "program_end.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "winlayer.h"

namespace pairview {

namespace {
std::vector<std::function<void()>>& handlers() {
  static std::vector<std::function<void()>> list;
  return list;
}
}  // namespace

void on_program_end(std::function<void()> handler) { handlers().push_back(std::move(handler)); }

void end_program(int exit_code) {
  auto list = std::move(handlers());
  handlers().clear();
  for (auto& handler : list) handler();
  std::exit(exit_code);
}

void fatal_stop(const char* text, const char* title) {
  MessageBoxW(nullptr, winlayer::widen(text).c_str(), winlayer::widen(title).c_str(),
              MB_OK | MB_ICONERROR);
  end_program(kFatalExitCode);
}

void out_of_memory() {
  // Nothing more can be allocated, so the message box is shown directly.
  MessageBoxW(nullptr, L"内存不足", L"error", MB_OK | MB_ICONERROR);
  ExitProcess(kFatalExitCode);
}

}  // namespace pairview
