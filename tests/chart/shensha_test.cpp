// 神煞: every table read back row by row against a transcription made from
// the sources (三命通会's rhymes and the peers' tables as the project notes
// quote them), then the behaviour that can go wrong: the anchor's own
// pillar, sex, variants, luck pillars, seasons, an unknown hour.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "shensha.h"

namespace {

using namespace pillar::chart;
using namespace pillar::chart::shensha;

const std::string kStemChars = "甲乙丙丁戊己庚辛壬癸";
const std::string kBranchChars = "子丑寅卯辰巳午未申酉戌亥";
const std::string kElementChars = "金水木火土";

std::vector<std::string> characters(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i + 3 <= text.size(); i += 3) out.push_back(text.substr(i, 3));
  return out;
}
int stem(const std::string& c) { return static_cast<int>(kStemChars.find(c) / 3); }
int branch(const std::string& c) { return static_cast<int>(kBranchChars.find(c) / 3); }
int pair_of(const std::string& two) {
  int s = stem(two.substr(0, 3)), b = branch(two.substr(3, 3));
  for (int n = 0; n < 60; ++n)
    if (n % 10 == s && n % 12 == b) return n;
  return -1;
}
int pair_of(const char* two) { return pair_of(std::string(two)); }

// The mask a transcribed target list stands for.
std::uint64_t mask_of(const std::string& targets, bool pillars) {
  std::uint64_t mask = 0;
  if (pillars) {
    for (std::size_t i = 0; i + 6 <= targets.size(); i += 6) mask |= 1ull << pair_of(targets.substr(i, 6));
    return mask;
  }
  for (const std::string& c : characters(targets)) {
    if (kStemChars.find(c) != std::string::npos) mask |= 1ull << stem(c);
    else mask |= 1ull << (10 + branch(c));
  }
  return mask;
}

int key_of(const std::string& c) {
  if (kStemChars.find(c) != std::string::npos) return stem(c);
  if (kBranchChars.find(c) != std::string::npos) return branch(c);
  return static_cast<int>(kElementChars.find(c) / 3);
}

struct Transcribed {
  const char* name;
  // "keys targets" rows; keys first, a blank, then the targets. Anchor-less
  // rules have one row of targets alone. Rows after "|" are 阴男阳女's.
  std::vector<std::string> rows;
};

const std::vector<Transcribed> kTranscribed = {
    // 甲戊庚牛羊，乙己鼠猴乡，丙丁猪鸡位，壬癸兔蛇藏，六辛逢马虎
    {"天乙贵人", {"甲戊庚 丑未", "乙己 子申", "丙丁 亥酉", "壬癸 卯巳", "辛 午寅"}},
    // 甲乙生人子午中，丙丁鸡兔定亨通，戊己两干临四季，庚辛寅亥禄丰隆，壬癸巳申偏喜美
    {"太极贵人", {"甲乙 子午", "丙丁 酉卯", "戊己 辰戌丑未", "庚辛 寅亥", "壬癸 巳申"}},
    // 甲乙巳午报君知，丙戊申宫丁己鸡，庚猪辛鼠壬逢虎，癸人见卯入云梯
    {"文昌贵人", {"甲 巳", "乙 午", "丙 申", "戊 申", "丁 酉", "己 酉", "庚 亥", "辛 子", "壬 寅", "癸 卯"}},
    {"国印贵人", {"甲 戌", "乙 亥", "丙 丑", "丁 寅", "戊 丑", "己 寅", "庚 辰", "辛 巳", "壬 未", "癸 申"}},
    {"福星贵人", {"甲 寅子", "乙 卯丑", "丙 寅子", "丁 亥", "戊 申", "己 未", "庚 午", "辛 巳", "壬 辰", "癸 卯丑"}},
    // 食神之禄
    {"天厨贵人", {"甲 巳", "乙 午", "丙 巳", "丁 午", "戊 申", "己 酉", "庚 亥", "辛 子", "壬 寅", "癸 卯"}},
    {"天官贵人", {"甲 未", "乙 辰", "丙 巳", "丁 酉", "戊 戌", "己 卯", "庚 丑", "辛 申", "壬 寅", "癸 午"}},
    // 甲龙乙蛇丙戊羊，丁己猴歌庚犬方，辛猪壬牛癸逢虎
    {"金舆", {"甲 辰", "乙 巳", "丙 未", "戊 未", "丁 申", "己 申", "庚 戌", "辛 亥", "壬 丑", "癸 寅"}},
    // the element's 长生: 木亥 火寅 土寅 金巳 水申
    {"长生学堂", {"甲乙 亥", "丙丁 寅", "戊己 寅", "庚辛 巳", "壬癸 申"}},
    // 甲禄在寅，乙禄在卯，丙戊禄在巳，丁己禄在午，庚禄在申，辛禄在酉，壬禄在亥，癸禄在子
    {"禄神", {"甲 寅", "乙 卯", "丙戊 巳", "丁己 午", "庚 申", "辛 酉", "壬 亥", "癸 子"}},
    {"临官词馆", {"甲 寅", "乙 卯", "丙戊 巳", "丁己 午", "庚 申", "辛 酉", "壬 亥", "癸 子"}},
    {"羊刃", {"甲 卯", "丙 午", "戊 午", "庚 酉", "壬 子", "乙 寅", "丁 巳", "己 巳", "辛 申", "癸 亥"}},
    {"飞刃", {"甲 酉", "乙 申", "丙 子", "丁 亥", "戊 子", "己 亥", "庚 卯", "辛 寅", "壬 午", "癸 巳"}},
    {"红艳", {"甲 午", "乙 午", "丙 寅", "丁 未", "戊 辰", "己 辰", "庚 戌", "辛 酉", "壬 子", "癸 申"}},
    {"流霞", {"甲 酉", "乙 戌", "丙 未", "丁 申", "戊 巳", "己 午", "庚 辰", "辛 卯", "壬 亥", "癸 寅"}},
    {"日干学堂",
     {"甲 己亥", "乙 壬午", "丙 丙寅", "丁 丁酉", "戊 戊寅", "己 己酉", "庚 辛巳", "辛 甲子", "壬 甲申", "癸 乙卯"}},
    {"日干词馆",
     {"甲 庚寅", "乙 辛卯", "丙 乙巳", "丁 戊午", "戊 丁巳", "己 庚午", "庚 壬申", "辛 癸酉", "壬 癸亥", "癸 壬戌"}},
    // 金命见巳，木命见亥，水土命见申，火命见寅 (学堂); 词馆 at the 临官
    {"纳音学堂", {"金 巳", "木 亥", "水 申", "土 申", "火 寅"}},
    {"纳音词馆", {"金 申", "木 寅", "水 亥", "土 亥", "火 巳"}},
    // 火命逢戌亥为天罗，水土命逢辰巳为地网
    {"纳音天罗", {"火 戌亥"}},
    {"纳音地网", {"水 辰巳", "土 辰巳"}},
    // 正丁二坤宫，三壬四辛同，五乾六甲上，七癸八艮逢，九丙十居乙，子巽丑庚中
    {"天德贵人",
     {"寅 丁", "卯 申", "辰 壬", "巳 辛", "午 亥", "未 甲", "申 癸", "酉 寅", "戌 丙", "亥 乙", "子 巳", "丑 庚"}},
    {"天德合",
     {"寅 壬", "卯 巳", "辰 丁", "巳 丙", "午 寅", "未 己", "申 戊", "酉 亥", "戌 辛", "亥 庚", "子 申", "丑 乙"}},
    // 寅午戌月在丙，申子辰月在壬，亥卯未月在甲，巳酉丑月在庚
    {"月德贵人", {"寅午戌 丙", "申子辰 壬", "亥卯未 甲", "巳酉丑 庚"}},
    {"月德合", {"寅午戌 辛", "申子辰 丁", "亥卯未 己", "巳酉丑 乙"}},
    // 德 and 秀 together: 寅午戌 丙丁 戊癸; 申子辰 壬癸戊己 丙辛甲己; 巳酉丑 庚辛 乙庚; 亥卯未 甲乙 丁壬
    {"德秀贵人", {"寅午戌 丙丁戊癸", "申子辰 壬癸戊己丙辛甲", "巳酉丑 庚辛乙", "亥卯未 甲乙丁壬"}},
    {"天医",
     {"寅 丑", "卯 寅", "辰 卯", "巳 辰", "午 巳", "未 午", "申 未", "酉 申", "戌 酉", "亥 戌", "子 亥", "丑 子"}},
    {"血刃",
     {"寅 丑", "卯 未", "辰 寅", "巳 申", "午 卯", "未 酉", "申 辰", "酉 戌", "戌 巳", "亥 亥", "子 午", "丑 子"}},
    // 春戊寅，夏甲午，秋戊申，冬甲子
    {"天赦", {"寅卯辰 戊寅", "巳午未 甲午", "申酉戌 戊申", "亥子丑 甲子"}},
    {"四废", {"寅卯辰 庚申辛酉", "巳午未 壬子癸亥", "申酉戌 甲寅乙卯", "亥子丑 丙午丁巳"}},
    {"天转", {"寅卯辰 乙卯", "巳午未 丙午", "申酉戌 辛酉", "亥子丑 壬子"}},
    {"地转", {"寅卯辰 辛卯", "巳午未 戊午", "申酉戌 癸酉", "亥子丑 丙子"}},
    // 驿马: 申子辰马在寅 …; 咸池 (桃花): 申子辰在酉 …
    {"驿马", {"申子辰 寅", "寅午戌 申", "巳酉丑 亥", "亥卯未 巳"}},
    {"桃花", {"申子辰 酉", "寅午戌 卯", "巳酉丑 午", "亥卯未 子"}},
    {"华盖", {"申子辰 辰", "寅午戌 戌", "巳酉丑 丑", "亥卯未 未"}},
    {"将星", {"申子辰 子", "寅午戌 午", "巳酉丑 酉", "亥卯未 卯"}},
    {"劫煞", {"申子辰 巳", "寅午戌 亥", "巳酉丑 寅", "亥卯未 申"}},
    {"亡神", {"申子辰 亥", "寅午戌 巳", "巳酉丑 申", "亥卯未 寅"}},
    {"灾煞", {"申子辰 午", "寅午戌 子", "巳酉丑 卯", "亥卯未 酉"}},
    {"戌亥天罗", {"戌 亥", "亥 戌"}},
    {"辰巳地网", {"辰 巳", "巳 辰"}},
    {"隔角煞",
     {"子 寅", "丑 卯", "寅 辰", "卯 巳", "辰 午", "巳 未", "午 申", "未 酉", "申 戌", "酉 亥", "戌 子", "亥 丑"}},
    {"红鸾",
     {"子 卯", "丑 寅", "寅 丑", "卯 子", "辰 亥", "巳 戌", "午 酉", "未 申", "申 未", "酉 午", "戌 巳", "亥 辰"}},
    {"天喜",
     {"子 酉", "丑 申", "寅 未", "卯 午", "辰 巳", "巳 辰", "午 卯", "未 寅", "申 丑", "酉 子", "戌 亥", "亥 戌"}},
    // 亥子丑人，见寅为孤，见戌为寡 …
    {"孤辰", {"亥子丑 寅", "寅卯辰 巳", "巳午未 申", "申酉戌 亥"}},
    {"寡宿", {"亥子丑 戌", "寅卯辰 丑", "巳午未 辰", "申酉戌 未"}},
    // 丧门 two ahead, 吊客 two behind, 披麻 three behind the year branch
    {"丧门",
     {"子 寅", "丑 卯", "寅 辰", "卯 巳", "辰 午", "巳 未", "午 申", "未 酉", "申 戌", "酉 亥", "戌 子", "亥 丑"}},
    {"吊客",
     {"子 戌", "丑 亥", "寅 子", "卯 丑", "辰 寅", "巳 卯", "午 辰", "未 巳", "申 午", "酉 未", "戌 申", "亥 酉"}},
    {"披麻",
     {"子 酉", "丑 戌", "寅 亥", "卯 子", "辰 丑", "巳 寅", "午 卯", "未 辰", "申 巳", "酉 午", "戌 未", "亥 申"}},
    {"披头",
     {"子 辰", "丑 卯", "寅 寅", "卯 丑", "辰 子", "巳 亥", "午 戌", "未 酉", "申 申", "酉 未", "戌 午", "亥 巳"}},
    {"六厄", {"寅午戌 酉", "申子辰 卯", "亥卯未 午", "巳酉丑 子"}},
    // 阳男阴女，冲前一辰；阴男阳女，冲后一辰
    {"元辰",
     {"子 未", "丑 申", "寅 酉", "卯 戌", "辰 亥", "巳 子", "午 丑", "未 寅", "申 卯", "酉 辰", "戌 巳", "亥 午", "|",
      "子 巳", "丑 午", "寅 未", "卯 申", "辰 酉", "巳 戌", "午 亥", "未 子", "申 丑", "酉 寅", "戌 卯", "亥 辰"}},
    // 阳男阴女，命前三辰为勾，命后三辰为绞；阴男阳女反之
    {"勾煞",
     {"子 卯", "丑 辰", "寅 巳", "卯 午", "辰 未", "巳 申", "午 酉", "未 戌", "申 亥", "酉 子", "戌 丑", "亥 寅", "|",
      "子 酉", "丑 戌", "寅 亥", "卯 子", "辰 丑", "巳 寅", "午 卯", "未 辰", "申 巳", "酉 午", "戌 未", "亥 申"}},
    {"绞煞",
     {"子 酉", "丑 戌", "寅 亥", "卯 子", "辰 丑", "巳 寅", "午 卯", "未 辰", "申 巳", "酉 午", "戌 未", "亥 申", "|",
      "子 卯", "丑 辰", "寅 巳", "卯 午", "辰 未", "巳 申", "午 酉", "未 戌", "申 亥", "酉 子", "戌 丑", "亥 寅"}},
    {"魁罡", {"壬辰庚戌庚辰戊戌"}},
    {"阴差阳错", {"丙子丙午丁丑丁未戊寅戊申辛卯辛酉壬辰壬戌癸巳癸亥"}},
    {"十恶大败", {"甲辰乙巳丙申丁亥戊戌己丑庚辰辛巳壬申癸亥"}},
    {"孤鸾", {"乙巳丁巳辛亥戊申甲寅戊午壬子丙午"}},
    {"金神", {"己巳癸酉乙丑"}},
    {"九丑", {"戊子戊午壬子壬午乙卯辛卯乙酉辛酉己卯己酉"}},
    {"八专", {"甲寅乙卯丁未戊戌己未庚申辛酉癸丑"}},
    {"十灵", {"甲辰乙亥丙辰丁酉戊午庚戌庚寅辛亥壬寅癸未"}},
    {"六秀", {"丙午丁未戊子戊午己丑己未"}},
    {"进神", {"甲子甲午己卯己酉"}},
    // 空亡 by 旬: 甲子旬 戌亥 …
    {"空亡", {"甲子 戌亥", "甲戌 申酉", "甲申 午未", "甲午 辰巳", "甲辰 寅卯", "甲寅 子丑"}},
};

// Which transcription an anchor reads its keys in.
std::vector<std::pair<int, std::string>> expected_rows(const Transcribed& t, Anchor anchor) {
  std::vector<std::pair<int, std::string>> rows;
  int half = 0;
  for (const std::string& row : t.rows) {
    if (row == "|") {
      half = 12;
      continue;
    }
    std::size_t blank = row.find(' ');
    if (blank == std::string::npos) {
      rows.push_back({0, row});
      continue;
    }
    std::string keys = row.substr(0, blank), targets = row.substr(blank + 1);
    if (anchor == Anchor::HourPillar) {  // written day → hour as the source gives it
      rows.push_back({pair_of(targets), keys});
      continue;
    }
    if (anchor == Anchor::YearOrDayDecade) {
      rows.push_back({pair_of(keys) / 10, targets});
      continue;
    }
    for (const std::string& c : characters(keys)) rows.push_back({key_of(c) + half, targets});
  }
  return rows;
}

void expect_table(const RuleSet::Compiled& rule, const Transcribed& t) {
  std::map<int, std::uint64_t> expected;
  for (const auto& [key, targets] : expected_rows(t, rule.anchor))
    expected[key] |= mask_of(targets, rule.pillar_target);
  for (int key = 0; key < 60; ++key) {
    std::uint64_t want = expected.count(key) ? expected[key] : 0;
    EXPECT_EQ(rule.table[key], want) << t.name << " key " << key;
  }
}

const RuleSet::Compiled* find(const RuleSet& rules, const std::string& name, Anchor anchor) {
  for (const auto& rule : rules.compiled())
    if (rule.name == name && rule.anchor == anchor) return &rule;
  return nullptr;
}
const RuleSet::Compiled* find(const RuleSet& rules, const std::string& name) {
  for (const auto& rule : rules.compiled())
    if (rule.name == name) return &rule;
  return nullptr;
}

TEST(ShenshaTables, EveryDefaultTableRowByRow) {
  const RuleSet& rules = default_rules();
  std::vector<std::string> checked;
  for (const Transcribed& t : kTranscribed) {
    const RuleSet::Compiled* rule = find(rules, t.name);
    ASSERT_NE(rule, nullptr) << t.name;
    expect_table(*rule, t);
    checked.push_back(t.name);
  }
  // 童子煞 by season and by the year's 纳音: 春秋寅子贵，冬夏卯未辰；金木马卯合，水火鸡犬多，土命逢辰巳
  expect_table(*find(rules, "童子煞", Anchor::MonthBranch), {"童子煞", {"寅卯辰申酉戌 寅子", "巳午未亥子丑 卯未辰"}});
  expect_table(*find(rules, "童子煞", Anchor::YearNayin), {"童子煞", {"金木 午卯", "水火 酉戌", "土 辰巳"}});
  expect_table(*find(rules, "拱禄"), {"拱禄", {"癸亥 癸丑", "癸丑 癸亥", "丁巳 丁未", "己未 己巳", "戊辰 戊午"}});
  checked.insert(checked.end(), {"童子煞", "拱禄", "三奇贵人"});
  // Every rule in force is transcribed above (三奇 by its own test).
  for (const auto& rule : rules.compiled())
    EXPECT_NE(std::find(checked.begin(), checked.end(), rule.name), checked.end()) << rule.name << " untested";
  EXPECT_GE(rules.compiled().size(), 40u);
}

TEST(ShenshaTables, VariantTablesRowByRow) {
  struct Case {
    const char* variant;
    Transcribed table;
  };
  const Case cases[] = {
      {"tianyi-geng-horse-tiger", {"天乙贵人", {"甲戊 丑未", "乙己 子申", "丙丁 亥酉", "壬癸 卯巳", "庚辛 寅午"}}},
      {"tianyi-day-night",
       {"阳贵人", {"甲 未", "乙 申", "丙 酉", "丁 亥", "戊 丑", "己 子", "庚 丑", "辛 寅", "壬 卯", "癸 巳"}}},
      {"tianyi-day-night",
       {"阴贵人", {"甲 丑", "乙 子", "丙 亥", "丁 酉", "戊 未", "己 申", "庚 未", "辛 午", "壬 巳", "癸 卯"}}},
      {"wenchang-gui-chou",
       {"文昌贵人", {"甲 巳", "乙 午", "丙 申", "戊 申", "丁 酉", "己 酉", "庚 亥", "辛 子", "壬 寅", "癸 丑"}}},
      {"fuxing-pillars",
       {"福星贵人",
        {"甲 丙寅丙子", "乙 丁丑丁亥", "丙 戊子戊戌", "丁 己亥己酉", "戊 庚戌庚申", "己 辛酉辛未", "庚 壬申壬午",
         "辛 癸未癸巳", "壬 甲午甲辰", "癸 乙巳乙卯"}}},
      {"tianguan-yin-official",
       {"天官贵人", {"甲 酉", "乙 申", "丙 子", "丁 亥", "戊 卯", "己 寅", "庚 午", "辛 巳", "壬 午", "癸 巳"}}},
      {"yangren-yang-stems", {"羊刃", {"甲 卯", "丙 午", "戊 午", "庚 酉", "壬 子"}}},
      {"hongyan-yi-shen",
       {"红艳", {"甲 午", "乙 申", "丙 寅", "丁 未", "戊 辰", "己 辰", "庚 戌", "辛 酉", "壬 子", "癸 申"}}},
      // the stem's own 长生, yin stems counted backward
      {"xuetang-own-cycle",
       {"长生学堂", {"甲 亥", "乙 午", "丙 寅", "丁 酉", "戊 寅", "己 酉", "庚 巳", "辛 子", "壬 申", "癸 卯"}}},
      {"tongzi-day-element", {"童子煞", {"甲乙 丑辰", "丙丁 丑辰", "庚辛 午戌辰", "壬癸 午戌辰", "戊己 辰巳"}}},
      {"goujiao-one-star",
       {"勾绞煞",
        {"子 卯", "丑 辰", "寅 巳", "卯 午", "辰 未", "巳 申", "午 酉", "未 戌", "申 亥", "酉 子", "戌 丑", "亥 寅"}}},
      {"goujiao-both-sides",
       {"勾绞煞",
        {"子 卯酉", "丑 辰戌", "寅 巳亥", "卯 午子", "辰 未丑", "巳 申寅", "午 酉卯", "未 戌辰", "申 亥巳", "酉 子午",
         "戌 丑未", "亥 寅申"}}},
      {"guluan-ten", {"孤鸾", {"甲寅乙巳丙午丁巳戊午戊申辛亥壬子己未癸丑"}}},
      {"jiuchou-cantian", {"九丑", {"丁酉戊子戊午己卯己酉辛卯辛酉壬子壬午"}}},
      {"shiling-nine", {"十灵", {"甲辰乙亥丙辰丁酉戊午庚戌辛亥壬寅癸未"}}},
  };
  for (const Case& c : cases) {
    const std::string id = c.variant;
    const RuleSet& rules = rules_with(std::span<const std::string>(&id, 1));
    const RuleSet::Compiled* rule = find(rules, c.table.name);
    ASSERT_NE(rule, nullptr) << c.variant << " " << c.table.name;
    expect_table(*rule, c.table);
  }
}

// ---- behaviour ------------------------------------------------------------

Natal natal(const char* year, const char* month, const char* day, const char* hour,
            std::optional<Sex> sex = std::nullopt) {
  return {pair_of(year), pair_of(month), pair_of(day), hour ? pair_of(hour) : -1, sex};
}

std::vector<std::string> on(const RuleSet& rules, const Natal& chart, int position) {
  Finder finder(rules, chart);
  std::vector<std::uint8_t> found;
  finder.natal(position, found);
  std::vector<std::string_view> names;
  assign_names(rules, found, names);
  return {names.begin(), names.end()};
}
std::vector<std::string> on_luck(const RuleSet& rules, const Natal& chart, const char* pillar) {
  Finder finder(rules, chart);
  std::vector<std::uint8_t> found;
  finder.extra(pair_of(pillar), found);
  std::vector<std::string_view> names;
  assign_names(rules, found, names);
  return {names.begin(), names.end()};
}
bool has(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}
const RuleSet& with(std::initializer_list<std::string> ids) {
  static thread_local std::vector<std::string> kept;
  kept.assign(ids);
  return rules_with(kept);
}

// 将星 of 子 is 子: a 甲子 year does not flag itself, but a 申 day (申子辰)
// flags the year's 子, and the variant lets the year flag itself.
TEST(ShenshaBehaviour, AnchorPillarFlagsItselfOnlyWhereTheRuleSays) {
  Natal chart = natal("甲子", "丙寅", "丁卯", "庚子");
  EXPECT_FALSE(has(on(default_rules(), chart, 0), "将星"));
  EXPECT_TRUE(has(on(default_rules(), chart, 3), "将星"));  // the year's 子 anchors the hour's
  EXPECT_TRUE(has(on(with({"triad-self"}), chart, 0), "将星"));
  // Stem rules read the anchor's own branch too: 丁 finds 天乙 in 亥酉, so a
  // 丁酉 year is its own (the 甲 day's would be 丑未).
  EXPECT_TRUE(has(on(default_rules(), natal("丁酉", "壬寅", "甲子", "丙寅"), 0), "天乙贵人"));
  EXPECT_FALSE(has(on(default_rules(), natal("丁卯", "壬寅", "甲子", "丙寅"), 0), "天乙贵人"));
}

// 元辰: a 甲子 year (yang), male → 未; female → 巳; no sex → neither.
TEST(ShenshaBehaviour, SexDecides元辰And勾绞) {
  Natal male = natal("甲子", "丙寅", "丁卯", "丁未", Sex::Male);
  Natal female = natal("甲子", "丙寅", "丁卯", "丁未", Sex::Female);
  Natal unknown = natal("甲子", "丙寅", "丁卯", "丁未");
  EXPECT_TRUE(has(on(default_rules(), male, 3), "元辰"));
  EXPECT_FALSE(has(on(default_rules(), female, 3), "元辰"));
  EXPECT_FALSE(has(on(default_rules(), unknown, 3), "元辰"));
  EXPECT_TRUE(has(on_luck(default_rules(), female, "己巳"), "元辰"));
  // 勾 three ahead for 阳男 (卯), three behind for 阳女 (酉); 绞 the other side.
  EXPECT_TRUE(has(on_luck(default_rules(), male, "丁卯"), "勾煞"));
  EXPECT_TRUE(has(on_luck(default_rules(), female, "丁卯"), "绞煞"));
  EXPECT_FALSE(has(on_luck(default_rules(), female, "丁卯"), "勾煞"));
  // A yin year turns both: 乙丑 female is 阳男阴女's side.
  Natal yin_female = natal("乙丑", "戊寅", "丁卯", "丁未", Sex::Female);
  EXPECT_TRUE(has(on_luck(default_rules(), yin_female, "庚申"), "元辰"));  // 丑 冲 未, one ahead 申
}

TEST(ShenshaBehaviour, VariantsChangeTheirRuleAndUnknownOnesAreRefused) {
  Natal geng = natal("甲子", "丙寅", "庚午", "戊寅");
  EXPECT_FALSE(has(on(default_rules(), geng, 3), "天乙贵人"));
  EXPECT_TRUE(has(on(with({"tianyi-geng-horse-tiger"}), geng, 3), "天乙贵人"));
  std::vector<std::string> unknown = {"no-such-variant"};
  EXPECT_THROW((RuleSet(unknown)), InputError);
  std::vector<std::string> both = {"goujiao-one-star", "goujiao-both-sides"};
  EXPECT_THROW((RuleSet(both)), InputError);
  // Every variant compiles, and its own records replace the rules it names.
  for (const Variant& v : variants()) {
    std::string id(v.id);
    EXPECT_NO_THROW(RuleSet(std::span<const std::string>(&id, 1))) << id;
  }
  const RuleSet& one_star = with({"goujiao-one-star"});
  EXPECT_EQ(find(one_star, "勾煞"), nullptr);
  EXPECT_NE(find(one_star, "勾绞煞"), nullptr);
}

// A luck pillar is read with every natal anchor (none is its own), and only
// by the rules that examine pillars outside the chart.
TEST(ShenshaBehaviour, LuckPillarsTakeTheRulesForThem) {
  Natal chart = natal("甲子", "丙寅", "庚辰", "丁亥");
  std::vector<std::string> luck = on_luck(default_rules(), chart, "壬寅");
  EXPECT_TRUE(has(luck, "驿马"));       // 子 year and 辰 day: 申子辰 → 寅
  EXPECT_TRUE(has(luck, "天德合"));     // 寅 month: 壬
  std::vector<std::string> kuigang = on_luck(default_rules(), chart, "庚辰");
  EXPECT_FALSE(has(kuigang, "魁罡"));   // a day-pillar rule
  EXPECT_TRUE(has(on(default_rules(), chart, 2), "魁罡"));
}

// 天赦 needs the season: 戊寅 day in a spring month, not in an autumn one.
TEST(ShenshaBehaviour, SeasonRulesReadTheMonth) {
  EXPECT_TRUE(has(on(default_rules(), natal("甲子", "丁卯", "戊寅", "壬子"), 2), "天赦"));
  EXPECT_FALSE(has(on(default_rules(), natal("甲子", "壬申", "戊寅", "壬子"), 2), "天赦"));
  EXPECT_TRUE(has(on(default_rules(), natal("甲子", "壬申", "戊申", "壬子"), 2), "天赦"));
}

TEST(ShenshaBehaviour, ThreeWondersInOrder) {
  Natal forward = natal("甲子", "戊辰", "庚午", "丙子");
  Natal backward = natal("庚午", "戊寅", "甲子", "甲子");
  for (int position : {0, 1, 2}) EXPECT_TRUE(has(on(default_rules(), forward, position), "三奇贵人"));
  EXPECT_FALSE(has(on(default_rules(), forward, 3), "三奇贵人"));
  EXPECT_FALSE(has(on(default_rules(), backward, 0), "三奇贵人"));
  EXPECT_TRUE(has(on(with({"sanqi-reverse"}), backward, 0), "三奇贵人"));
  EXPECT_TRUE(has(on(default_rules(), natal("壬子", "癸丑", "辛卯", "甲午"), 2), "三奇贵人"));
  EXPECT_FALSE(has(on_luck(default_rules(), forward, "庚子"), "三奇贵人"));
}

TEST(ShenshaBehaviour, UnknownHourAndNamesOnce) {
  Natal no_hour = natal("甲子", "丙寅", "丁卯", nullptr);
  EXPECT_TRUE(on(default_rules(), no_hour, 3).empty());
  EXPECT_FALSE(on(default_rules(), no_hour, 0).empty());
  // 童子煞 twice on a 卯 day: by the winter month (卯未辰) and by the 金 纳音
  // of 甲子 (午卯); named once.
  std::vector<std::string> names = on(default_rules(), natal("甲子", "丙子", "丁卯", "戊申"), 2);
  EXPECT_EQ(std::count(names.begin(), names.end(), "童子煞"), 1);
}

}  // namespace
