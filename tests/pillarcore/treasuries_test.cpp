// The treasury and office branches of a stem.
#include <gtest/gtest.h>

#include <string>

#include "exports.h"
#include "malformed_texts.h"
#include "vocabulary.h"

namespace {

using namespace pillar;

std::string text_or_null(const char* text) { return text ? text : "(no text)"; }

struct Column {
  const char* name;
  const char* (*lookup)(Text);
  const char* branches[10];  // in stem order
};
const Column kColumns[] = {
    {"取财库", 取财库, {"丑", "戌", "辰", "丑", "未", "辰", "戌", "未", "丑", "戌"}},
    {"取印库", 取印库, {"未", "辰", "戌", "未", "丑", "戌", "丑", "戌", "辰", "丑"}},
    {"取官禄", 取官禄, {"酉", "申", "子", "亥", "卯", "寅", "午", "巳", "午", "巳"}},
};

TEST(Treasuries, EveryStemHasItsBranches) {
  for (const auto& column : kColumns) {
    for (int i = 0; i < 10; ++i) {
      std::string stem(vocabulary::kStems[i]);
      EXPECT_EQ(text_or_null(column.lookup(stem.c_str())), column.branches[i]) << column.name << " " << stem;
    }
  }
  EXPECT_EQ(text_or_null(取财库("甲")), "丑");
  EXPECT_EQ(text_or_null(取印库("甲")), "未");
  EXPECT_EQ(text_or_null(取官禄("甲")), "酉");
}

TEST(Treasuries, OnlyALoneStemHasABranch) {
  for (const auto& column : kColumns) {
    for (auto branch : vocabulary::kBranches)
      EXPECT_EQ(column.lookup(std::string(branch).c_str()), nullptr) << column.name << " " << branch;
    EXPECT_EQ(column.lookup("甲子"), nullptr) << column.name;
    for (const char* bad : MalformedTexts("甲"))
      EXPECT_EQ(column.lookup(bad), nullptr) << column.name << " " << MalformedTexts::describe(bad);
  }
}

}  // namespace
