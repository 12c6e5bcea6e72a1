// The UTF-8 names of the numbers the chart parts keep, for the edge (JSON,
// table): the engine's lexicon and pillarcore's tables, alive for the
// program. Pairs 0-59 (甲子 …), stems 0-9, branches 0-11.
#pragma once

#include <string_view>

namespace pillar::chart::texts {

std::string_view pair(int pair);
std::string_view stem(int stem);
std::string_view branch(int branch);
std::string_view nayin(int pair);          // 海中金 …
std::string_view void_branches(int pair);  // 戌、亥 …
std::string_view growth(int stem, int branch);     // 长生 … 养, yin stems on their own cycle
std::string_view ten_god(int day_pair, int stem);  // of a stem seen from the day pillar's stem
std::string_view term(int number);         // pillarcore's term numbers: 1 立春 … 24 大寒
std::string_view animal(int animal);       // 0 鼠 … 11 猪
std::string_view sign(int sign);           // 0 白羊 … 11 双鱼

// The relation kinds a chart lists (合 冲 of stems, 合 冲 刑 害 破 of branches).
int relation_count();
std::string_view relation(int kind);
bool relation_of_stems(int kind);

// The stems hidden in a branch, main stem first.
struct HiddenStems {
  int count;
  int stems[3];
};
HiddenStems hidden_stems(int branch);

}  // namespace pillar::chart::texts
