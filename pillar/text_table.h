// Columns aligned for a terminal: a CJK character takes two columns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pillar::cli {

// Columns `text` (UTF-8) takes on a terminal.
int display_width(std::string_view text);

class TextTable {
 public:
  void add_row(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
  // Each column padded to its widest cell, two spaces between columns,
  // every line ended by '\n' and free of trailing spaces.
  std::string render() const;

 private:
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace pillar::cli
