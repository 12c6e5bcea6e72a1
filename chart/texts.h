// Where pillarcore's GBK texts become the engine's UTF-8: the one conversion.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace pillar::chart {

// The UTF-8 form of a GBK text of pillarcore's tables. Conversions are kept,
// so a text is converted once per thread.
const std::string& utf8_of(std::string_view gbk);

// The sixty pairs in UTF-8, 0-based (甲子 = 0), converted once.
const std::array<std::string, 60>& pairs_utf8();

}  // namespace pillar::chart
