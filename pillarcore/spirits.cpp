// The year spirit (太岁) and the direction spirits: the general of a
// sexagenary year, the direction of a branch, the directions of the eight
// spirits of a pillar, and the year spirit counted from a reference branch.
#include <array>
#include <cstdint>

#include "frame.h"
#include "vocabulary.h"

namespace pillar {
namespace {

using namespace vocabulary;

// In sixty-pair order, 甲子 first.
const std::array<Name, 60> kYearGenerals = {
    "金辨", "陈才", "耿章", "沈兴", "赵达", "郭灿", "王济", "李素", "刘旺", "康志",
    "施广", "任保", "郭嘉", "汪文", "鲁先", "龙仲", "董德", "郑但", "陆明", "魏仁",
    "方杰", "蒋崇", "白敏", "封济", "邹铛", "傅佑", "邬桓", "范宁", "彭泰", "徐单",
    "章词", "杨仙", "管仲", "唐杰", "姜武", "谢太", "卢秘", "杨信", "贺谔", "皮时",
    "李诚", "吴逐", "文哲", "缪丙", "徐浩", "程宝", "倪秘", "叶坚", "丘德", "朱得",
    "张朝", "万清", "辛亚", "杨彦", "黎卿", "傅党", "毛梓", "石政", "洪充", "虞程"};

// In branch order, 子 first.
const std::array<Name, 12> kBranchDirections = {"正北", "东北", "东北", "正东", "东南", "东南",
                                                "正南", "西南", "西南", "正西", "西北", "西北"};

// A direction code names one side per digit (1 east, 2 south, 3 west,
// 4 north, 5 due): 12 is 东南, 52 正南. Each spirit's table is indexed by the
// pillar's sixty-pair number wrapped to the table's cycle.
struct DirectionTable {
  int cycle;
  std::array<std::int32_t, 24> codes;
};
const std::array<DirectionTable, 8> kSpiritDirections = {{
    {5, {14, 34, 32, 52, 12}},
    {10, {32, 32, 53, 34, 14, 54, 14, 14, 51, 12}},
    {10, {14, 54, 34, 53, 32, 32, 32, 52, 12, 51}},
    {10, {12, 12, 51, 51, 54, 52, 32, 32, 34, 53}},
    {10, {14, 14, 53, 53, 54, 54, 51, 51, 52, 52}},
    {10, {12, 14, 54, 34, 32, 12, 14, 54, 34, 32}},
    {24, {14, 14, 14, 53, 53, 53, 12, 12, 12, 52, 52, 52,
          54, 54, 54, 34, 34, 34, 51, 51, 51, 32, 32, 32}},
    {24, {53, 53, 53, 12, 12, 12, 52, 52, 52, 54, 54, 54,
          34, 34, 34, 51, 51, 51, 32, 32, 32, 14, 14, 14}},
}};

// By distance from the reference branch, 0-11.
const std::array<Name, 12> kYearSpirits = {"太岁", "青龙", "丧门", "六合", "官符", "小耗",
                                           "大耗", "朱雀", "白虎", "贵神", "吊客", "病符"};

// The branch each stem lodges in, in stem order.
const std::array<Name, 10> kLodgingBranches = {"寅", "卯", "巳", "午", "戌",
                                               "丑", "申", "酉", "亥", "子"};

// The last whole character of a GBK text. The text is walked from its start,
// a lead byte with the byte after it, because its last two bytes need not be
// one character: "甲" (BC D7) followed by D3 ends in the bytes of 子. A
// trailing lone lead byte comes back alone, and is no branch.
Name last_character(Name text) {
  std::size_t start = 0;
  for (std::size_t at = 0; at < text.size();) {
    start = at;
    at += static_cast<unsigned char>(text[at]) >= 0x81 ? 2 : 1;
  }
  return Name(text.data() + start, text.size() - start);
}

ResultText branch_direction(Name text) {
  int branch = branch_index(last_character(text));
  return branch ? copy_text(kBranchDirections[branch - 1]) : ResultText();
}

// A text that is no pillar counts as number 0, which wraps to the last entry
// of every table. Outputs the caller passes as null are skipped.
void spirit_directions(Name pillar, const std::array<Out32, 8>& outputs) {
  int number = pair_number(pillar);
  for (std::size_t spirit = 0; spirit < outputs.size(); ++spirit) {
    const DirectionTable& table = kSpiritDirections[spirit];
    if (outputs[spirit]) *outputs[spirit] = table.codes[cyclic_index(number, table.cycle) - 1];
  }
}

// The spirit of the subject's branch (a stem counts as its lodging branch),
// counted forward from the reference. An unrecognised subject gives "".
ResultText year_spirit(Name reference, Name subject) {
  if (int stem = stem_index(subject)) subject = kLodgingBranches[stem - 1];
  int from = stem_or_branch_index(reference);
  int to = stem_or_branch_index(subject);
  if (!to) return copy_text("");
  int distance = to >= from ? to - from : to + 12 - from;
  if (distance >= static_cast<int>(kYearSpirits.size())) return {};
  return copy_text(kYearSpirits[distance]);
}

}  // namespace

const char* PILLAR_CALL 取甲子太岁(Text pillar) {
  return run_export<Export::取甲子太岁>(
      [](Name text) {
        int number = pair_number(text);
        return number ? copy_text(kYearGenerals[number - 1]) : ResultText();
      },
      pillar);
}

const char* PILLAR_CALL 取太岁方向(Text branch_or_pillar) {
  return run_export<Export::取太岁方向>(branch_direction, branch_or_pillar);
}

void PILLAR_CALL 取八神方向(Text pillar, Out32 spirit1, Out32 spirit2, Out32 spirit3, Out32 spirit4,
                            Out32 spirit5, Out32 spirit6, Out32 spirit7, Out32 spirit8) {
  run_export<Export::取八神方向>(
      [](Name text, Out32 o1, Out32 o2, Out32 o3, Out32 o4, Out32 o5, Out32 o6, Out32 o7, Out32 o8) {
        spirit_directions(text, {o1, o2, o3, o4, o5, o6, o7, o8});
      },
      pillar, spirit1, spirit2, spirit3, spirit4, spirit5, spirit6, spirit7, spirit8);
}

const char* PILLAR_CALL 串宫押运(Text reference_branch, Text subject) {
  return run_export<Export::串宫押运>(year_spirit, reference_branch, subject);
}

}  // namespace pillar
