// Time per call of every export through the real DLL: loaded with
// LoadLibrary, bound by GBK name, timed with QueryPerformanceCounter. Prints
// one table row per export (UTF-8), then the library calls of one comparison
// report. Not a test: docs/hardening.md says how to run it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "each_export.h"
#include "sample_arguments.h"

namespace {

const char* const kRecognisedTexts[] = {"甲", "子", "庚", "午", "丙", "寅", "壬", "申", "戊",
                                        "辰", "癸", "亥", "甲"};

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

// Nanoseconds per call of `body`, repeated until 0.2 s have passed.
template <typename Body>
double nanoseconds_per_call(Body&& body) {
  long calls = 0, batch = 64;
  double start = seconds_now(), elapsed = 0;
  do {
    for (long i = 0; i < batch; ++i) body();
    calls += batch;
    batch *= 2;
    elapsed = seconds_now() - start;
  } while (elapsed < 0.2);
  return elapsed / static_cast<double>(calls) * 1e9;
}

template <typename R, typename... P>
double time_export(FARPROC address, R(PILLAR_CALL*)(P...)) {
  auto function = reinterpret_cast<R(PILLAR_CALL*)(P...)>(reinterpret_cast<void*>(address));
  CallOutcome outcome;
  std::vector<const char*> texts(std::begin(kRecognisedTexts), std::end(kRecognisedTexts));
  auto arguments = sample_arguments<P...>(texts, outcome);
  volatile std::uintptr_t sink = 0;
  return nanoseconds_per_call([&] {
    if constexpr (std::is_void_v<R>) {
      std::apply(function, arguments);
    } else {
      sink = sink + (std::uintptr_t)std::apply(function, arguments);
    }
  });
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
  std::printf("| ordinal | export | ns per call |\n|---|---|---|\n");
  for_each_export_type([&](const pillar::ExportInfo& info, auto signature) {
    FARPROC address = GetProcAddress(module, info.name);
    if (!address) return;
    std::printf("| %d | %s | %.1f |\n", info.ordinal, utf8(info.name).c_str(), time_export(address, signature));
  });
  std::printf("\none comparison report's library calls: %.0f ns\n", time_report(module));
  FreeLibrary(module);
  return 0;
}
