#include "bound_library.h"

#include "binding.h"

namespace pairview {

namespace {

std::uint32_t argument(const std::string& text) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(text.c_str()));
}

// A text result lives in the library's result slot until the next call of
// the same export, so it is copied at once; no text reads as empty.
std::string copy_result(std::uint32_t result) {
  auto* text = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(result));
  return text ? std::string(text) : std::string();
}

}  // namespace

bool BoundLibrary::chart_is_valid(const Chart& c) {
  return call_export(BoundExport::ChartIsValid,
                     {argument(c[0]), argument(c[1]), argument(c[2]), argument(c[3]),
                      argument(c[4]), argument(c[5]), argument(c[6]), argument(c[7])}) != 0;
}

int BoundLibrary::count(const Chart& c, const std::string& character) {
  // Four stems, four branches, then the character.
  return static_cast<std::int32_t>(call_export(
      BoundExport::CountCharacter,
      {argument(c[0]), argument(c[2]), argument(c[4]), argument(c[6]), argument(c[1]),
       argument(c[3]), argument(c[5]), argument(c[7]), argument(character)}));
}

std::string BoundLibrary::element(const std::string& text) {
  return copy_result(call_export(BoundExport::ElementOf, {argument(text)}));
}

std::string BoundLibrary::ten_god(const std::string& day_stem, const std::string& text, int mode) {
  return copy_result(call_export(BoundExport::TenGod, {argument(day_stem), argument(text),
                                                       static_cast<std::uint32_t>(mode)}));
}

}  // namespace pairview
