// The binder and the binding slots, with pillarcore.dll beside this program.
#include <windows.h>

#include <cstring>

#include "binding.h"
#include "win_check.h"

using pairview::BoundExport;

int main() {
  // The slots start unbound; the first call binds, with the arguments
  // reaching the export untouched.
  CHECK(!pairview::is_bound(BoundExport::ElementOf));
  auto result = pairview::call_export(BoundExport::ElementOf,
                                      {static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>("甲"))});
  CHECK(std::strcmp(reinterpret_cast<const char*>(result), "木") == 0);
  CHECK(pairview::is_bound(BoundExport::ElementOf));
  CHECK(!pairview::is_bound(BoundExport::TenGod));

  // Binding loaded the library from this program's folder.
  HMODULE library = GetModuleHandleW(L"pillarcore.dll");
  CHECK(library != nullptr);
  FARPROC by_name = GetProcAddress(library, "取干支五行");
  CHECK(by_name != nullptr);

  // Name rules: "#N" is an ordinal, a name is cut only where its first "@"
  // is doubled.
  CHECK(pairview::resolve_export(library, "#15") == by_name);
  CHECK(pairview::resolve_export(library, "取干支五行@@4") == by_name);
  CHECK(pairview::resolve_export(library, "取干支五行@4") == nullptr);
  CHECK(pairview::resolve_export(library, "取干支五行@4@@") == nullptr);
  CHECK(pairview::resolve_export(library, "#99") == nullptr);

  // Only the program's own folder is searched: a program path that could not
  // be read (or has no folder) gives no library path at all.
  CHECK(pairview::library_beside(L"C:\\pv\\pairview.exe", "pillarcore.dll") ==
        L"C:\\pv\\pillarcore.dll");
  CHECK(!pairview::library_beside(L"", "pillarcore.dll"));
  CHECK(!pairview::library_beside(L"pairview.exe", "pillarcore.dll"));

  // A later binding of another export finds the library already there.
  void* slot = nullptr;
  CHECK(pairview::bind(pairview::kLibraryFileName, "取十神关系", &slot) ==
        reinterpret_cast<void*>(GetProcAddress(library, "取十神关系")));
  CHECK(slot != nullptr);
  return win_check::finish();
}
