// The frame as every export shares it, checked over all exports.
#include <gtest/gtest.h>

#include <string>

#include "each_export.h"
#include "frame.h"
#include "sample_arguments.h"

namespace {

using pillar::ResultKind;

template <typename R, typename... P>
CallOutcome call_export(R (*function)(P...), const std::vector<const char*>& texts) {
  CallOutcome outcome;
  auto arguments = sample_arguments<P...>(texts, outcome);
  if constexpr (std::is_void_v<R>) {
    std::apply(function, arguments);
  } else {
    record_result(outcome, std::apply(function, arguments));
  }
  return outcome;
}

template <typename R, typename... P>
constexpr int text_count(R (*)(P...)) {
  return text_parameter_count<P...>();
}

// Texts that some export recognises in each position.
const std::vector<std::string> kMeaningfulTexts = {"甲", "子", "金", "甲子", "丙", "午", "木", "庚午"};

std::vector<const char*> meaningful_texts(int count, int shift) {
  std::vector<const char*> texts;
  for (int i = 0; i < count; ++i)
    texts.push_back(kMeaningfulTexts[(i + shift) % kMeaningfulTexts.size()].c_str());
  return texts;
}

TEST(Frame, NullTextArgumentBehavesLikeEmptyText) {
  for_each_export([](const pillar::ExportInfo& info, auto function) {
    int count = text_count(function);
    for (int shift = 0; shift < 8; ++shift) {
      for (int position = 0; position < count; ++position) {
        auto texts = meaningful_texts(count, shift);
        texts[position] = nullptr;
        CallOutcome with_null = call_export(function, texts);
        texts[position] = "";
        CallOutcome with_empty = call_export(function, texts);
        EXPECT_EQ(with_null, with_empty) << "ordinal " << info.ordinal << ", text " << position;
      }
    }
  });
}

TEST(Frame, CallerTextsAreNeitherWrittenNorKept) {
  for_each_export([](const pillar::ExportInfo& info, auto function) {
    std::vector<std::string> originals(text_count(function), "甲子");
    std::vector<const char*> texts;
    for (auto& text : originals) texts.push_back(text.c_str());
    CallOutcome outcome = call_export(function, texts);
    for (auto& text : originals) EXPECT_EQ(text, "甲子") << "ordinal " << info.ordinal;
    if (outcome.text && !texts.empty()) {
      EXPECT_NE(outcome.text->data(), texts[0]);
    }
  });
}

// The caller passes back the text the export just gave it, in every text
// place: the frame reads it before the slot lets it go (the sanitised build
// sees a read after).
template <typename R, typename... P>
void expect_previous_result_is_read_first(const pillar::ExportInfo& info, R (*function)(P...)) {
  if constexpr (std::is_same_v<R, const char*> && text_parameter_count<P...>() > 0) {
    for (int shift = 0; shift < 8; ++shift) {
      auto texts = meaningful_texts(text_parameter_count<P...>(), shift);
      CallOutcome unused;
      const char* first = std::apply(function, sample_arguments<P...>(texts, unused));
      if (!first) continue;
      std::string copy = first;
      CallOutcome expected = call_export(function, std::vector<const char*>(texts.size(), copy.c_str()));
      const char* held = std::apply(function, sample_arguments<P...>(texts, unused));
      EXPECT_EQ(call_export(function, std::vector<const char*>(texts.size(), held)), expected)
          << "ordinal " << info.ordinal;
    }
  }
}

TEST(Frame, ArgumentMayBeThePreviousResultOfTheSameExport) {
  for_each_export([](const pillar::ExportInfo& info, auto function) {
    expect_previous_result_is_read_first(info, function);
  });
}

TEST(Frame, IntegerExportsNeverTouchAResultSlot) {
  const char* element = pillar::取干支五行("甲");
  for_each_export([&](const pillar::ExportInfo& info, auto function) {
    if (info.result == ResultKind::Slot) return;
    call_export(function, meaningful_texts(text_count(function), 0));
    EXPECT_STREQ(element, "木") << "ordinal " << info.ordinal;
  });
}

TEST(Frame, SecondCallReplacesOnlyItsOwnSlot) {
  const char* animal = pillar::取年支属相("子");
  const char* element = pillar::取干支五行("子");
  const char* replaced = pillar::取干支五行("午");
  EXPECT_STREQ(animal, "鼠");
  EXPECT_STREQ(replaced, "火");
  EXPECT_NE(element, nullptr);
}

TEST(Frame, NoTextIsANullPointerAndStillReleasesThePreviousText) {
  pillar::release_result_slots();
  long before = pillar::heap::live_blocks();
  ASSERT_NE(pillar::取年支属相("子"), nullptr);
  EXPECT_EQ(pillar::heap::live_blocks(), before + 1);
  EXPECT_EQ(pillar::取年支属相("甲"), nullptr);
  EXPECT_EQ(pillar::heap::live_blocks(), before);
}

TEST(Frame, SlotsHoldOneTextEachAndNothingElseStays) {
  pillar::release_result_slots();
  long before = pillar::heap::live_blocks();
  for (int round = 0; round < 3; ++round) {
    for_each_export([](const pillar::ExportInfo&, auto function) {
      call_export(function, meaningful_texts(text_count(function), 1));
    });
  }
  long held = 0;
  for_each_export([&](const pillar::ExportInfo& info, auto function) {
    if (info.result != ResultKind::Slot) return;
    if (call_export(function, meaningful_texts(text_count(function), 1)).text) ++held;
  });
  EXPECT_EQ(pillar::heap::live_blocks(), before + held);
  pillar::release_result_slots();
  EXPECT_EQ(pillar::heap::live_blocks(), before);
}

TEST(FrameDeathTest, OutOfMemoryShowsTheMessageAndEndsWithFailure) {
  EXPECT_EXIT(
      {
        pillar::取干支五行("甲");
        pillar::heap::fail_allocation_after(0);
        pillar::取年支属相("子");
      },
      testing::ExitedWithCode(pillar::kOutOfMemoryExitCode), "内存不足");
}

TEST(ExportList, FactsAreConsistent) {
  int slots = 0;
  for (const auto& entry : pillar::kExportList) {
    EXPECT_EQ(entry.slot, entry.result == ResultKind::Slot ? slots : -1);
    if (entry.result == ResultKind::Slot) ++slots;
    EXPECT_EQ(entry.argument_bytes % 4, 0);
  }
  EXPECT_EQ(slots, pillar::kResultSlotCount);
}

TEST(ExportList, EveryExportWithItsOrdinalNameBytesAndResult) {
  constexpr ResultKind I = ResultKind::Integer, S = ResultKind::Slot, N = ResultKind::None;
  const struct {
    int ordinal;
    const char* name;
    int argument_bytes;
    ResultKind result;
  } kExports[] = {
      {1, "八字是否正确", 32, I}, {2, "串宫押运", 8, S}, {3, "取八神方向", 36, N},
      {4, "取八字等级", 4, S}, {5, "取财库", 4, S}, {6, "取藏干十神数量", 52, I},
      {7, "取藏干五行数量", 52, I}, {8, "取得随机密码", 8, S}, {9, "取地支藏干", 4, S},
      {10, "取地支十神数量", 20, I}, {11, "取地支五行数量", 20, I}, {12, "取干冲", 4, S},
      {13, "取干合", 4, S}, {14, "取干支数量", 36, I}, {15, "取干支五行", 4, S},
      {16, "取干支序数", 4, I}, {17, "取官禄", 4, S}, {18, "取甲子太岁", 4, S},
      {19, "取甲子序号", 4, I}, {20, "取节气名称", 4, S}, {21, "取进交退伏", 4, S},
      {22, "取空亡", 4, S}, {23, "取纳音", 4, S}, {24, "取年支属相", 4, S},
      {25, "取起运年龄", 36, I}, {26, "取气候", 8, S}, {27, "取生克数值", 8, I},
      {28, "取十神关系", 12, S}, {29, "取司令", 8, S}, {30, "取太岁方向", 4, S},
      {31, "取天干十神数量", 16, I}, {32, "取天干五行数量", 20, I}, {33, "取旺衰对应地支", 8, S},
      {34, "取旺衰状态", 12, S}, {35, "取旺相五行", 8, S}, {36, "取五行序号", 4, I},
      {37, "取星期", 8, S}, {38, "取星座", 8, S}, {39, "取印库", 4, S}, {40, "取月时干", 12, S},
      {41, "取支冲", 4, S}, {42, "取支害", 4, S}, {43, "取支合", 4, S}, {44, "取支破", 4, S},
      {45, "日主旺相", 4, S}, {46, "十神简写", 4, S}, {47, "是否地支相冲", 8, I},
      {48, "是否地支相害", 8, I}, {49, "是否地支相合", 8, I}, {50, "是否地支相破", 8, I},
      {51, "是否地支相刑", 8, I}, {52, "是否天干相冲", 8, I}, {53, "是否天干相合", 8, I},
  };
  ASSERT_EQ(std::size(kExports), pillar::kExportList.size());
  for (std::size_t i = 0; i < std::size(kExports); ++i) {
    const auto& listed = pillar::kExportList[i];
    EXPECT_EQ(listed.ordinal, kExports[i].ordinal);
    EXPECT_STREQ(listed.name, kExports[i].name) << kExports[i].ordinal;
    EXPECT_EQ(listed.argument_bytes, kExports[i].argument_bytes) << kExports[i].ordinal;
    EXPECT_EQ(listed.result, kExports[i].result) << kExports[i].ordinal;
  }
}

}  // namespace
