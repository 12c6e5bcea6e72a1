#include "sexagenary.h"

#include "frame.h"

namespace pillar::sexagenary {

using namespace vocabulary;

namespace {

// The two void branches of each decade (ten pairs from a 甲 pair on).
const std::array<Name, 6> kVoidBranchesByDecade = {"戌、亥", "申、酉", "午、未",
                                                   "辰、巳", "寅、卯", "子、丑"};

// One Nayin name for each two consecutive pairs, in pair-number order.
const std::array<Name, 30> kNayinNames = {
    "海中金", "炉中火", "大林木", "路边土", "剑锋金", "山头火", "涧下水", "城墙土",
    "白蜡金", "杨柳木", "泉中水", "屋上土", "霹雳火", "松柏木", "长流水", "沙中金",
    "山下火", "平地木", "壁上土", "金泊金", "佛灯火", "天河水", "大驿土", "钗钏金",
    "桑松木", "大溪水", "沙中土", "天上火", "石榴木", "大海水"};

// The twelve pairs outside the advancing class; every other pair advances.
struct SpiritClass {
  Name name;
  std::array<Name, 4> pairs;
};
const Name kAdvancingSpirit = "进神";
const std::array<SpiritClass, 3> kOtherSpiritClasses = {{
    {"交神", {"丙子", "辛卯", "丙午", "辛酉"}},
    {"退神", {"丁丑", "壬辰", "丁未", "壬戌"}},
    {"伏神", {"戊寅", "癸巳", "戊申", "癸亥"}},
}};

}  // namespace

Name nayin_name(Name pair) {
  int number = pair_number(pair);
  return number ? kNayinNames[(number - 1) / 2] : Name();
}

Name void_branches(Name pair) {
  int number = pair_number(pair);
  return number ? kVoidBranchesByDecade[(number - 1) / 10] : Name();
}

namespace {

Name spirit_class(Name pair) {
  if (!pair_number(pair)) return {};
  for (const auto& spirit : kOtherSpiritClasses)
    for (Name member : spirit.pairs)
      if (member == pair) return spirit.name;
  return kAdvancingSpirit;
}

// Any selector but 1: the stem of hour y on a day of stem x, which is also
// the stem of month y (寅 to 亥) in a year of stem x. Selector 1: two stems
// further on, where the 子 and 丑 months at a year's end stand.
Name month_or_hour_stem(Name stem, Name branch, Int selector) {
  int x = stem_or_branch_index(stem);
  int y = stem_or_branch_index(branch);
  int v = 2 * x + y - (selector == 1 ? 0 : 2);
  int n = cyclic_index(v, 10);
  return n >= 1 && n <= 10 ? kStems[n - 1] : Name();
}

// "【" name "】"; an empty name leaves the two brackets side by side.
HeapText in_lenticular_brackets(Name name) {
  const Name open = "【", close = "】";
  auto* text = static_cast<char*>(heap::allocate_zeroed(open.size() + name.size() + close.size() + 1));
  open.copy(text, open.size());
  name.copy(text + open.size(), name.size());
  close.copy(text + open.size() + name.size(), close.size());
  return HeapText(text);
}

}  // namespace

}  // namespace pillar::sexagenary

namespace pillar {

using namespace sexagenary;

const char* PILLAR_CALL 取空亡(Text pair) {
  return run_export<Export::取空亡>([](Name text) { return copy_or_no_text(void_branches(text)); },
                                    pair);
}

const char* PILLAR_CALL 取纳音(Text pair) {
  return run_export<Export::取纳音>(
      [](Name text) { return in_lenticular_brackets(nayin_name(text)); },
      pair);
}

const char* PILLAR_CALL 取进交退伏(Text pair) {
  return run_export<Export::取进交退伏>([](Name text) { return copy_text(spirit_class(text)); }, pair);
}

const char* PILLAR_CALL 取月时干(Text stem, Text branch, Int selector) {
  return run_export<Export::取月时干>(
      [](Name first, Name second, Int which) {
        return copy_or_no_text(month_or_hour_stem(first, second, which));
      },
      stem, branch, selector);
}

}  // namespace pillar
