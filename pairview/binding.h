// Run-time binding of the library exports pairview uses. Each export has a
// binding slot that starts at a small stub; the first call through the slot
// loads the library from the program's own folder, resolves the export,
// stores its address in the slot and continues into it with the caller's
// arguments untouched. Every call is made through a helper that checks the
// stack pointer afterwards, so a library with other argument counts stops
// the program instead of corrupting it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace pairview {

inline constexpr const char* kLibraryFileName = "pillarcore.dll";

// The bound exports, in slot order.
enum class BoundExport { ChartIsValid, CountCharacter, ElementOf, TenGod };
inline constexpr int kBoundExportCount = 4;

// The export's GBK name as the binder looks it up.
const char* export_name(BoundExport which);

// Calls the export with 32-bit arguments (stdcall) and returns EAX. Stops
// the program with the stack fault when the export removed a different
// number of argument bytes than were pushed.
std::uint32_t call_export(BoundExport which, std::initializer_list<std::uint32_t> arguments);

// Whether the slot still points at its stub.
bool is_bound(BoundExport which);

// The library binder: returns the export's address after storing it in the
// slot, or ends the program after a "DLL ERROR" message. A library found
// already loaded is used and left loaded; one the binder loads is released
// at program end.
void* bind(const char* library_file_name, const char* export_name, void** slot);

// The library's full path: the folder of the program's path and the bare
// file name. None when that path has no folder (it could not be read): the
// binder then reports a missing library, and neither the current folder
// nor PATH is ever searched.
std::optional<std::wstring> library_beside(std::wstring_view program_path,
                                           const char* library_file_name);

// Resolves an export by name; "#N" means ordinal N, and a name whose first
// "@" is directly followed by a second one is cut at that first "@".
FARPROC resolve_export(HMODULE library, const char* name);

}  // namespace pairview
