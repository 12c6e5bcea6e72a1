// pairview's one window: the input form for two charts, the mode check box,
// the start button and the output box. The controls' objects exist before
// their windows; build() creates every window in its fixed order.
#pragma once

#include <array>
#include <functional>

#include "report.h"
#include "winlayer.h"

namespace pairview {

class Form : public FormReader {
 public:
  static constexpr int kSelectorCount = 18;

  // Creates the window and every control; the click of the start button
  // calls `on_start`, the window's destroyed event `on_destroyed`.
  void build(std::function<void()> on_start, std::function<void()> on_destroyed);

  Chart chart(int number) const override;
  int sex(int number) const override;
  int mode() const override;

  winlayer::EditBox& output() { return output_; }

 private:
  winlayer::Window window_;
  std::array<winlayer::GroupBox, 5> groups_;  // year, month, day, hour, sex
  winlayer::Button start_;
  winlayer::CheckBox mode_;
  std::array<winlayer::Label, 8> labels_;
  winlayer::EditBox output_;
  std::array<winlayer::DropDownList, kSelectorCount> selectors_;
};

}  // namespace pairview
