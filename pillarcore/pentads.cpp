// The names of the 24 solar terms and their 72 pentads (three five-day
// periods each, counted from the term's day).
#include <array>
#include <optional>

#include "calendar.h"
#include "frame.h"

namespace pillar {
namespace {

using Name = std::string_view;

// By library number.
const std::array<Name, calendar::kTermCount> kTermNames = {
    "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至", "小暑", "大暑",
    "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒"};

// By library number: days 1-5, 6-10 and 11-15 of the term.
const std::array<std::array<Name, 3>, calendar::kTermCount> kPentads = {{
    {"东风解冻", "蜇虫始振", "鱼上冰"},
    {"桃始花", "仓庚鸣", "鹰化为鸠"},
    {"獭祭鱼", "侯雁北", "草木萌动"},
    {"玄鸟至", "雷乃发声", "始电"},
    {"桐始华", "田鼠化鴽", "虹始现"},
    {"萍始生", "鸣鸠拂羽", "戴胜降于桑"},
    {"蝼蝈鸣", "蚯蚓出", "王瓜生"},
    {"苦菜秀", "蘼草死", "麦秋至"},
    {"螳螂生", "鵙始鸣", "反舌无声"},
    {"鹿角解", "蜩始鸣", "半夏生"},
    {"温风至", "蟋蟀居壁", "鹰始挚"},
    {"腐草为萤", "土润溽暑", "大雨时行"},
    {"凉风至", "白露降", "寒蝉鸣"},
    {"鹰乃祭鸟", "天地始肃", "禾乃登"},
    {"鸿雁来", "玄鸟归", "群鸟养羞"},
    {"雷始收声", "蜇虫坏户", "水始涸"},
    {"鸿雁来宾", "雀入大水为蛤", "菊有黄华"},
    {"豺乃祭兽", "草木黄落", "蜇虫咸俯"},
    {"水始冰", "地始冻", "雉入大水为蜃"},
    {"虹藏不见", "天气上腾地气下降", "闭塞成冬"},
    {"鹖鴠不鸣", "虎始交", "荔挺出"},
    {"蚯蚓结", "麋角解", "水泉动"},
    {"雁北乡", "鹊始巢", "雉始雏"},
    {"鸡始乳", "征鸟厉疾", "水泽腹坚"},
}};

constexpr int kDaysPerPentad = 5;

ResultText pentad_of(Date date) {
  std::optional<calendar::Day> day = calendar::day_of(date);
  if (!day) return {};
  constexpr int kLastDay = kDaysPerPentad * 3;
  auto found = calendar::find_term_day(*day, -1, kLastDay - 1, [](int) { return true; });
  if (!found) return {};
  return copy_text(kPentads[found->number - 1][found->steps / kDaysPerPentad]);
}

}  // namespace

const char* PILLAR_CALL 取节气名称(Int number) {
  return run_export<Export::取节气名称>(
      [](Int n) { return copy_text(calendar::is_term_number(n) ? kTermNames[n - 1] : Name()); },
      number);
}

const char* PILLAR_CALL 取气候(Date day) {
  return run_export<Export::取气候>(pentad_of, day);
}

}  // namespace pillar
