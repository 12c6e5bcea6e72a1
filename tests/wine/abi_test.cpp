// pillarcore.dll as its callers see it: loaded with LoadLibrary, every export
// bound by its GBK name and called through raw stack slots.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "each_export.h"
#include "measured_call.h"
#include "sample_arguments.h"

namespace {

using pillar::ExportInfo;
using pillar::ResultKind;

HMODULE load_beside_this_program() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return LoadLibraryW((folder + L"pillarcore.dll").c_str());
}

class Library : public testing::Test {
 protected:
  void SetUp() override {
    module_ = load_beside_this_program();
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  FARPROC bind(const ExportInfo& info) const { return GetProcAddress(module_, info.name); }
  template <typename Function>
  Function bind_as(pillar::Export e) const {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(bind(pillar::export_info(e))));
  }

  HMODULE module_ = nullptr;
};

void push_slots(std::vector<std::uint32_t>& slots, pillar::Int value) {
  slots.push_back(static_cast<std::uint32_t>(value));
}
void push_slots(std::vector<std::uint32_t>& slots, pillar::Date value) {
  std::uint32_t halves[2];
  std::memcpy(halves, &value, sizeof value);
  slots.push_back(halves[0]);  // the low half goes first
  slots.push_back(halves[1]);
}
template <typename T>
void push_slots(std::vector<std::uint32_t>& slots, T* pointer) {
  slots.push_back(reinterpret_cast<std::uintptr_t>(pointer));
}

struct MeasuredOutcome {
  CallOutcome outcome;
  std::int32_t bytes_removed = -1;
  std::uint32_t returned = 0;  // the result register as it came back
};

template <typename R, typename... P>
MeasuredOutcome call_by_slots(FARPROC function, R(PILLAR_CALL*)(P...),
                              const std::vector<const char*>& texts) {
  MeasuredOutcome measured;
  auto arguments = sample_arguments<P...>(texts, measured.outcome);
  std::vector<std::uint32_t> slots;
  std::apply([&](auto... each) { (push_slots(slots, each), ...); }, arguments);
  std::uint32_t result = measured_call(reinterpret_cast<const void*>(function), slots.data(),
                                       static_cast<std::uint32_t>(slots.size()),
                                       &measured.bytes_removed);
  measured.returned = result;
  if constexpr (std::is_same_v<R, const char*>) {
    record_result(measured.outcome, reinterpret_cast<const char*>(result));
  } else if constexpr (!std::is_void_v<R>) {
    record_result(measured.outcome, static_cast<R>(result));
  }
  return measured;
}

template <typename R, typename... P>
int text_count(R(PILLAR_CALL*)(P...)) {
  return text_parameter_count<P...>();
}

const char* const kMeaningfulTexts[] = {"甲", "子", "金", "甲子", "丙", "午", "木", "庚午"};

std::vector<const char*> meaningful_texts(int count, int shift) {
  std::vector<const char*> texts;
  for (int i = 0; i < count; ++i) texts.push_back(kMeaningfulTexts[(i + shift) % 8]);
  return texts;
}

TEST_F(Library, ExportDirectoryHoldsTheBuiltExportsByNameInByteOrder) {
  auto* base = reinterpret_cast<const BYTE*>(module_);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
  const auto& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  auto* names = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
  auto* name_ordinals = reinterpret_cast<const WORD*>(base + directory->AddressOfNameOrdinals);
  auto* functions = reinterpret_cast<const DWORD*>(base + directory->AddressOfFunctions);

  const auto& listed = pillar::kExportList;
  EXPECT_STREQ(reinterpret_cast<const char*>(base + directory->Name), "pillarcore.dll");
  ASSERT_EQ(directory->NumberOfNames, listed.size());
  for (std::size_t i = 0; i < listed.size(); ++i) {
    EXPECT_STREQ(reinterpret_cast<const char*>(base + names[i]), listed[i].name);
    EXPECT_EQ(directory->Base + name_ordinals[i], static_cast<DWORD>(listed[i].ordinal));
  }
  // Nothing is exported by ordinal only.
  DWORD addresses = 0;
  for (DWORD i = 0; i < directory->NumberOfFunctions; ++i)
    if (functions[i]) ++addresses;
  EXPECT_EQ(addresses, listed.size());
}

TEST_F(Library, BindsEveryExportByItsGbkName) {
  for_each_export_type([&](const ExportInfo& info, auto) {
    EXPECT_NE(bind(info), nullptr) << "ordinal " << info.ordinal;
  });
}

TEST_F(Library, EveryExportRemovesItsOwnArgumentBytes) {
  int called = 0;
  for_each_export_type([&](const ExportInfo& info, auto signature) {
    for (int shift : {0, 3}) {
      auto measured = call_by_slots(bind(info), signature, meaningful_texts(text_count(signature), shift));
      EXPECT_EQ(measured.bytes_removed, info.argument_bytes) << "ordinal " << info.ordinal;
    }
    ++called;
  });
  EXPECT_GT(called, 0);
}

TEST_F(Library, NullTextArgumentBehavesLikeEmptyText) {
  for_each_export_type([&](const ExportInfo& info, auto signature) {
    int count = text_count(signature);
    for (int position = 0; position < count; ++position) {
      auto texts = meaningful_texts(count, position);
      texts[position] = nullptr;
      auto with_null = call_by_slots(bind(info), signature, texts);
      texts[position] = "";
      auto with_empty = call_by_slots(bind(info), signature, texts);
      EXPECT_EQ(with_null.outcome, with_empty.outcome) << "ordinal " << info.ordinal;
    }
  });
}

using TextLookup = const char*(PILLAR_CALL*)(const char*);

TEST_F(Library, NoTextIsANullPointerNotAnEmptyText) {
  auto element = bind_as<TextLookup>(pillar::Export::取干支五行);
  auto animal = bind_as<TextLookup>(pillar::Export::取年支属相);
  ASSERT_TRUE(element && animal);
  EXPECT_EQ(element("金"), nullptr);
  EXPECT_EQ(animal("甲"), nullptr);
  EXPECT_EQ(animal(""), nullptr);
  EXPECT_EQ(animal(nullptr), nullptr);
}

TEST_F(Library, ASecondCallReplacesOnlyItsOwnSlot) {
  auto element = bind_as<TextLookup>(pillar::Export::取干支五行);
  auto animal = bind_as<TextLookup>(pillar::Export::取年支属相);
  ASSERT_TRUE(element && animal);
  const char* first = element("子");
  ASSERT_TRUE(first);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, first));
  const char* rat = animal("子");
  const char* second = element("午");
  EXPECT_STREQ(second, "火");
  EXPECT_STREQ(rat, "鼠");
  // The first text went back to the heap when the slot took the second,
  // which the heap may have given the same block.
  if (second != first) {
    EXPECT_FALSE(HeapValidate(GetProcessHeap(), 0, first));
  }
  // A text too long for the old block certainly gets a new one, so the old
  // one must be gone.
  using Password = const char*(PILLAR_CALL*)(pillar::Int, pillar::Int);
  auto password = bind_as<Password>(pillar::Export::取得随机密码);
  ASSERT_TRUE(password);
  const char* short_text = password(8, 1);
  ASSERT_TRUE(short_text && HeapValidate(GetProcessHeap(), 0, short_text));
  const char* long_text = password(4096, 1);
  ASSERT_TRUE(long_text);
  ASSERT_NE(long_text, short_text);
  EXPECT_FALSE(HeapValidate(GetProcessHeap(), 0, short_text));
}

// Every export reads its texts where they lie and nowhere else: each text
// ends with its terminator on the last byte of a read-only page whose next
// page cannot be touched at all, so reading past a terminator or writing to
// a caller's text stops the test.
TEST_F(Library, ReadsTextsEndingAtAPageEndAndWritesNone) {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  const DWORD page = system.dwPageSize;
  auto* pages = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  DWORD old_protection;
  ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &old_protection));
  std::vector<std::string> texts(std::begin(kMeaningfulTexts), std::end(kMeaningfulTexts));
  texts.push_back("");
  texts.push_back("甲子甲子");  // longer than four bytes
  for (const std::string& text : texts) {
    char* placed = pages + page - (text.size() + 1);
    ASSERT_TRUE(VirtualProtect(pages, page, PAGE_READWRITE, &old_protection));
    std::memcpy(placed, text.c_str(), text.size() + 1);
    ASSERT_TRUE(VirtualProtect(pages, page, PAGE_READONLY, &old_protection));
    for_each_export_type([&](const ExportInfo& info, auto signature) {
      if (text_count(signature) == 0) return;  // the password is random besides
      auto at_page_end = call_by_slots(bind(info), signature,
                                       std::vector<const char*>(text_count(signature), placed));
      auto elsewhere = call_by_slots(bind(info), signature,
                                     std::vector<const char*>(text_count(signature), text.c_str()));
      EXPECT_EQ(at_page_end.outcome, elsewhere.outcome) << "ordinal " << info.ordinal;
    });
  }
  VirtualFree(pages, 0, MEM_RELEASE);
}

// A caller may pass back the text an export just returned, in every text
// place: the export reads it before its slot lets it go.
TEST_F(Library, TakesItsOwnPreviousResultAsArgument) {
  int passed_back = 0;
  for_each_export_type([&](const ExportInfo& info, auto signature) {
    if (info.result != ResultKind::Slot || text_count(signature) == 0) return;
    for (int shift = 0; shift < 8; ++shift) {
      auto texts = meaningful_texts(text_count(signature), shift);
      auto first = call_by_slots(bind(info), signature, texts);
      if (!first.outcome.text) continue;
      std::string copy = *first.outcome.text;
      auto expected = call_by_slots(bind(info), signature,
                                    std::vector<const char*>(texts.size(), copy.c_str()));
      auto held = reinterpret_cast<const char*>(call_by_slots(bind(info), signature, texts).returned);
      auto again = call_by_slots(bind(info), signature, std::vector<const char*>(texts.size(), held));
      EXPECT_EQ(again.outcome, expected.outcome) << "ordinal " << info.ordinal;
      ++passed_back;
    }
  });
  EXPECT_GT(passed_back, 0);
}

TEST_F(Library, APasswordIsAsLongAsAskedOrNoTextWhenItCannotBeHad) {
  using Password = const char*(PILLAR_CALL*)(pillar::Int, pillar::Int);
  auto password = bind_as<Password>(pillar::Export::取得随机密码);
  ASSERT_TRUE(password);
  const char* digits = password(100000, 1);
  ASSERT_TRUE(digits);
  EXPECT_EQ(std::strlen(digits), 100000u);
  // Two gigabytes in one block do not fit a 32-bit process: no text, and the
  // process goes on.
  EXPECT_EQ(password(0x7fffffff, 1), nullptr);
  const char* after = password(8, 3);
  ASSERT_TRUE(after);
  EXPECT_EQ(std::strlen(after), 8u);
}

// Texts from which every text export makes a text, tried in turn.
const char* const kTextMakers[] = {"甲", "子", "正官", "甲子", "金", "庚午"};

TEST(Unloading, ReleasesEverySlotText) {
  HMODULE module = load_beside_this_program();
  ASSERT_NE(module, nullptr);
  std::vector<std::pair<int, const char*>> held;
  for_each_export_type([&](const ExportInfo& info, auto signature) {
    if (info.result != ResultKind::Slot) return;
    FARPROC function = GetProcAddress(module, info.name);
    ASSERT_NE(function, nullptr) << "ordinal " << info.ordinal;
    // The same text in every place, then the mixed texts of the other tests
    // (a stem before a branch, for the two-text lookups).
    std::vector<std::vector<const char*>> candidates;
    for (const char* maker : kTextMakers)
      candidates.emplace_back(text_count(signature), maker);
    for (int shift = 0; shift < 8; ++shift)
      candidates.push_back(meaningful_texts(text_count(signature), shift));
    const char* text = nullptr;
    for (const auto& texts : candidates) {
      auto measured = call_by_slots(function, signature, texts);
      // The outcome holds a copy; the slot's own text is what the call returned.
      text = measured.outcome.text ? reinterpret_cast<const char*>(measured.returned) : nullptr;
      if (text) break;
    }
    EXPECT_NE(text, nullptr) << "ordinal " << info.ordinal << " made no text";
    if (!text) return;
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, text)) << "ordinal " << info.ordinal;
    held.emplace_back(info.ordinal, text);
  });
  ASSERT_TRUE(FreeLibrary(module));
  for (auto [ordinal, text] : held)
    EXPECT_FALSE(HeapValidate(GetProcessHeap(), 0, text)) << "ordinal " << ordinal << " kept its text";
}

}  // namespace
