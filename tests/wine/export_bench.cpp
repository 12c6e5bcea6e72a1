// Time per call of every export through the real DLL: loaded with
// LoadLibrary, bound by GBK name, timed with QueryPerformanceCounter, each
// export cycling through varied, valid arguments (varied_arguments.h). In
// the same run it times the floor a text result cannot go below: one
// HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 8) + HeapFree pair, and an
// empty stdcall call through a function pointer; every export is printed as
// a multiple of the heap pair timed just before it (the load of a shared
// machine drifts during a run). Then the library calls of one comparison
// report. Prints a Markdown table (UTF-8). Not a test: docs/hardening.md says
// how to run it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "each_export.h"
#include "varied_arguments.h"

namespace {

std::string utf8(const char* gbk) {
  wchar_t wide[64];
  int length = MultiByteToWideChar(936, 0, gbk, -1, wide, 64);
  char out[192];
  WideCharToMultiByte(CP_UTF8, 0, wide, length, out, sizeof out, nullptr, nullptr);
  return out;
}

double seconds_now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Nanoseconds per call of `body`, repeated until 0.1 s have passed; the best
// of three such runs, so that a moment of load elsewhere counts less.
template <typename Body>
double nanoseconds_per_call(Body&& body) {
  double best = 0;
  for (int run = 0; run < 3; ++run) {
    long calls = 0, batch = 64;
    double start = seconds_now(), elapsed = 0;
    do {
      for (long i = 0; i < batch; ++i) body();
      calls += batch;
      batch *= 2;
      elapsed = seconds_now() - start;
    } while (elapsed < 0.1);
    double each = elapsed / static_cast<double>(calls) * 1e9;
    if (run == 0 || each < best) best = each;
  }
  return best;
}

template <typename R, typename... P>
double time_export(const pillar::ExportInfo& info, FARPROC address, R(PILLAR_CALL*)(P...)) {
  auto function = reinterpret_cast<R(PILLAR_CALL*)(P...)>(reinterpret_cast<void*>(address));
  varied::Outputs outputs;
  const auto rows = varied::rows_for<P...>(static_cast<pillar::Export>(info.ordinal), outputs);
  std::size_t next = 0;
  volatile std::uintptr_t sink = 0;
  return nanoseconds_per_call([&] {
    if constexpr (std::is_void_v<R>) {
      std::apply(function, rows[next]);
    } else {
      sink = sink + (std::uintptr_t)std::apply(function, rows[next]);
    }
    next = next + 1 == rows.size() ? 0 : next + 1;
  });
}

// The floor of a text result: one zero-filled block of a result's size from
// the process heap, and its release.
double time_heap_pair() {
  HANDLE heap = GetProcessHeap();
  return nanoseconds_per_call([&] {
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 8);
    HeapFree(heap, 0, block);
  });
}

// The floor of any export: a call through a pointer to a stdcall function
// that does nothing but remove its one argument.
__attribute__((noinline)) int PILLAR_CALL empty_export(const char*) { return 0; }

double time_empty_call() {
  int(PILLAR_CALL* volatile function)(const char*) = empty_export;
  return nanoseconds_per_call([&] { function("甲"); });
}

template <typename F>
F bind(HMODULE module, pillar::Export e) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, pillar::export_info(e).name)));
}

// The library calls of one comparison report: two validity checks, the
// character counts, the elements and the ten gods of both charts.
double time_report(HMODULE module) {
  using Chart = const char* [8];
  static const Chart first = {"甲", "子", "丙", "寅", "戊", "午", "壬", "子"};
  static const Chart second = {"庚", "辰", "戊", "寅", "甲", "子", "甲", "子"};
  auto valid = bind<decltype(&pillar::八字是否正确)>(module, pillar::Export::八字是否正确);
  auto count = bind<decltype(&pillar::取干支数量)>(module, pillar::Export::取干支数量);
  auto element = bind<decltype(&pillar::取干支五行)>(module, pillar::Export::取干支五行);
  auto ten_god = bind<decltype(&pillar::取十神关系)>(module, pillar::Export::取十神关系);
  if (!valid || !count || !element || !ten_god) return -1;
  static const char* const characters[22] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛",
                                             "壬", "癸", "子", "丑", "寅", "卯", "辰", "巳",
                                             "午", "未", "申", "酉", "戌", "亥"};
  volatile int findings = 0;
  return nanoseconds_per_call([&] {
    for (const Chart* c : {&first, &second})
      findings = findings + valid((*c)[0], (*c)[1], (*c)[2], (*c)[3], (*c)[4], (*c)[5], (*c)[6], (*c)[7]);
    for (const char* character : characters)
      for (const Chart* c : {&first, &second})
        findings = findings + count((*c)[0], (*c)[2], (*c)[4], (*c)[6], (*c)[1], (*c)[3], (*c)[5], (*c)[7], character);
    char copy[16];
    for (int round = 0; round < 2; ++round)
      for (int position = 0; position < 8; ++position) {
        const char* mine = element(first[position]);
        std::strncpy(copy, mine ? mine : "", sizeof copy - 1);
        const char* theirs = element(second[position]);
        findings = findings + (std::strcmp(copy, theirs ? theirs : "") == 0);
      }
    for (int position : {0, 2, 6, 1, 3, 5, 7}) {
      const char* mine = ten_god(first[4], first[position], 1);
      std::strncpy(copy, mine ? mine : "", sizeof copy - 1);
      const char* theirs = ten_god(second[4], second[position], 1);
      findings = findings + (std::strcmp(copy, theirs ? theirs : "") == 0);
    }
  });
}

}  // namespace

int main() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  HMODULE module = LoadLibraryW((folder + L"pillarcore.dll").c_str());
  if (!module) {
    std::printf("pillarcore.dll not found\n");
    return 1;
  }
  const double heap_pair = time_heap_pair();
  const double empty_call = time_empty_call();
  std::printf("heap pair (HeapAlloc zeroed 8 bytes + HeapFree): %.1f ns\n", heap_pair);
  std::printf("empty stdcall call through a pointer: %.1f ns\n\n", empty_call);
  std::printf("| ordinal | export | ns per call | heap pair beside it (ns) | x heap pair |\n|---|---|---|---|---|\n");
  for_each_export_type([&](const pillar::ExportInfo& info, auto signature) {
    FARPROC address = GetProcAddress(module, info.name);
    if (!address) return;
    double pair = time_heap_pair();
    double each = time_export(info, address, signature);
    std::printf("| %d | %s | %.1f | %.1f | %.2f |\n", info.ordinal, utf8(info.name).c_str(), each, pair,
                each / pair);
  });
  double pair = time_heap_pair();
  double report = time_report(module);
  std::printf("| | one comparison report's library calls | %.0f | %.1f | %.1f |\n", report, pair, report / pair);
  FreeLibrary(module);
  return 0;
}
