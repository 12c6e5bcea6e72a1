// The 53 exports of pillarcore.dll, written once.
//
// PILLAR_EXPORT(ordinal, name, argument bytes, result, parameters)
//   result:     Integer (returned directly), Slot (text kept in the export's
//               result slot) or None.
//   parameters: Text (GBK text pointer, null = empty), Int (32-bit), Date
//               (8-byte OLE date), Out32 / OutDate (pointer to a caller's
//               32-bit integer / 8-byte date).
//
// Ordinals follow the byte order of the GBK names. The export table, the
// frame's result slots, the declarations and the ABI tests are all derived
// from this list. It is included several times with different definitions of
// PILLAR_EXPORT.
#define PILLAR_TEXTS4 Text, Text, Text, Text
#define PILLAR_TEXTS5 Text, Text, Text, Text, Text
#define PILLAR_TEXTS8 PILLAR_TEXTS4, PILLAR_TEXTS4
#define PILLAR_TEXTS13 PILLAR_TEXTS8, PILLAR_TEXTS5

PILLAR_EXPORT( 1, 八字是否正确,   32, Integer, (PILLAR_TEXTS8))
PILLAR_EXPORT( 2, 串宫押运,       8, Slot,    (Text, Text))
PILLAR_EXPORT( 3, 取八神方向,     36, None,    (Text, Out32, Out32, Out32, Out32, Out32, Out32, Out32, Out32))
PILLAR_EXPORT( 4, 取八字等级,     4, Slot,    (Text))
PILLAR_EXPORT( 5, 取财库,         4, Slot,    (Text))
PILLAR_EXPORT( 6, 取藏干十神数量, 52, Integer, (PILLAR_TEXTS13))
PILLAR_EXPORT( 7, 取藏干五行数量, 52, Integer, (PILLAR_TEXTS13))
PILLAR_EXPORT( 8, 取得随机密码,   8, Slot,    (Int, Int))
PILLAR_EXPORT( 9, 取地支藏干,     4, Slot,    (Text))
PILLAR_EXPORT(10, 取地支十神数量, 20, Integer, (PILLAR_TEXTS5))
PILLAR_EXPORT(11, 取地支五行数量, 20, Integer, (PILLAR_TEXTS5))
PILLAR_EXPORT(12, 取干冲,         4, Slot,    (Text))
PILLAR_EXPORT(13, 取干合,         4, Slot,    (Text))
PILLAR_EXPORT(14, 取干支数量,     36, Integer, (PILLAR_TEXTS8, Text))
PILLAR_EXPORT(15, 取干支五行,     4, Slot,    (Text))
PILLAR_EXPORT(16, 取干支序数,     4, Integer, (Text))
PILLAR_EXPORT(17, 取官禄,         4, Slot,    (Text))
PILLAR_EXPORT(18, 取甲子太岁,     4, Slot,    (Text))
PILLAR_EXPORT(19, 取甲子序号,     4, Integer, (Text))
PILLAR_EXPORT(20, 取节气名称,     4, Slot,    (Int))
PILLAR_EXPORT(21, 取进交退伏,     4, Slot,    (Text))
PILLAR_EXPORT(22, 取空亡,         4, Slot,    (Text))
PILLAR_EXPORT(23, 取纳音,         4, Slot,    (Text))
PILLAR_EXPORT(24, 取年支属相,     4, Slot,    (Text))
PILLAR_EXPORT(25, 取起运年龄,     36, Integer, (Date, Int, Out32, OutDate, Out32, OutDate, Out32, OutDate))
PILLAR_EXPORT(26, 取气候,         8, Slot,    (Date))
PILLAR_EXPORT(27, 取生克数值,     8, Integer, (Text, Text))
PILLAR_EXPORT(28, 取十神关系,     12, Slot,    (Text, Text, Int))
PILLAR_EXPORT(29, 取司令,         8, Slot,    (Date))
PILLAR_EXPORT(30, 取太岁方向,     4, Slot,    (Text))
PILLAR_EXPORT(31, 取天干十神数量, 16, Integer, (PILLAR_TEXTS4))
PILLAR_EXPORT(32, 取天干五行数量, 20, Integer, (PILLAR_TEXTS5))
PILLAR_EXPORT(33, 取旺衰对应地支, 8, Slot,    (Text, Int))
PILLAR_EXPORT(34, 取旺衰状态,     12, Slot,    (Text, Text, Int))
PILLAR_EXPORT(35, 取旺相五行,     8, Slot,    (Text, Int))
PILLAR_EXPORT(36, 取五行序号,     4, Integer, (Text))
PILLAR_EXPORT(37, 取星期,         8, Slot,    (Date))
PILLAR_EXPORT(38, 取星座,         8, Slot,    (Date))
PILLAR_EXPORT(39, 取印库,         4, Slot,    (Text))
PILLAR_EXPORT(40, 取月时干,       12, Slot,    (Text, Text, Int))
PILLAR_EXPORT(41, 取支冲,         4, Slot,    (Text))
PILLAR_EXPORT(42, 取支害,         4, Slot,    (Text))
PILLAR_EXPORT(43, 取支合,         4, Slot,    (Text))
PILLAR_EXPORT(44, 取支破,         4, Slot,    (Text))
PILLAR_EXPORT(45, 日主旺相,       4, Slot,    (Text))
PILLAR_EXPORT(46, 十神简写,       4, Slot,    (Text))
PILLAR_EXPORT(47, 是否地支相冲,   8, Integer, (Text, Text))
PILLAR_EXPORT(48, 是否地支相害,   8, Integer, (Text, Text))
PILLAR_EXPORT(49, 是否地支相合,   8, Integer, (Text, Text))
PILLAR_EXPORT(50, 是否地支相破,   8, Integer, (Text, Text))
PILLAR_EXPORT(51, 是否地支相刑,   8, Integer, (Text, Text))
PILLAR_EXPORT(52, 是否天干相冲,   8, Integer, (Text, Text))
PILLAR_EXPORT(53, 是否天干相合,   8, Integer, (Text, Text))
