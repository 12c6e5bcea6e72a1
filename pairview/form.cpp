#include "form.h"

namespace pairview {

namespace {

constexpr COLORREF kAzure = RGB(0, 136, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Each control gets fonts of its own: the element deletes its font.
HFONT form_font() { return winlayer::create_chinese_font("SimSun", 12, FW_NORMAL); }
HFONT heading_font() { return winlayer::create_chinese_font("", 21, 800); }

constexpr int kSmallIconResource = 129;

struct GroupPlace {
  int left, top, width, height;
};
const std::array<GroupPlace, 5> kGroupPlaces = {{
    {67, 7, 104, 104}, {181, 7, 104, 104}, {295, 7, 104, 104}, {409, 7, 104, 104},
    {526, 7, 73, 104},
}};
constexpr int kSexGroup = 4;

// Labels in creation order; group -1 is the main window.
struct LabelPlace {
  const char* caption;
  int group;
  int left, top, width, height;
  bool heading;
};
const std::array<LabelPlace, 8> kLabelPlaces = {{
    {"八字一：", -1, 9, 52, 48, 24, false},
    {"八字二：", -1, 9, 80, 48, 24, false},
    {"年柱", 0, 28, 13, 48, 24, true},
    {"月柱", 1, 27, 11, 48, 24, true},
    {"日柱", 2, 27, 11, 48, 24, true},
    {"时柱", 3, 27, 11, 48, 24, true},
    {"八字共同点：", -1, 6, 124, 88, 18, false},
    {"性别", kSexGroup, 12, 11, 48, 24, true},
}};

const std::array<const char*, 3> kSexTexts = {"-", "男", "女"};

enum class Holds { Branch, Stem, Sex };

// Selectors by number: their group, items, place and start item.
struct SelectorPlace {
  int group;
  Holds holds;
  int left, top;
  int start;
};
const std::array<SelectorPlace, Form::kSelectorCount> kSelectorPlaces = {{
    {0, Holds::Branch, 56, 46, 0}, {0, Holds::Stem, 8, 46, 0},
    {0, Holds::Branch, 56, 74, 0}, {0, Holds::Stem, 8, 74, 0},
    {1, Holds::Branch, 56, 46, 2}, {1, Holds::Stem, 8, 46, 2},
    {1, Holds::Branch, 56, 74, 2}, {1, Holds::Stem, 8, 74, 2},
    {2, Holds::Branch, 56, 46, 0}, {2, Holds::Stem, 8, 46, 0},
    {2, Holds::Branch, 56, 74, 0}, {2, Holds::Stem, 8, 74, 0},
    {3, Holds::Branch, 56, 46, 0}, {3, Holds::Stem, 8, 46, 0},
    {3, Holds::Branch, 56, 74, 0}, {3, Holds::Stem, 8, 74, 0},
    {kSexGroup, Holds::Sex, 16, 46, 0}, {kSexGroup, Holds::Sex, 16, 74, 0},
}};
constexpr int kSelectorListHeight = 130;

// Selector numbers of a chart's eight texts in chart order (stem before
// branch in each pillar); chart 2's are two further on.
constexpr std::array<int, 8> kChart1Selectors = {1, 0, 5, 4, 9, 8, 13, 12};
constexpr int kChart2Offset = 2;
constexpr int kSexSelector1 = 16;

template <std::size_t N>
void insert_items(winlayer::DropDownList& list, const std::array<const char*, N>& items) {
  for (std::size_t i = 0; i < N; ++i) list.insert_item(items[i], static_cast<int>(i));
}

}  // namespace

void Form::build(std::function<void()> on_start, std::function<void()> on_destroyed) {
  winlayer::Window::Options options;
  options.caption = "Pairview V3.0";
  options.left = 493;
  options.top = 106;
  options.width = 611;
  options.height = 350;
  options.style = WS_CAPTION | WS_SYSMENU;
  window_.create(options);
  if (HICON icon = LoadIconW(winlayer::module(), MAKEINTRESOURCEW(kSmallIconResource)))
    window_.set_small_icon(icon);
  window_.on_destroyed = std::move(on_destroyed);
  window_.set_background(kAzure);
  HWND main = window_.handle();

  for (std::size_t g = 0; g < groups_.size(); ++g) {
    const auto& place = kGroupPlaces[g];
    groups_[g].create(main, place.left, place.top, place.width, place.height, "",
                      BS_GROUPBOX | BS_LEFT);
    groups_[g].set_background(kAzure);
    groups_[g].set_font(form_font());
  }

  start_.create(main, 529, 120, 70, 20, "开始比较", BS_CENTER | BS_VCENTER);
  start_.on_click = std::move(on_start);
  start_.set_drawing_order();
  start_.set_font(form_font());

  mode_.create(main, 344, 120, 144, 16, "视子午为阳、巳亥为阴",
               BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER);
  mode_.set_background(kAzure);
  mode_.set_text_colour(kBlue);
  mode_.set_checked(true);
  mode_.set_drawing_order();
  mode_.set_font(form_font());

  for (std::size_t l = 0; l < labels_.size(); ++l) {
    const auto& place = kLabelPlaces[l];
    HWND parent = place.group < 0 ? main : groups_[place.group].handle();
    labels_[l].create(parent, place.left, place.top, place.width, place.height, place.caption,
                      SS_CENTERIMAGE);
    labels_[l].set_background(kAzure);
    labels_[l].set_text_colour(kBlue);
    labels_[l].set_drawing_order();
    labels_[l].set_font(place.heading ? heading_font() : form_font());
  }

  output_.create(main, 5, 144, 594, 172, "", ES_MULTILINE | WS_TABSTOP);
  output_.set_background(kBlue);
  output_.set_text_colour(kYellow);
  output_.set_drawing_order();
  output_.add_style(WS_VSCROLL);
  output_.set_font(form_font());

  for (int s = 0; s < kSelectorCount; ++s) {
    const auto& place = kSelectorPlaces[s];
    auto& list = selectors_[s];
    list.create(groups_[place.group].handle(), place.left, place.top, 40, 20, nullptr,
                CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
                    CBS_NOINTEGRALHEIGHT);
    list.set_background(kWhite);
    list.set_text_colour(kBlue);
    list.set_drawing_order();
    switch (place.holds) {
      case Holds::Branch: insert_items(list, kBranchTexts); break;
      case Holds::Stem: insert_items(list, kStemTexts); break;
      case Holds::Sex: insert_items(list, kSexTexts); break;
    }
    list.move({}, {}, {}, kSelectorListHeight);
    list.select(place.start);
    list.set_font(form_font());
  }
}

Chart Form::chart(int number) const {
  Chart chart;
  for (int i = 0; i < 8; ++i) {
    const auto& list = selectors_[kChart1Selectors[i] + (number - 1) * kChart2Offset];
    chart[i] = list.item_text(list.selection());
  }
  return chart;
}

int Form::sex(int number) const { return selectors_[kSexSelector1 + number - 1].selection(); }

int Form::mode() const { return mode_.checked() ? 1 : 0; }

}  // namespace pairview
