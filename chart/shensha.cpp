#include "shensha.h"

#include <algorithm>
#include <bit>
#include <map>
#include <mutex>
#include <stdexcept>

#include "growth.h"
#include "sexagenary.h"
#include "texts.h"
#include "vocabulary.h"

namespace pillar::chart::shensha {

namespace {

using vocabulary::Name;

constexpr Name k三命通会 = "三命通会";
constexpr Name k通行 = "通行";

// Triads (三合) key most branch rules: 申子辰 水, 寅午戌 火, 巳酉丑 金, 亥卯未 木.
// Seasons key the month rules: 寅卯辰 春, 巳午未 夏, 申酉戌 秋, 亥子丑 冬.
constexpr Rule kRules[] = {
    // ---- by the year or the day stem
    {"天乙贵人", Anchor::YearOrDayStem, Target::Branch, "甲戊庚>丑未 乙己>子申 丙丁>亥酉 辛>寅午 壬癸>卯巳",
     Derived::None, kEvery, true, k三命通会, {}},
    {"太极贵人", Anchor::YearOrDayStem, Target::Branch, "甲乙>子午 丙丁>卯酉 戊己>辰戌丑未 庚辛>寅亥 壬癸>巳申",
     Derived::None, kEvery, true, k三命通会, {}},
    {"文昌贵人", Anchor::YearOrDayStem, Target::Branch, "甲>巳 乙>午 丙戊>申 丁己>酉 庚>亥 辛>子 壬>寅 癸>卯",
     Derived::None, kEvery, true, k通行, {}},
    {"国印贵人", Anchor::YearOrDayStem, Target::Branch, "甲>戌 乙>亥 丙戊>丑 丁己>寅 庚>辰 辛>巳 壬>未 癸>申",
     Derived::None, kEvery, true, k通行, {}},
    {"福星贵人", Anchor::YearOrDayStem, Target::Branch, "甲丙>寅子 乙癸>卯丑 丁>亥 戊>申 己>未 庚>午 辛>巳 壬>辰",
     Derived::None, kEvery, true, k通行, {}},
    {"天厨贵人", Anchor::YearOrDayStem, Target::Branch, "甲丙>巳 乙丁>午 戊>申 己>酉 庚>亥 辛>子 壬>寅 癸>卯",
     Derived::None, kEvery, true, k通行, {}},
    {"天官贵人", Anchor::YearOrDayStem, Target::Branch,
     "甲>未 乙>辰 丙>巳 丁>酉 戊>戌 己>卯 庚>丑 辛>申 壬>寅 癸>午", Derived::None, kEvery, true, k通行, {}},
    {"金舆", Anchor::YearOrDayStem, Target::Branch, "甲>辰 乙>巳 丙戊>未 丁己>申 庚>戌 辛>亥 壬>丑 癸>寅",
     Derived::None, kEvery, true, k三命通会, {}},
    {"长生学堂", Anchor::YearOrDayStem, Target::Branch, {}, Derived::BirthOfElement, kEvery, true, k通行, {}},
    // ---- by the day stem
    {"禄神", Anchor::DayStem, Target::Branch, {}, Derived::Lodging, kEvery, true, k三命通会, {}},
    {"羊刃", Anchor::DayStem, Target::Branch, {}, Derived::Blade, kEvery, true, k三命通会, {}},
    {"飞刃", Anchor::DayStem, Target::Branch, {}, Derived::BladeClash, kEvery, true, k通行, {}},
    {"红艳", Anchor::DayStem, Target::Branch, "甲乙>午 丙>寅 丁>未 戊己>辰 庚>戌 辛>酉 壬>子 癸>申",
     Derived::None, kEvery, true, k通行, {}},
    {"流霞", Anchor::DayStem, Target::Branch, "甲>酉 乙>戌 丙>未 丁>申 戊>巳 己>午 庚>辰 辛>卯 壬>亥 癸>寅",
     Derived::None, kEvery, true, k通行, {}},
    {"日干学堂", Anchor::DayStem, Target::Pillar,
     "甲>己亥 乙>壬午 丙>丙寅 丁>丁酉 戊>戊寅 己>己酉 庚>辛巳 辛>甲子 壬>甲申 癸>乙卯", Derived::None, kEvery, true,
     "通行（子平法）", {}},
    {"日干词馆", Anchor::DayStem, Target::Pillar,
     "甲>庚寅 乙>辛卯 丙>乙巳 丁>戊午 戊>丁巳 己>庚午 庚>壬申 辛>癸酉 壬>癸亥 癸>壬戌", Derived::None, kEvery, true,
     "通行（子平法）", {}},
    {"临官词馆", Anchor::DayStem, Target::Branch, {}, Derived::Lodging, kEvery, true, k通行, {}},
    // ---- by the year's 纳音
    {"纳音学堂", Anchor::YearNayin, Target::Branch, "金>巳 木>亥 水土>申 火>寅", Derived::None,
     kMonth | kDay | kHour | kLuck, false, k三命通会, {}},
    {"纳音词馆", Anchor::YearNayin, Target::Branch, "金>申 木>寅 水土>亥 火>巳", Derived::None,
     kMonth | kDay | kHour | kLuck, false, k三命通会, {}},
    {"纳音天罗", Anchor::YearNayin, Target::Branch, "火>戌亥", Derived::None, kDay, false, k三命通会, {}},
    {"纳音地网", Anchor::YearNayin, Target::Branch, "水土>辰巳", Derived::None, kDay, false, k三命通会, {}},
    // ---- by the month branch (or its season)
    {"天德贵人", Anchor::MonthBranch, Target::StemOrBranch,
     "寅>丁 卯>申 辰>壬 巳>辛 午>亥 未>甲 申>癸 酉>寅 戌>丙 亥>乙 子>巳 丑>庚", Derived::None, kEvery, true, k三命通会,
     {}},
    {"天德合", Anchor::MonthBranch, Target::StemOrBranch,
     "寅>壬 卯>巳 辰>丁 巳>丙 午>寅 未>己 申>戊 酉>亥 戌>辛 亥>庚 子>申 丑>乙", Derived::None, kEvery, true, k三命通会,
     {}},
    {"月德贵人", Anchor::MonthBranch, Target::Stem, "寅午戌>丙 申子辰>壬 亥卯未>甲 巳酉丑>庚", Derived::None, kEvery,
     true, k三命通会, {}},
    {"月德合", Anchor::MonthBranch, Target::Stem, "寅午戌>辛 申子辰>丁 亥卯未>己 巳酉丑>乙", Derived::None, kEvery,
     true, k三命通会, {}},
    {"德秀贵人", Anchor::MonthBranch, Target::Stem,
     "寅午戌>丙丁戊癸 申子辰>壬癸戊己丙辛甲 巳酉丑>庚辛乙 亥卯未>甲乙丁壬", Derived::None, kEvery, true, k三命通会, {}},
    {"天医", Anchor::MonthBranch, Target::Branch,
     "寅>丑 卯>寅 辰>卯 巳>辰 午>巳 未>午 申>未 酉>申 戌>酉 亥>戌 子>亥 丑>子", Derived::None, kEvery, false, k通行, {}},
    {"血刃", Anchor::MonthBranch, Target::Branch,
     "寅>丑 卯>未 辰>寅 巳>申 午>卯 未>酉 申>辰 酉>戌 戌>巳 亥>亥 子>午 丑>子", Derived::None, kEvery, true, k通行, {}},
    {"天赦", Anchor::MonthBranch, Target::Pillar, "寅卯辰>戊寅 巳午未>甲午 申酉戌>戊申 亥子丑>甲子", Derived::None,
     kDay, false, k通行, {}},
    {"四废", Anchor::MonthBranch, Target::Pillar, "寅卯辰>庚申辛酉 巳午未>壬子癸亥 申酉戌>甲寅乙卯 亥子丑>丙午丁巳",
     Derived::None, kDay, false, k通行, {}},
    {"天转", Anchor::MonthBranch, Target::Pillar, "寅卯辰>乙卯 巳午未>丙午 申酉戌>辛酉 亥子丑>壬子", Derived::None,
     kDay, false, k通行, {}},
    {"地转", Anchor::MonthBranch, Target::Pillar, "寅卯辰>辛卯 巳午未>戊午 申酉戌>癸酉 亥子丑>丙子", Derived::None,
     kDay, false, k通行, {}},
    {"童子煞", Anchor::MonthBranch, Target::Branch, "寅卯辰申酉戌>寅子 巳午未亥子丑>卯未辰", Derived::None,
     kDay | kHour, false, k通行, {}},
    {"童子煞", Anchor::YearNayin, Target::Branch, "金木>午卯 水火>酉戌 土>辰巳", Derived::None, kDay | kHour, false,
     k通行, {}},
    // ---- by the year or the day branch
    {"驿马", Anchor::YearOrDayBranch, Target::Branch, "申子辰>寅 寅午戌>申 巳酉丑>亥 亥卯未>巳", Derived::None, kEvery,
     false, k三命通会, {}},
    {"桃花", Anchor::YearOrDayBranch, Target::Branch, "申子辰>酉 寅午戌>卯 巳酉丑>午 亥卯未>子", Derived::None, kEvery,
     false, k三命通会, {}},
    {"华盖", Anchor::YearOrDayBranch, Target::Branch, "申子辰>辰 寅午戌>戌 巳酉丑>丑 亥卯未>未", Derived::None, kEvery,
     false, k三命通会, {}},
    {"将星", Anchor::YearOrDayBranch, Target::Branch, "申子辰>子 寅午戌>午 巳酉丑>酉 亥卯未>卯", Derived::None, kEvery,
     false, k三命通会, {}},
    {"劫煞", Anchor::YearOrDayBranch, Target::Branch, "申子辰>巳 寅午戌>亥 巳酉丑>寅 亥卯未>申", Derived::None, kEvery,
     false, k三命通会, {}},
    {"亡神", Anchor::YearOrDayBranch, Target::Branch, "申子辰>亥 寅午戌>巳 巳酉丑>申 亥卯未>寅", Derived::None, kEvery,
     false, k三命通会, {}},
    {"灾煞", Anchor::YearOrDayBranch, Target::Branch, "申子辰>午 寅午戌>子 巳酉丑>卯 亥卯未>酉", Derived::None, kEvery,
     false, k三命通会, {}},
    {"戌亥天罗", Anchor::YearOrDayBranch, Target::Branch, "戌>亥 亥>戌", Derived::None, kEvery, false, k通行, {}},
    {"辰巳地网", Anchor::YearOrDayBranch, Target::Branch, "辰>巳 巳>辰", Derived::None, kEvery, false, k通行, {}},
    {"空亡", Anchor::YearOrDayDecade, Target::Branch, {}, Derived::Void, kEvery, false, k三命通会, {}},
    {"隔角煞", Anchor::DayBranch, Target::Branch,
     "子>寅 丑>卯 寅>辰 卯>巳 辰>午 巳>未 午>申 未>酉 申>戌 酉>亥 戌>子 亥>丑", Derived::None, kHour, false, k通行, {}},
    // ---- by the year branch
    {"红鸾", Anchor::YearBranch, Target::Branch,
     "子>卯 丑>寅 寅>丑 卯>子 辰>亥 巳>戌 午>酉 未>申 申>未 酉>午 戌>巳 亥>辰", Derived::None, kEvery, false, k通行, {}},
    {"天喜", Anchor::YearBranch, Target::Branch,
     "子>酉 丑>申 寅>未 卯>午 辰>巳 巳>辰 午>卯 未>寅 申>丑 酉>子 戌>亥 亥>戌", Derived::None, kEvery, false, k通行, {}},
    {"孤辰", Anchor::YearBranch, Target::Branch, "亥子丑>寅 寅卯辰>巳 巳午未>申 申酉戌>亥", Derived::None, kEvery,
     false, k三命通会, {}},
    {"寡宿", Anchor::YearBranch, Target::Branch, "亥子丑>戌 寅卯辰>丑 巳午未>辰 申酉戌>未", Derived::None, kEvery,
     false, k三命通会, {}},
    {"丧门", Anchor::YearBranch, Target::Branch,
     "子>寅 丑>卯 寅>辰 卯>巳 辰>午 巳>未 午>申 未>酉 申>戌 酉>亥 戌>子 亥>丑", Derived::None, kEvery, false, k通行, {}},
    {"吊客", Anchor::YearBranch, Target::Branch,
     "子>戌 丑>亥 寅>子 卯>丑 辰>寅 巳>卯 午>辰 未>巳 申>午 酉>未 戌>申 亥>酉", Derived::None, kEvery, false, k通行, {}},
    {"披麻", Anchor::YearBranch, Target::Branch,
     "子>酉 丑>戌 寅>亥 卯>子 辰>丑 巳>寅 午>卯 未>辰 申>巳 酉>午 戌>未 亥>申", Derived::None, kEvery, false, k通行, {}},
    {"披头", Anchor::YearBranch, Target::Branch,
     "子>辰 丑>卯 寅>寅 卯>丑 辰>子 巳>亥 午>戌 未>酉 申>申 酉>未 戌>午 亥>巳", Derived::None, kEvery, false, k通行, {}},
    {"六厄", Anchor::YearBranch, Target::Branch, "申子辰>卯 寅午戌>酉 巳酉丑>子 亥卯未>午", Derived::None, kEvery,
     false, k通行, {}},
    // ---- by the year branch and the sex
    {"元辰", Anchor::YearBranchBySex, Target::Branch,
     "子>未 丑>申 寅>酉 卯>戌 辰>亥 巳>子 午>丑 未>寅 申>卯 酉>辰 戌>巳 亥>午 | "
     "子>巳 丑>午 寅>未 卯>申 辰>酉 巳>戌 午>亥 未>子 申>丑 酉>寅 戌>卯 亥>辰",
     Derived::None, kEvery, false, k三命通会, {}},
    {"勾煞", Anchor::YearBranchBySex, Target::Branch,
     "子>卯 丑>辰 寅>巳 卯>午 辰>未 巳>申 午>酉 未>戌 申>亥 酉>子 戌>丑 亥>寅 | "
     "子>酉 丑>戌 寅>亥 卯>子 辰>丑 巳>寅 午>卯 未>辰 申>巳 酉>午 戌>未 亥>申",
     Derived::None, kEvery, false, k三命通会, {}},
    {"绞煞", Anchor::YearBranchBySex, Target::Branch,
     "子>酉 丑>戌 寅>亥 卯>子 辰>丑 巳>寅 午>卯 未>辰 申>巳 酉>午 戌>未 亥>申 | "
     "子>卯 丑>辰 寅>巳 卯>午 辰>未 巳>申 午>酉 未>戌 申>亥 酉>子 戌>丑 亥>寅",
     Derived::None, kEvery, false, k三命通会, {}},
    // ---- the day (or hour) pillar itself
    {"魁罡", Anchor::None, Target::Pillar, "庚辰 壬辰 戊戌 庚戌", Derived::None, kDay, false, k三命通会, {}},
    {"阴差阳错", Anchor::None, Target::Pillar, "丙子 丁丑 戊寅 辛卯 壬辰 癸巳 丙午 丁未 戊申 辛酉 壬戌 癸亥",
     Derived::None, kDay, false, k三命通会, {}},
    {"十恶大败", Anchor::None, Target::Pillar, "甲辰 乙巳 丙申 丁亥 戊戌 己丑 庚辰 辛巳 壬申 癸亥", Derived::None, kDay,
     false, k三命通会, {}},
    {"孤鸾", Anchor::None, Target::Pillar, "甲寅 乙巳 丙午 丁巳 戊午 戊申 辛亥 壬子", Derived::None, kDay, false, k通行,
     {}},
    {"金神", Anchor::None, Target::Pillar, "乙丑 己巳 癸酉", Derived::None, kDay | kHour, false, k三命通会, {}},
    {"九丑", Anchor::None, Target::Pillar, "乙卯 乙酉 戊子 戊午 己卯 己酉 辛卯 辛酉 壬子 壬午", Derived::None, kDay,
     false, k通行, {}},
    {"八专", Anchor::None, Target::Pillar, "甲寅 乙卯 丁未 戊戌 己未 庚申 辛酉 癸丑", Derived::None, kDay, false, k通行,
     {}},
    {"十灵", Anchor::None, Target::Pillar, "甲辰 乙亥 丙辰 丁酉 戊午 庚戌 庚寅 辛亥 壬寅 癸未", Derived::None, kDay,
     false, k通行, {}},
    {"六秀", Anchor::None, Target::Pillar, "丙午 丁未 戊子 戊午 己丑 己未", Derived::None, kDay, false, k通行, {}},
    {"进神", Anchor::None, Target::Pillar, "甲子 甲午 己卯 己酉", Derived::None, kDay, false, k通行, {}},
    {"拱禄", Anchor::HourPillar, Target::Pillar, "癸丑>癸亥 癸亥>癸丑 丁未>丁巳 己巳>己未 戊午>戊辰", Derived::None,
     kDay, false, k通行, {}},
    // ---- the chart's stems
    {"三奇贵人", Anchor::ChartStems, Target::Stem, "甲戊庚 乙丙丁 壬癸辛", Derived::None, kNatal, true, k三命通会, {}},

    // ---- records of variants
    {"阳贵人", Anchor::DayStem, Target::Branch, "甲>未 乙>申 丙>酉 丁>亥 戊>丑 己>子 庚>丑 辛>寅 壬>卯 癸>巳",
     Derived::None, kEvery, true, k通行, "tianyi-day-night"},
    {"阴贵人", Anchor::DayStem, Target::Branch, "甲>丑 乙>子 丙>亥 丁>酉 戊>未 己>申 庚>未 辛>午 壬>巳 癸>卯",
     Derived::None, kEvery, true, k通行, "tianyi-day-night"},
    {"福星贵人", Anchor::YearOrDayStem, Target::Pillar,
     "甲>丙寅丙子 乙>丁丑丁亥 丙>戊子戊戌 丁>己亥己酉 戊>庚戌庚申 己>辛酉辛未 庚>壬申壬午 辛>癸未癸巳 "
     "壬>甲午甲辰 癸>乙巳乙卯",
     Derived::None, kEvery, true, k通行, "fuxing-pillars"},
    {"长生学堂", Anchor::DayStem, Target::Branch, {}, Derived::BirthOwnCycle, kEvery, true, k通行,
     "xuetang-own-cycle"},
    {"童子煞", Anchor::DayStem, Target::Branch, "甲乙丙丁>丑辰 庚辛壬癸>午戌辰 戊己>辰巳", Derived::None, kDay | kHour,
     false, k通行, "tongzi-day-element"},
    {"勾绞煞", Anchor::YearBranch, Target::Branch,
     "子>卯 丑>辰 寅>巳 卯>午 辰>未 巳>申 午>酉 未>戌 申>亥 酉>子 戌>丑 亥>寅", Derived::None, kEvery, false, k通行,
     "goujiao-one-star"},
    {"勾绞煞", Anchor::YearBranch, Target::Branch,
     "子>卯酉 丑>辰戌 寅>巳亥 卯>午子 辰>未丑 巳>申寅 午>酉卯 未>戌辰 申>亥巳 酉>子午 戌>丑未 亥>寅申",
     Derived::None, kEvery, false, k通行, "goujiao-both-sides"},
};

const Variant kVariants[] = {
    {"tianyi-geng-horse-tiger", "天乙贵人", "庚>寅午", {}, -1, -1, "mingyu; rhyme 庚辛逢虎马"},
    {"tianyi-day-stem", "天乙贵人", {}, Anchor::DayStem, -1, -1, "china-testing/bazi"},
    {"tianyi-day-night", "天乙贵人", {}, {}, -1, -1, "china-testing/bazi (阳贵 tianyis, 阴贵 yutangs)"},
    {"taiji-year-stem", "太极贵人", {}, Anchor::YearStem, -1, -1, "lunisolar"},
    {"wenchang-gui-chou", "文昌贵人", "癸>丑", {}, -1, -1, "china-testing/bazi"},
    {"wenchang-day-stem", "文昌贵人", {}, Anchor::DayStem, -1, -1, "china-testing/bazi"},
    {"fuxing-pillars", "福星贵人", {}, {}, -1, -1, "mingyu (snapshot 9959927)"},
    {"jinyu-day-stem", "金舆", {}, Anchor::DayStem, -1, -1, "lunisolar"},
    {"tianguan-yin-official", "天官贵人", "甲>酉 乙>申 丙>子 丁>亥 戊>卯 己>寅 庚>午 辛>巳 壬>午 癸>巳", {}, -1, -1,
     "mingyu PR #86 (五行精纪 阴官贵)"},
    {"yangren-yang-stems", "羊刃", "乙丁己辛癸>", {}, -1, -1, "china-testing/bazi"},
    {"hongyan-yi-shen", "红艳", "乙>申", {}, -1, -1, "mingyu, xuan"},
    {"zipingfa-not-year", "日干学堂 日干词馆", {}, {}, kMonth | kDay | kHour | kLuck, -1, "cantian-tymext"},
    {"xuetang-own-cycle", "长生学堂", {}, {}, -1, -1, "china-testing/bazi"},
    {"tongzi-day-element", "童子煞", {}, {}, -1, -1, "mingyu"},
    {"triad-self", "驿马 桃花 华盖 将星 劫煞 亡神 灾煞", {}, {}, -1, 1, "lunisolar"},
    {"triad-day-branch", "驿马 桃花 华盖 将星 劫煞 亡神", {}, Anchor::DayBranch, -1, -1, "china-testing/bazi"},
    {"zaisha-year-branch", "灾煞", {}, Anchor::YearBranch, -1, -1, "cantian-tymext"},
    {"luanxi-day-branch", "红鸾 天喜", {}, Anchor::YearOrDayBranch, -1, -1, "mingyu"},
    {"net-any-branch", "戌亥天罗 辰巳地网", {}, Anchor::AnyBranch, -1, -1, "mingyu"},
    {"nayin-net-every-pillar", "纳音天罗 纳音地网", {}, {}, kMonth | kDay | kHour, -1, "lunisolar"},
    {"kongwang-day-decade", "空亡", {}, Anchor::DayDecade, -1, -1, "空亡 of the day's 旬 alone"},
    {"jinshen-hour", "金神", {}, {}, kHour, -1, "mingyu"},
    {"bazhuan-hour-too", "八专", {}, {}, kDay | kHour, -1, "lunisolar"},
    {"gejiao-month-branch", "隔角煞", {}, Anchor::MonthBranch, -1, -1, "lunisolar"},
    {"liue-day-branch", "六厄", {}, Anchor::DayBranch, -1, -1, "lunisolar"},
    {"goujiao-one-star", "勾煞 绞煞", {}, {}, -1, -1, "cantian-tymext, xuan"},
    {"goujiao-both-sides", "勾煞 绞煞", {}, {}, -1, -1, "mingyu"},
    {"guluan-ten", "孤鸾", "甲寅 乙巳 丙午 丁巳 戊午 戊申 辛亥 壬子 己未 癸丑", {}, -1, -1, "mingyu"},
    {"jiuchou-cantian", "九丑", "丁酉 戊子 戊午 己卯 己酉 辛卯 辛酉 壬子 壬午", {}, -1, -1, "cantian-tymext"},
    {"shiling-nine", "十灵", "甲辰 乙亥 丙辰 丁酉 戊午 庚戌 辛亥 壬寅 癸未", {}, -1, -1, "mingyu"},
    {"sanqi-reverse", "三奇贵人", "甲戊庚 乙丙丁 壬癸辛 庚戊甲 丁丙乙 辛癸壬", {}, -1, -1, "cantian-tymext"},
    {"sanqi-xin-ren-gui", "三奇贵人", "甲戊庚 乙丙丁 辛壬癸", {}, -1, -1, "mingyu"},
};

[[noreturn]] void bad_record(std::string_view what, std::string_view text) {
  throw std::logic_error("shensha record: " + std::string(what) + " in \"" + std::string(text) + "\"");
}

// The characters of a GBK text, one at a time: a lead byte with its trail,
// or an ASCII byte alone.
class Characters {
 public:
  explicit Characters(Name text) : text_(text) {}
  bool done() const { return at_ == text_.size(); }
  Name next() {
    std::size_t size = static_cast<unsigned char>(text_[at_]) >= 0x81 ? 2 : 1;
    Name character = text_.substr(at_, size);
    at_ += size;
    return character;
  }

 private:
  Name text_;
  std::size_t at_ = 0;
};

int key_of(Anchor anchor, Name character) {
  switch (anchor) {
    case Anchor::YearStem:
    case Anchor::DayStem:
    case Anchor::YearOrDayStem:
      return vocabulary::stem_index(character) - 1;
    case Anchor::YearNayin:
      return vocabulary::element_index(character) - 1;
    case Anchor::YearBranch:
    case Anchor::DayBranch:
    case Anchor::YearOrDayBranch:
    case Anchor::AnyBranch:
    case Anchor::MonthBranch:
    case Anchor::YearBranchBySex:
      return vocabulary::branch_index(character) - 1;
    default:
      return -1;
  }
}

// Stems and branches as one mask: bits 0-9 stems, 10-21 branches.
std::uint64_t character_bit(Name character, Target target) {
  if (int stem = vocabulary::stem_index(character); stem && target != Target::Branch) return 1ull << (stem - 1);
  if (int branch = vocabulary::branch_index(character); branch && target != Target::Stem)
    return 1ull << (9 + branch);
  return 0;
}

using Table = std::array<std::uint64_t, 60>;
using Present = std::array<bool, 60>;

// Reads "keys>targets" entries into `table`, replacing the entries of the
// keys it names (`present` marks them).
void read_table(Name text, Anchor anchor, Target target, Table& table, Present& present) {
  int half = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == Name::npos) end = text.size();
    Name entry = text.substr(start, end - start);
    start = end + 1;
    if (entry.empty()) continue;
    if (entry == "|") {
      half = 12;
      continue;
    }
    std::vector<int> keys;
    Characters characters(entry);
    if (anchor == Anchor::None) {
      keys.push_back(0);
    } else {
      Name first, character;
      while (!characters.done() && (character = characters.next()) != ">") {
        if (anchor == Anchor::HourPillar) {
          if (first.empty()) {
            first = character;
            continue;
          }
          int pair = vocabulary::joined_pair_number(first, character);
          if (!pair) bad_record("no pair", entry);
          keys.push_back(pair - 1);
          first = {};
          continue;
        }
        int key = key_of(anchor, character);
        if (key < 0) bad_record("no key of its anchor", entry);
        keys.push_back(key + half);
      }
      if (character != ">" || keys.empty()) bad_record("no keys before '>'", entry);
    }
    std::uint64_t targets = 0;
    Name first;
    while (!characters.done()) {
      Name character = characters.next();
      if (target == Target::Pillar) {
        if (first.empty()) {
          first = character;
          continue;
        }
        int pair = vocabulary::joined_pair_number(first, character);
        if (!pair) bad_record("no pair", entry);
        targets |= 1ull << (pair - 1);
        first = {};
        continue;
      }
      std::uint64_t bit = character_bit(character, target);
      if (!bit) bad_record("a target of another kind", entry);
      targets |= bit;
    }
    if (!first.empty()) bad_record("half a pair", entry);
    if (anchor == Anchor::None) {
      // Every entry is a pillar of the one list: a text replaces the list.
      if (!present[0]) table[0] = 0;
      table[0] |= targets;
      present[0] = true;
      continue;
    }
    for (int key : keys) {
      if (present[key]) bad_record("a key given twice", entry);
      table[key] = targets;
      present[key] = true;
    }
  }
}

std::vector<std::array<int, 3>> read_sequences(Name text) {
  std::vector<std::array<int, 3>> sequences;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == Name::npos) end = text.size();
    Characters characters(text.substr(start, end - start));
    start = end + 1;
    std::array<int, 3> stems{};
    for (int& stem : stems) {
      if (characters.done()) bad_record("a sequence of fewer than three stems", text);
      stem = vocabulary::stem_index(characters.next()) - 1;
      if (stem < 0) bad_record("no stem", text);
    }
    if (!characters.done()) bad_record("a sequence of more than three stems", text);
    sequences.push_back(stems);
  }
  return sequences;
}

int branch_of_phase(int stem, Name phase, int mode) {
  for (int branch = 0; branch < 12; ++branch)
    if (growth::phase_name(stem + 1, branch + 1, mode) == phase) return branch;
  throw std::logic_error("no such growth phase");
}

Table derived_table(Derived derived) {
  Table table{};
  auto set_branch = [&](int key, int branch) { table[key] = 1ull << (10 + branch); };
  for (int stem = 0; stem < 10; ++stem) switch (derived) {
      case Derived::Lodging: set_branch(stem, branch_of_phase(stem, "临官", 1)); break;
      case Derived::Blade: set_branch(stem, branch_of_phase(stem, "帝旺", 1)); break;
      case Derived::BladeClash: set_branch(stem, (branch_of_phase(stem, "帝旺", 1) + 6) % 12); break;
      case Derived::BirthOfElement: set_branch(stem, branch_of_phase(stem, "长生", 0)); break;
      case Derived::BirthOwnCycle: set_branch(stem, branch_of_phase(stem, "长生", 1)); break;
      default: break;
    }
  if (derived == Derived::Void)
    for (int decade = 0; decade < 6; ++decade) {
      Characters characters(sexagenary::void_branches(vocabulary::kSixtyPairs[decade * 10]));
      while (!characters.done())
        if (int branch = vocabulary::branch_index(characters.next())) table[decade] |= 1ull << (9 + branch);
    }
  return table;
}

bool names_rule(const Variant& variant, Name name) {
  std::size_t start = 0;
  while (start < variant.rules.size()) {
    std::size_t end = variant.rules.find(' ', start);
    if (end == Name::npos) end = variant.rules.size();
    if (variant.rules.substr(start, end - start) == name) return true;
    start = end + 1;
  }
  return false;
}

RuleSet::Compiled compile(const Rule& rule) {
  RuleSet::Compiled compiled{&rule, utf8_of(rule.name), 0, rule.anchor, rule.examined, rule.self,
                             rule.target == Target::Pillar, {}, {}};
  if (rule.anchor == Anchor::ChartStems) {
    compiled.sequences = read_sequences(rule.table);
  } else if (rule.derived != Derived::None) {
    compiled.table = derived_table(rule.derived);
  } else {
    Present present{};
    read_table(rule.table, rule.anchor, rule.target, compiled.table, present);
  }
  return compiled;
}

void apply(const Variant& variant, RuleSet::Compiled& rule) {
  if (variant.anchor) rule.anchor = *variant.anchor;
  if (variant.examined >= 0) rule.examined = static_cast<unsigned>(variant.examined);
  if (variant.self >= 0) rule.self = variant.self != 0;
  if (variant.patch.empty()) return;
  if (rule.anchor == Anchor::ChartStems) {
    rule.sequences = read_sequences(variant.patch);
  } else {
    Present present{};
    read_table(variant.patch, rule.anchor, rule.record->target, rule.table, present);
  }
}

}  // namespace

std::span<const Rule> rules() { return kRules; }
std::span<const Variant> variants() { return kVariants; }

RuleSet::RuleSet(std::span<const std::string> variant_ids) {
  std::vector<const Variant*> chosen;
  for (const std::string& id : variant_ids) {
    auto found = std::find_if(std::begin(kVariants), std::end(kVariants),
                              [&](const Variant& v) { return v.id == id; });
    if (found == std::end(kVariants))
      throw InputError("unknown shensha variant \"" + id.substr(0, 40) + "\" (docs/shensha.md lists them)");
    if (std::find(chosen.begin(), chosen.end(), &*found) != chosen.end()) continue;
    for (const Variant* other : chosen)
      for (const Rule& rule : kRules)
        if (rule.variant.empty() && names_rule(*found, rule.name) && names_rule(*other, rule.name))
          throw InputError("the shensha variants \"" + std::string(other->id) + "\" and \"" + std::string(found->id) +
                           "\" both change " + utf8_text(rule.name));
    chosen.push_back(&*found);
  }
  for (const Rule& rule : kRules) {
    if (!rule.variant.empty()) continue;
    const Variant* changing = nullptr;
    for (const Variant* v : chosen)
      if (names_rule(*v, rule.name)) changing = v;
    bool own_records = changing && std::any_of(std::begin(kRules), std::end(kRules),
                                               [&](const Rule& r) { return r.variant == changing->id; });
    if (!own_records) {
      rules_.push_back(compile(rule));
      if (changing) apply(*changing, rules_.back());
      continue;
    }
    // The variant's own records stand where the first rule they replace stood.
    bool placed = std::any_of(rules_.begin(), rules_.end(),
                              [&](const Compiled& c) { return c.record->variant == changing->id; });
    if (!placed)
      for (const Rule& own : kRules)
        if (own.variant == changing->id) rules_.push_back(compile(own));
  }
  if (rules_.size() > 128) throw std::logic_error("more rules than a chart's rule bits hold");
  index();
  for (std::size_t r = 0; r < rules_.size(); ++r) {
    bool same_as_last = r > 0 && rules_[r - 1].name == rules_[r].name;
    rules_[r].name_id = same_as_last ? rules_[r - 1].name_id : static_cast<int>(r);
    for (std::size_t earlier = 0; earlier + 1 < r; ++earlier)
      if (!same_as_last && rules_[earlier].name == rules_[r].name)
        throw std::logic_error("records of one name apart: " + rules_[r].name);
    names_.push_back(rules_[r].name);
    name_ids_.push_back(static_cast<std::uint8_t>(rules_[r].name_id));
  }
}

const RuleSet& default_rules() {
  static const RuleSet instance;
  return instance;
}

const RuleSet& rules_with(std::span<const std::string> variant_ids) {
  if (variant_ids.empty()) return default_rules();
  std::string key;
  for (const std::string& id : variant_ids) key += id + ' ';
  // Kept for the program's life: charts hold views of their names.
  static std::mutex guard;
  static std::map<std::string, RuleSet> kept;
  std::lock_guard lock(guard);
  auto found = kept.find(key);
  if (found == kept.end()) found = kept.emplace(key, RuleSet(variant_ids)).first;
  return found->second;
}

// ---- one chart ------------------------------------------------------------

namespace {

int stem_of(int pair) { return pair % 10; }
int branch_of(int pair) { return pair % 12; }

int nayin_element(int pair) {
  static const std::array<int, 60> elements = [] {
    std::array<int, 60> result{};
    for (int i = 0; i < 60; ++i) {
      Name name = sexagenary::nayin_name(vocabulary::kSixtyPairs[i]);
      result[i] = vocabulary::element_index(name.substr(name.size() - 2)) - 1;
    }
    return result;
  }();
  return elements[pair];
}

// Positions (bits 0-3) holding a stem sequence in order, gaps allowed.
unsigned sequence_positions(const std::vector<std::array<int, 3>>& sequences, const Natal& natal) {
  const int pairs[] = {natal.year, natal.month, natal.day, natal.hour};
  const int count = natal.hour >= 0 ? 4 : 3;
  unsigned flagged = 0;
  for (const auto& sequence : sequences)
    for (int a = 0; a < count; ++a)
      for (int b = a + 1; b < count; ++b)
        for (int c = b + 1; c < count; ++c)
          if (stem_of(pairs[a]) == sequence[0] && stem_of(pairs[b]) == sequence[1] && stem_of(pairs[c]) == sequence[2])
            flagged |= 1u << a | 1u << b | 1u << c;
  return flagged;
}

// The sources an anchor reads.
int sources_of(Anchor anchor, Source* out) {
  int count = 0;
  auto add = [&](Source source) { out[count++] = source; };
  switch (anchor) {
    case Anchor::YearStem: add(kYearStemSource); break;
    case Anchor::DayStem: add(kDayStemSource); break;
    case Anchor::YearOrDayStem: add(kYearStemSource), add(kDayStemSource); break;
    case Anchor::YearBranch: add(kYearBranchSource); break;
    case Anchor::DayBranch: add(kDayBranchSource); break;
    case Anchor::YearOrDayBranch: add(kYearBranchSource), add(kDayBranchSource); break;
    case Anchor::AnyBranch:
      add(kYearBranchSource), add(kMonthBranchSource), add(kDayBranchSource), add(kHourBranchSource);
      break;
    case Anchor::MonthBranch: add(kMonthBranchSource); break;
    case Anchor::YearNayin: add(kYearNayinSource); break;
    case Anchor::YearBranchBySex: add(kYearBranchBySexSource); break;
    case Anchor::YearOrDayDecade: add(kYearDecadeSource), add(kDayDecadeSource); break;
    case Anchor::DayDecade: add(kDayDecadeSource); break;
    case Anchor::HourPillar: add(kHourPillarSource); break;
    case Anchor::None: add(kNoSource); break;
    case Anchor::ChartStems: break;
  }
  return count;
}

// The pillar each source is read from (-1: none), and its number of values.
constexpr int kSourcePosition[kSourceCount] = {0, 2, 0, 1, 2, 3, 0, 0, 0, 2, 3, -1};
constexpr int kSourceKeys[kSourceCount] = {10, 10, 12, 12, 12, 12, 5, 24, 6, 6, 60, 1};

}  // namespace

void RuleSet::index() {
  int total = 0;
  for (int source = 0; source < kSourceCount; ++source) {
    first_key_[source] = total;
    total += kSourceKeys[source];
  }
  first_key_[kSourceCount] = total;
  slots_.assign(total, Slots{});
  for (std::size_t r = 0; r < rules_.size(); ++r) {
    const Compiled& rule = rules_[r];
    const std::size_t word = r / 64;
    const std::uint64_t bit = 1ull << (r % 64);
    if (rule.anchor == Anchor::ChartStems) {
      if (chart_stems_rule_ >= 0) throw std::logic_error("two rules on the order of the stems");
      chart_stems_rule_ = static_cast<int>(r);
      continue;
    }
    Source sources[4];
    int count = sources_of(rule.anchor, sources);
    for (int i = 0; i < count; ++i) {
      Source source = sources[i];
      for (int position = 0; position < 5; ++position)
        if ((rule.examined >> position & 1u) && (rule.self || kSourcePosition[source] != position))
          allowed_[source][position][word] |= bit;
      for (int key = 0; key < kSourceKeys[source]; ++key)
        for (std::uint64_t targets = rule.table[key]; targets; targets &= targets - 1) {
          int target = std::countr_zero(targets);
          slots_[first_key_[source] + key][rule.pillar_target ? 22 + target : target][word] |= bit;
        }
      if (rule.pillar_target) names_pairs_[source] = true;
    }
  }
}

Finder::Finder(const RuleSet& rules, const Natal& natal) : pairs_{natal.year, natal.month, natal.day, natal.hour} {
  std::array<const RuleSet::Slots*, kSourceCount> slots{};  // null: the chart has no such value
  auto set = [&](Source source, int key) { slots[source] = &rules.slots(source, key); };
  set(kYearStemSource, stem_of(natal.year));
  set(kDayStemSource, stem_of(natal.day));
  set(kYearBranchSource, branch_of(natal.year));
  set(kMonthBranchSource, branch_of(natal.month));
  set(kDayBranchSource, branch_of(natal.day));
  set(kYearNayinSource, nayin_element(natal.year));
  // 阳男阴女 read the first half, 阴男阳女 the second; no sex, no rule.
  if (natal.sex)
    set(kYearBranchBySexSource,
        branch_of(natal.year) + ((natal.year % 2 == 0) == (*natal.sex == Sex::Male) ? 0 : 12));
  set(kYearDecadeSource, natal.year / 10);
  set(kDayDecadeSource, natal.day / 10);
  if (natal.hour >= 0) {
    set(kHourBranchSource, branch_of(natal.hour));
    set(kHourPillarSource, natal.hour);
  }
  set(kNoSource, 0);
  for (int position = 0; position < 5; ++position)
    for (int source = 0; source < kSourceCount; ++source) {
      const RuleBits& allowed = rules.allowed(static_cast<Source>(source), position);
      if (slots[source] && (allowed[0] | allowed[1]))
        active_[position][active_count_[position]++] = {slots[source], allowed,
                                                        rules.names_pairs(static_cast<Source>(source))};
    }
  if (int r = rules.chart_stems_rule(); r >= 0) {
    const RuleSet::Compiled& rule = rules.compiled()[r];
    unsigned flagged = sequence_positions(rule.sequences, natal) & rule.examined;
    for (int position = 0; position < 4; ++position)
      if (flagged >> position & 1u) chart_stems_[position][r / 64] |= 1ull << (r % 64);
  }
}

void Finder::scan(int position, int pair, std::vector<std::uint8_t>& found) const {
  const int stem = stem_of(pair), branch = 10 + branch_of(pair), pair_slot = 22 + pair;
  std::uint64_t low = chart_stems_[position][0], high = chart_stems_[position][1];
  const Active* active = active_[position].data();
  for (int i = 0, count = active_count_[position]; i < count; ++i) {
    const RuleSet::Slots& slots = *active[i].slots;
    std::uint64_t a = slots[stem][0] | slots[branch][0], b = slots[stem][1] | slots[branch][1];
    if (active[i].pairs) a |= slots[pair_slot][0], b |= slots[pair_slot][1];
    low |= a & active[i].allowed[0];
    high |= b & active[i].allowed[1];
  }
  for (std::uint64_t bits = low; bits; bits &= bits - 1)
    found.push_back(static_cast<std::uint8_t>(std::countr_zero(bits)));
  for (std::uint64_t bits = high; bits; bits &= bits - 1)
    found.push_back(static_cast<std::uint8_t>(64 + std::countr_zero(bits)));
}

void Finder::natal(int position, std::vector<std::uint8_t>& found) const {
  if (position < 0 || position > 3 || pairs_[position] < 0) return;
  scan(position, pairs_[position], found);
}

void Finder::extra(int pair, std::vector<std::uint8_t>& found) const { scan(4, pair, found); }

// ---- texts ----------------------------------------------------------------

const std::string& utf8_text(std::string_view gbk) { return utf8_of(gbk); }

void assign_names(const RuleSet& rules, const std::vector<std::uint8_t>& found,
                  std::vector<std::string_view>& names) {
  names.clear();
  int last = -1;
  for (std::uint8_t r : found) {
    int id = rules.name_id(r);
    if (id == last) continue;  // records of one name stand together
    last = id;
    names.push_back(rules.name(r));
  }
}

std::string anchor_text(Anchor anchor) {
  switch (anchor) {
    case Anchor::YearStem: return utf8_of("年干");
    case Anchor::DayStem: return utf8_of("日干");
    case Anchor::YearOrDayStem: return utf8_of("年干、日干");
    case Anchor::YearBranch: return utf8_of("年支");
    case Anchor::DayBranch: return utf8_of("日支");
    case Anchor::YearOrDayBranch: return utf8_of("年支、日支");
    case Anchor::AnyBranch: return utf8_of("四柱地支");
    case Anchor::MonthBranch: return utf8_of("月支（季）");
    case Anchor::YearNayin: return utf8_of("年柱纳音");
    case Anchor::YearBranchBySex: return utf8_of("年支（阳男阴女；阴男阳女）");
    case Anchor::YearOrDayDecade: return utf8_of("年旬、日旬");
    case Anchor::DayDecade: return utf8_of("日旬");
    case Anchor::HourPillar: return utf8_of("时柱");
    case Anchor::None: return utf8_of("本柱");
    case Anchor::ChartStems: return utf8_of("四柱天干顺序");
  }
  return {};
}

std::string target_text(Target target) {
  switch (target) {
    case Target::Stem: return utf8_of("天干");
    case Target::Branch: return utf8_of("地支");
    case Target::StemOrBranch: return utf8_of("天干或地支");
    case Target::Pillar: return utf8_of("干支");
  }
  return {};
}

std::string examined_text(unsigned examined) {
  static const Name kPositions[] = {"年", "月", "日", "时", "运"};
  std::string text;
  for (int position = 0; position < 5; ++position)
    if (examined >> position & 1u) text += utf8_of(kPositions[position]);
  return text;
}

std::string table_text(const RuleSet::Compiled& rule) {
  auto targets = [&](std::uint64_t mask) {
    std::string text;
    for (int bit = 0; bit < 60; ++bit) {
      if (!(mask >> bit & 1u)) continue;
      if (rule.pillar_target) text += utf8_of(vocabulary::kSixtyPairs[bit]);
      else text += utf8_of(bit < 10 ? vocabulary::kStems[bit] : vocabulary::kBranches[bit - 10]);
    }
    return text;
  };
  std::string text;
  auto separate = [&] {
    if (!text.empty()) text += ' ';
  };
  switch (rule.anchor) {
    case Anchor::ChartStems:
      for (const auto& sequence : rule.sequences) {
        separate();
        for (int stem : sequence) text += utf8_of(vocabulary::kStems[stem]);
      }
      return text;
    case Anchor::None:
      for (int pair = 0; pair < 60; ++pair)
        if (rule.table[0] >> pair & 1u) {
          separate();
          text += utf8_of(vocabulary::kSixtyPairs[pair]);
        }
      return text;
    default: break;
  }
  auto key_name = [&](int key) -> std::string {
    switch (rule.anchor) {
      case Anchor::YearStem:
      case Anchor::DayStem:
      case Anchor::YearOrDayStem: return key < 10 ? utf8_of(vocabulary::kStems[key]) : std::string();
      case Anchor::YearNayin: return key < 5 ? utf8_of(vocabulary::kElements[key]) : std::string();
      case Anchor::YearOrDayDecade:
      case Anchor::DayDecade: return key < 6 ? utf8_of(vocabulary::kSixtyPairs[key * 10]) + utf8_of("旬") : std::string();
      case Anchor::HourPillar: return utf8_of(vocabulary::kSixtyPairs[key]);
      case Anchor::YearBranchBySex: return key < 24 ? utf8_of(vocabulary::kBranches[key % 12]) : std::string();
      default: return key < 12 ? utf8_of(vocabulary::kBranches[key]) : std::string();
    }
  };
  // Keys with the same targets are written together, in key order.
  const int key_count = rule.anchor == Anchor::HourPillar ? 60 : rule.anchor == Anchor::YearBranchBySex ? 24 : 12;
  std::vector<bool> written(key_count);
  for (int key = 0; key < key_count; ++key) {
    if (written[key] || !rule.table[key]) continue;
    if (rule.anchor == Anchor::YearBranchBySex && key == 12) text += " |";
    std::string keys;
    int half_end = rule.anchor == Anchor::YearBranchBySex ? (key < 12 ? 12 : 24) : key_count;
    for (int other = key; other < half_end; ++other)
      if (!written[other] && rule.table[other] == rule.table[key]) {
        keys += key_name(other);
        written[other] = true;
      }
    separate();
    text += keys + ">" + targets(rule.table[key]);
  }
  return text;
}

}  // namespace pillar::chart::shensha
