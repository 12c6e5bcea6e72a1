// Drives pairview.exe from a second process, as a user would: sets the
// selectors and the check box, presses "开始比较", reads the output box and
// the message boxes. Each case prints "N passed, N failed".
//
//   pairview_driver gui     FOLDER [CODEPAGE]   layout, reports, invalid charts, end
//   pairview_driver missing FOLDER    no pillarcore.dll beside the program
//   pairview_driver planted FOLDER    pillarcore.dll only in the current folder
//   pairview_driver stack   FOLDER FAKE_DLL   a library with other argument counts
//   pairview_driver show    FOLDER    press once, print the report as UTF-8
//   pairview_driver all     FOLDER FAKE_DLL [CODEPAGE]   gui, missing, planted, stack
//
// FOLDER holds pairview.exe and pillarcore.dll; CODEPAGE is the ANSI code
// page the run must have. "all" saves a driver start (slow under emulation)
// for each case.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "expected_reports.h"
#include "report.h"
#include "win_check.h"
#include "window_place.h"

using pairview::Chart;

namespace {

constexpr DWORD kPatienceMs = 60000;

std::wstring widen(const std::string& gbk) {
  if (gbk.empty()) return {};
  int n = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), n);
  return wide;
}

std::string encode(const std::wstring& wide, UINT code_page) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                              0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n,
                      nullptr, nullptr);
  return text;
}
std::string narrow(const std::wstring& wide) { return encode(wide, 936); }

std::wstring window_text(HWND window) {
  auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  length = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::wstring class_of(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

bool placed(HWND window, int left, int top, int width, int height) {
  RECT r = place_in_parent(window);
  return r.left == left && r.top == top && r.right - r.left == width && r.bottom - r.top == height;
}

// ------------------------------------------------------------ the process

// A started program that a failed case leaves running is ended with the
// case, so that it cannot outlive the test and hold the test's output open.
struct Started {
  PROCESS_INFORMATION process{};
  bool ok = false;
  bool keep_running = false;

  Started(const std::wstring& program, const std::wstring& current_folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + program + L"\"";
    ok = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        current_folder.empty() ? nullptr : current_folder.c_str(), &startup,
                        &process) != 0;
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;
  ~Started() {
    if (!ok) return;
    if (!keep_running && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(process.hProcess, 98);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
};

struct Search {
  DWORD process_id;
  const wchar_t* class_name;
  HWND found;
};

BOOL CALLBACK match_top_level(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process_id && class_of(window) == search->class_name &&
      IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND find_top_level(DWORD process_id, const wchar_t* class_name, DWORD wait_ms) {
  DWORD start_tick = GetTickCount();
  for (;;) {
    Search search{process_id, class_name, nullptr};
    EnumWindows(match_top_level, reinterpret_cast<LPARAM>(&search));
    if (search.found || GetTickCount() - start_tick >= wait_ms) return search.found;
    Sleep(50);
  }
}

bool wait_gone(HWND window) {
  DWORD start_tick = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start_tick > kPatienceMs) return false;
    Sleep(50);
  }
  return true;
}

DWORD exit_code_of(const Started& started) {
  if (WaitForSingleObject(started.process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
    TerminateProcess(started.process.hProcess, 99);
    return 99;
  }
  DWORD code = 0;
  GetExitCodeProcess(started.process.hProcess, &code);
  return code;
}

// -------------------------------------------------------------- the form

struct Form {
  HWND main = nullptr;
  std::array<HWND, 5> groups{};
  HWND start = nullptr, mode = nullptr, output = nullptr;
  std::array<HWND, 18> selectors{};
  bool complete = false;
};

BOOL CALLBACK collect(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

// Finds the controls by class, style and place: selectors by their group and
// their row and column in it.
Form find_form(HWND main) {
  Form form;
  form.main = main;
  std::vector<HWND> all;
  EnumChildWindows(main, collect, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> groups;
  for (HWND w : all) {
    LONG style = GetWindowLongW(w, GWL_STYLE);
    std::wstring cls = class_of(w);
    if (cls == L"Button" && (style & BS_TYPEMASK) == BS_GROUPBOX) groups.push_back(w);
    else if (cls == L"Button" && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) form.mode = w;
    else if (cls == L"Button") form.start = w;
    else if (cls == L"Edit" && GetParent(w) == main) form.output = w;
  }
  if (groups.size() != 5) return form;
  for (HWND g : groups) {
    int left = place_in_parent(g).left;
    int index = left < 100 ? 0 : left < 200 ? 1 : left < 300 ? 2 : left < 500 ? 3 : 4;
    form.groups[index] = g;
  }
  for (HWND w : all) {
    if (class_of(w) != L"ComboBox") continue;
    RECT r = place_in_parent(w);
    int group = -1;
    for (int g = 0; g < 5; ++g)
      if (GetParent(w) == form.groups[g]) group = g;
    int chart = r.top == 46 ? 0 : 1;
    int number = group == 4 ? 16 + chart : group * 4 + chart * 2 + (r.left == 8 ? 1 : 0);
    if (group >= 0) form.selectors[number] = w;
  }
  form.complete = form.start && form.mode && form.output;
  for (HWND s : form.selectors) form.complete = form.complete && s;
  return form;
}

template <std::size_t N>
int index_in(const std::array<const char*, N>& items, const std::string& text) {
  for (std::size_t i = 0; i < N; ++i)
    if (text == items[i]) return static_cast<int>(i);
  return -1;
}

// Selector numbers of chart 1's texts in chart order; chart 2's are two on.
constexpr std::array<int, 8> kChartSelectors = {1, 0, 5, 4, 9, 8, 13, 12};

void enter(const Form& form, const Chart& one, const Chart& two, int sex1, int sex2, bool mode) {
  for (int chart = 0; chart < 2; ++chart) {
    const Chart& texts = chart == 0 ? one : two;
    for (int i = 0; i < 8; ++i) {
      int index = i % 2 == 0 ? index_in(pairview::kStemTexts, texts[i])
                             : index_in(pairview::kBranchTexts, texts[i]);
      SendMessageW(form.selectors[kChartSelectors[i] + 2 * chart], CB_SETCURSEL, index, 0);
    }
  }
  SendMessageW(form.selectors[16], CB_SETCURSEL, sex1, 0);
  SendMessageW(form.selectors[17], CB_SETCURSEL, sex2, 0);
  SendMessageW(form.mode, BM_SETCHECK, mode ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Sends the start button's click and returns once the compare action is
// done, with the time it took in milliseconds.
double press_and_time(const Form& form) {
  LARGE_INTEGER frequency, before, after;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&before);
  SendMessageW(form.main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.start), BN_CLICKED),
               reinterpret_cast<LPARAM>(form.start));
  QueryPerformanceCounter(&after);
  return 1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// A click whose handler may show a message box: posted, not sent.
void press_posted(const Form& form) {
  PostMessageW(form.main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.start), BN_CLICKED),
               reinterpret_cast<LPARAM>(form.start));
}

struct Box {
  std::string title, text;  // GBK
  bool shown = false;
};

// Waits for the program's message box, reads it and presses OK.
Box answer_message_box(DWORD process_id) {
  Box box;
  HWND window = find_top_level(process_id, L"#32770", kPatienceMs);
  if (!window) return box;
  box.shown = true;
  box.title = narrow(window_text(window));
  box.text = narrow(window_text(GetDlgItem(window, 0xFFFF)));
  PostMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
  wait_gone(window);
  return box;
}

// ------------------------------------------------- expected reports

// The library loaded the way its callers do, for the expected reports.
class DllLibrary : public pairview::ChartLibrary {
 public:
  explicit DllLibrary(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {
    valid_ = exported<Valid>("八字是否正确");
    count_ = exported<Count>("取干支数量");
    element_ = exported<OneText>("取干支五行");
    ten_god_ = exported<TenGod>("取十神关系");
  }
  bool loaded() const { return valid_ && count_ && element_ && ten_god_; }
  bool chart_is_valid(const Chart& c) override {
    return valid_(c[0].c_str(), c[1].c_str(), c[2].c_str(), c[3].c_str(), c[4].c_str(),
                  c[5].c_str(), c[6].c_str(), c[7].c_str()) != 0;
  }
  int count(const Chart& c, const std::string& character) override {
    return count_(c[0].c_str(), c[2].c_str(), c[4].c_str(), c[6].c_str(), c[1].c_str(),
                  c[3].c_str(), c[5].c_str(), c[7].c_str(), character.c_str());
  }
  std::string element(const std::string& text) override {
    const char* result = element_(text.c_str());
    return result ? result : "";
  }
  std::string ten_god(const std::string& day_stem, const std::string& text, int mode) override {
    const char* result = ten_god_(day_stem.c_str(), text.c_str(), mode);
    return result ? result : "";
  }

 private:
  template <typename Function>
  Function exported(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }
  using T = const char*;
  using Valid = int(__stdcall*)(T, T, T, T, T, T, T, T);
  using Count = int(__stdcall*)(T, T, T, T, T, T, T, T, T);
  using OneText = T(__stdcall*)(T);
  using TenGod = T(__stdcall*)(T, T, int);
  HMODULE module_;
  Valid valid_ = nullptr;
  Count count_ = nullptr;
  OneText element_ = nullptr;
  TenGod ten_god_ = nullptr;
};

class FixedForm : public pairview::FormReader {
 public:
  Chart charts[2];
  int sexes[2];
  int mode_value;
  Chart chart(int number) const override { return charts[number - 1]; }
  int sex(int number) const override { return sexes[number - 1]; }
  int mode() const override { return mode_value; }
};

struct Comparison {
  Chart one, two;
  int sex1, sex2;
  bool mode;
};

// ------------------------------------------------------------- the cases

std::wstring folder_file(const std::wstring& folder, const wchar_t* name) {
  return folder + L"\\" + name;
}

// A fresh folder for a case's own arrangement of files.
std::wstring fresh_folder(const wchar_t* tag) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"pairview-" + tag + L"-" +
                        std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// The program's form once its start-up is over: it has reached its message
// loop with every control made.
Form form_of(const Started& started) {
  WaitForInputIdle(started.process.hProcess, kPatienceMs);
  HWND main = find_top_level(started.process.dwProcessId, L"WTWindow", kPatienceMs);
  Form form = find_form(main);
  for (DWORD start_tick = GetTickCount(); main && !form.complete;) {
    if (GetTickCount() - start_tick > kPatienceMs) break;
    Sleep(50);
    form = find_form(main);
  }
  return form;
}

void check_layout(const Form& form) {
  CHECK(narrow(window_text(form.main)) == "Pairview V3.0");
  RECT outer;
  GetWindowRect(form.main, &outer);
  CHECK(outer.right - outer.left == 611 && outer.bottom - outer.top == 350);
  LONG style = GetWindowLongW(form.main, GWL_STYLE);
  CHECK((style & (WS_CAPTION | WS_SYSMENU)) == (WS_CAPTION | WS_SYSMENU));
  CHECK((style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0);
  CHECK(placed(form.groups[0], 67, 7, 104, 104));
  CHECK(placed(form.groups[4], 526, 7, 73, 104));
  CHECK(placed(form.start, 529, 120, 70, 20));
  CHECK(narrow(window_text(form.start)) == "开始比较");
  CHECK(placed(form.mode, 344, 120, 144, 16));
  CHECK(narrow(window_text(form.mode)) == "视子午为阳、巳亥为阴");
  CHECK(SendMessageW(form.mode, BM_GETCHECK, 0, 0) == BST_CHECKED);
  CHECK(placed(form.output, 5, 144, 594, 172));
  CHECK((GetWindowLongW(form.output, GWL_STYLE) & (ES_MULTILINE | WS_VSCROLL)) ==
        (ES_MULTILINE | WS_VSCROLL));
  CHECK(window_text(form.output).empty());
  RECT selector = place_in_parent(form.selectors[1]);
  CHECK(selector.left == 8 && selector.top == 46 && selector.right - selector.left == 40);
  CHECK((GetWindowLongW(form.selectors[0], GWL_STYLE) & 3) == CBS_DROPDOWNLIST);
  CHECK(SendMessageW(form.selectors[0], CB_GETCOUNT, 0, 0) == 12);
  CHECK(SendMessageW(form.selectors[1], CB_GETCOUNT, 0, 0) == 10);
  CHECK(SendMessageW(form.selectors[16], CB_GETCOUNT, 0, 0) == 3);
  // Start values: 甲子 丙寅 甲子 甲子 for both charts, sexes "-".
  const int starts[18] = {0, 0, 0, 0, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int s = 0; s < 18; ++s) CHECK(SendMessageW(form.selectors[s], CB_GETCURSEL, 0, 0) == starts[s]);
}

// The report read back must not depend on the system's ANSI code page; the
// caller names the one this run must have, so that a run under the wrong
// locale cannot pass unnoticed.
int gui_case(const std::wstring& folder, UINT code_page) {
  if (code_page) CHECK(GetACP() == code_page);
  DllLibrary library(folder_file(folder, L"pillarcore.dll"));
  if (!CHECK(library.loaded())) return win_check::finish();
  Started started(folder_file(folder, L"pairview.exe"), L"");
  if (!CHECK(started.ok)) return win_check::finish();
  Form form = form_of(started);
  if (!CHECK(form.complete)) return win_check::finish();
  HWND main = form.main;
  check_layout(form);

  // The start values give the worked example, on the first press (which
  // binds the library) and on every later one.
  double first_ms = press_and_time(form);
  CHECK(narrow(window_text(form.output)) == pairview::kStartValuesReport);
  double again_ms = press_and_time(form);
  CHECK(narrow(window_text(form.output)) == pairview::kStartValuesReport);

  const Chart third = {"壬", "辰", "甲", "辰", "丙", "午", "戊", "戌"};
  const std::vector<Comparison> comparisons = {
      {pairview::kStartChart, pairview::kOtherChart, 1, 1, true},
      {pairview::kOtherChart, pairview::kOtherChart, 2, 0, false},
      {pairview::kOtherChart, third, 1, 2, true},
      {third, pairview::kStartChart, 2, 2, false},
      {third, third, 0, 0, true},
  };
  double slowest_ms = 0;
  for (const auto& c : comparisons) {
    FixedForm expected_form;
    expected_form.charts[0] = c.one;
    expected_form.charts[1] = c.two;
    expected_form.sexes[0] = c.sex1;
    expected_form.sexes[1] = c.sex2;
    expected_form.mode_value = c.mode ? 1 : 0;
    pairview::TenGodTallies tallies;
    auto expected = pairview::compare(expected_form, library, tallies);
    CHECK(expected.outcome == pairview::CompareOutcome::Report);
    enter(form, c.one, c.two, c.sex1, c.sex2, c.mode);
    double ms = press_and_time(form);
    if (ms > slowest_ms) slowest_ms = ms;
    CHECK(narrow(window_text(form.output)) == expected.report);
  }

  // Invalid charts: the message box, and the output box keeps its text.
  std::wstring before = window_text(form.output);
  Chart bad = pairview::kStartChart;
  bad[3] = "卯";  // 丙卯 is no sexagenary pair
  struct Refusal {
    const Chart& one;
    const Chart& two;
    const char* text;
  };
  for (const Refusal& r : {Refusal{bad, pairview::kStartChart, "八字一错误！"},
                           Refusal{bad, bad, "八字一错误！"},
                           Refusal{pairview::kStartChart, bad, "八字二错误！"}}) {
    enter(form, r.one, r.two, 0, 0, true);
    press_posted(form);
    Box box = answer_message_box(started.process.dwProcessId);
    CHECK(box.shown);
    CHECK(box.title == "错误！");
    CHECK(box.text == r.text);
    CHECK(window_text(form.output) == before);
  }

  std::printf("click to report: first press %.1f ms (loads the library), second %.1f ms, "
              "slowest of %zu other pairs %.1f ms\n",
              first_ms, again_ms, comparisons.size(), slowest_ms);

  // Closing the window ends the program with code 0.
  PostMessageW(main, WM_CLOSE, 0, 0);
  CHECK(exit_code_of(started) == 0);
  return win_check::finish();
}

// Starts pairview.exe from `program_folder` with `current_folder`, checks the
// window works until the first press, and returns the message box that press
// gives and the exit code.
struct FatalEnd {
  Box box;
  DWORD exit_code = 0;
};

FatalEnd press_into_fatal_end(const std::wstring& program_folder,
                              const std::wstring& current_folder) {
  FatalEnd end;
  Started started(folder_file(program_folder, L"pairview.exe"), current_folder);
  if (!CHECK(started.ok)) return end;
  Form form = form_of(started);
  if (!CHECK(form.complete)) return end;
  // Nothing touches the library before the first press.
  CHECK(!find_top_level(started.process.dwProcessId, L"#32770", 500));
  CHECK(WaitForSingleObject(started.process.hProcess, 0) == WAIT_TIMEOUT);
  press_posted(form);
  end.box = answer_message_box(started.process.dwProcessId);
  end.exit_code = exit_code_of(started);
  return end;
}

void copy_into(const std::wstring& from, const std::wstring& folder, const wchar_t* name) {
  CHECK(CopyFileW(from.c_str(), folder_file(folder, name).c_str(), FALSE));
}

const char kMissingLibraryMessage[] = "同目录下无法找到DLL文件:\"pillarcore.dll\".请与作者联系.";

int missing_case(const std::wstring& folder) {
  std::wstring alone = fresh_folder(L"missing");
  copy_into(folder_file(folder, L"pairview.exe"), alone, L"pairview.exe");
  FatalEnd end = press_into_fatal_end(alone, L"");
  CHECK(end.box.shown);
  CHECK(end.box.title == "DLL ERROR");
  CHECK(end.box.text == kMissingLibraryMessage);
  CHECK(end.exit_code != 0);
  return win_check::finish();
}

int planted_case(const std::wstring& folder) {
  std::wstring program_folder = fresh_folder(L"planted");
  copy_into(folder_file(folder, L"pairview.exe"), program_folder, L"pairview.exe");
  std::wstring current = folder_file(program_folder, L"current");
  CreateDirectoryW(current.c_str(), nullptr);
  copy_into(folder_file(folder, L"pillarcore.dll"), current, L"pillarcore.dll");
  FatalEnd end = press_into_fatal_end(program_folder, current);
  CHECK(end.box.shown);
  CHECK(end.box.text == kMissingLibraryMessage);
  CHECK(end.exit_code != 0);
  return win_check::finish();
}

int stack_case(const std::wstring& folder, const std::wstring& fake_library) {
  std::wstring program_folder = fresh_folder(L"stack");
  copy_into(folder_file(folder, L"pairview.exe"), program_folder, L"pairview.exe");
  copy_into(fake_library, program_folder, L"pillarcore.dll");
  FatalEnd end = press_into_fatal_end(program_folder, L"");
  CHECK(end.box.shown);
  CHECK(end.box.title == "error");
  CHECK(end.box.text == "program internal error number is 6. \r\n"
                        "调用DLL命令后发现堆栈错误，通常是DLL参数数目不正确");
  CHECK(end.exit_code != 0);
  return win_check::finish();
}

// Presses once on the start values and prints the report and the window's
// place; pairview keeps running for a screenshot.
int show_case(const std::wstring& folder) {
  Started started(folder_file(folder, L"pairview.exe"), L"");
  if (!started.ok) return 1;
  Form form = form_of(started);
  if (!form.complete) return 1;
  HWND main = form.main;
  double ms = press_and_time(form);
  std::string report = encode(widen(narrow(window_text(form.output))), CP_UTF8);
  std::string lines;
  for (char c : report)
    if (c != '\r') lines += c;
  _setmode(_fileno(stdout), _O_BINARY);
  std::fwrite(lines.data(), 1, lines.size(), stdout);
  RECT outer;
  GetWindowRect(main, &outer);
  std::printf("\nclick to report: %.1f ms\nwindow: %ldx%ld+%ld+%ld\n", ms, outer.right - outer.left,
              outer.bottom - outer.top, outer.left, outer.top);
  std::fflush(stdout);
  started.keep_running = true;
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: pairview_driver gui FOLDER [CODEPAGE] | missing|planted|show FOLDER |\n"
                 "       stack FOLDER FAKE | all FOLDER FAKE [CODEPAGE]\n");
    return 2;
  }
  std::wstring which = argv[1], folder = argv[2];
  auto code_page = [&](int at) { return argc > at ? static_cast<UINT>(_wtoi(argv[at])) : 0u; };
  if (which == L"gui") return gui_case(folder, code_page(3));
  if (which == L"missing") return missing_case(folder);
  if (which == L"planted") return planted_case(folder);
  if (which == L"stack" && argc > 3) return stack_case(folder, argv[3]);
  if (which == L"show") return show_case(folder);
  if (which == L"all" && argc > 3) {
    gui_case(folder, code_page(4));
    missing_case(folder);
    planted_case(folder);
    return stack_case(folder, argv[3]);
  }
  return 2;
}
