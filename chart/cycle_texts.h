// The UTF-8 names of the numbers the chart parts keep, for the edge (JSON,
// table): converted once from pillarcore's tables, alive for the program.
#pragma once

#include <string_view>

namespace pillar::chart::texts {

std::string_view pair(int pair);          // 0-59: 甲子 …
std::string_view stem(int stem);          // 0-9
std::string_view branch(int branch);      // 0-11
std::string_view nayin(int pair);         // 海中金 …
std::string_view void_branches(int pair); // 戌、亥 …
std::string_view phase(int phase);        // 0 长生 … 11 养
std::string_view ten_god(int day_pair, int stem);  // of a stem seen from the day pillar's stem
std::string_view relation(int kind);      // facts::RelationKind: 合 冲 合 冲 刑 害 破
std::string_view term(int number);        // pillarcore's term numbers: 1 立春 … 24 大寒
std::string_view animal(int animal);      // 0 鼠 … 11 猪
std::string_view sign(int sign);          // 0 白羊 … 11 双鱼

}  // namespace pillar::chart::texts
