// Writes the module-definition file of pillarcore.dll from the export list:
// each export under its GBK name and ordinal, bound to the stdcall
// symbol the compiler gives it (the UTF-8 identifier with its argument bytes).
#include <cstdio>

#include "exports.h"

namespace {

const char8_t* const kSymbolNames[] = {
#define PILLAR_EXPORT(ordinal, name, bytes, result, params) u8"" #name,
#include "export_list.h"
#undef PILLAR_EXPORT
};

}  // namespace

int main() {
  std::printf("LIBRARY pillarcore.dll\nEXPORTS\n");
  for (const auto& entry : pillar::kExportList) {
    std::printf("  \"%s\"=\"%s@%d\" @%d\n", entry.name,
                reinterpret_cast<const char*>(kSymbolNames[entry.ordinal - 1]),
                entry.argument_bytes, entry.ordinal);
  }
  return 0;
}
