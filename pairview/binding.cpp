#include "binding.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "program_end.h"
#include "winlayer.h"

extern "C" {
// Assembly below. The checked call pushes `count` arguments (the last one
// first), calls `function` and reports through `stack_kept` whether the
// stack pointer came back to where it was before the pushes.
std::uint32_t pairview_checked_call(const void* function, const std::uint32_t* arguments,
                                    int count, int* stack_kept);
void pairview_binding_stub_0();
void pairview_binding_stub_1();
void pairview_binding_stub_2();
void pairview_binding_stub_3();
void* pairview_bind_slot(int index);
}

// A stub pushes its slot index and jumps to the common part, which asks the
// binder for the address, drops the index and jumps into the export: the
// return address and the arguments on the stack are the caller's own.
__asm__(R"(
    .text
    .globl _pairview_checked_call
_pairview_checked_call:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl %esp, %edi
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  call *8(%ebp)
    xorl %ecx, %ecx
    cmpl %esp, %edi
    sete %cl
    movl %edi, %esp
    movl 20(%ebp), %edx
    movl %ecx, (%edx)
    popl %ebx
    popl %edi
    popl %esi
    popl %ebp
    ret

pairview_binding_stub_common:
    call _pairview_bind_slot
    addl $4, %esp
    jmp *%eax

    .globl _pairview_binding_stub_0
_pairview_binding_stub_0:
    pushl $0
    jmp pairview_binding_stub_common
    .globl _pairview_binding_stub_1
_pairview_binding_stub_1:
    pushl $1
    jmp pairview_binding_stub_common
    .globl _pairview_binding_stub_2
_pairview_binding_stub_2:
    pushl $2
    jmp pairview_binding_stub_common
    .globl _pairview_binding_stub_3
_pairview_binding_stub_3:
    pushl $3
    jmp pairview_binding_stub_common
)");

namespace pairview {

namespace {

// The stub each binding slot starts at, and the slots: a stub until the
// first call binds the export.
const std::array<void*, kBoundExportCount> kStubs = {
    reinterpret_cast<void*>(&pairview_binding_stub_0),
    reinterpret_cast<void*>(&pairview_binding_stub_1),
    reinterpret_cast<void*>(&pairview_binding_stub_2),
    reinterpret_cast<void*>(&pairview_binding_stub_3)};
std::array<void*, kBoundExportCount> g_binding_slots = kStubs;

// The GBK export name of each slot.
const std::array<const char*, kBoundExportCount> kBoundExportNames = {
    "八字是否正确", "取干支数量", "取干支五行", "取十神关系"};

// Modules the binder itself loaded, in load order.
constexpr std::size_t kLoadedLibraryLimit = 100;
std::vector<HMODULE>& loaded_libraries() {
  static std::vector<HMODULE> list;
  return list;
}

constexpr std::size_t kMessageBufferBytes = 1024;

[[noreturn]] void dll_error(const char* format, const char* first, const char* second = "") {
  char message[kMessageBufferBytes];
  std::snprintf(message, sizeof message, format, first, second);
  fatal_stop(message, "DLL ERROR");
}

// The program's own path; empty when it cannot be read.
std::wstring program_path() {
  constexpr std::size_t kLongestPath = 32768;
  std::wstring path(MAX_PATH, L'\0');
  while (path.size() <= kLongestPath) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
  return {};
}

}  // namespace

const char* export_name(BoundExport which) { return kBoundExportNames[static_cast<int>(which)]; }

std::optional<std::wstring> library_beside(std::wstring_view program_path,
                                           const char* library_file_name) {
  std::size_t separator = program_path.find_last_of(L"\\/");
  if (separator == std::wstring_view::npos) return std::nullopt;
  return std::wstring(program_path.substr(0, separator + 1)) + winlayer::widen(library_file_name);
}

FARPROC resolve_export(HMODULE library, const char* name) {
  if (name[0] == '#') {
    long ordinal = std::strtol(name + 1, nullptr, 10);
    return GetProcAddress(library, MAKEINTRESOURCEA(static_cast<WORD>(ordinal)));
  }
  std::string lookup = name;
  std::size_t at = lookup.find('@');
  if (at != std::string::npos && at + 1 < lookup.size() && lookup[at + 1] == '@')
    lookup.resize(at);
  return GetProcAddress(library, lookup.c_str());
}

void* bind(const char* library_file_name, const char* name, void** slot) {
  std::optional<std::wstring> path = library_beside(program_path(), library_file_name);
  HMODULE library = path ? GetModuleHandleW(path->c_str()) : nullptr;
  if (!library) {
    if (path) library = LoadLibraryExW(path->c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!library)
      dll_error("同目录下无法找到DLL文件:\"%s\".请与作者联系.", library_file_name);
    auto& list = loaded_libraries();
    if (list.size() < kLoadedLibraryLimit) {
      if (list.empty())
        on_program_end([] {
          for (HMODULE module : loaded_libraries()) FreeLibrary(module);
          loaded_libraries().clear();
        });
      list.push_back(library);
    }
  }
  FARPROC address = resolve_export(library, name);
  if (!address) dll_error("无法定位DLL文件:\"%s\"当中的\"%s\"函数.", library_file_name, name);
  *slot = reinterpret_cast<void*>(address);
  return *slot;
}

bool is_bound(BoundExport which) {
  int index = static_cast<int>(which);
  return g_binding_slots[index] != kStubs[index];
}

std::uint32_t call_export(BoundExport which, std::initializer_list<std::uint32_t> arguments) {
  int index = static_cast<int>(which);
  int stack_kept = 0;
  std::uint32_t result = pairview_checked_call(g_binding_slots[index], arguments.begin(),
                                               static_cast<int>(arguments.size()), &stack_kept);
  if (!stack_kept) {
    char message[kMessageBufferBytes];
    std::snprintf(message, sizeof message, "program internal error number is %d. \r\n%s", 6,
                  "调用DLL命令后发现堆栈错误，通常是DLL参数数目不正确");
    fatal_stop(message, "error");
  }
  return result;
}

}  // namespace pairview

extern "C" void* pairview_bind_slot(int index) {
  return pairview::bind(pairview::kLibraryFileName, pairview::kBoundExportNames[index],
                        &pairview::g_binding_slots[index]);
}
