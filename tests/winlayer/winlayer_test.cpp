// The window layer in a real window under Wine.
#include <windows.h>

#include "win_check.h"
#include "window_place.h"
#include "winlayer.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// Lets the window paint everything it has to.
void settle() {
  MSG message;
  for (int round = 0; round < 5; ++round) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(20);
  }
}

COLORREF pixel_of(HWND window, int x, int y) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  settle();
  HDC dc = GetDC(window);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

}  // namespace

int main() {
  winlayer::initialise(GetModuleHandleW(nullptr));
  winlayer::Window window;
  bool created_event = false, destroyed_event = false;
  window.on_created = [&] { created_event = true; };
  window.on_destroyed = [&] { destroyed_event = true; };
  winlayer::Window::Options options;
  options.caption = "窗口层测试";
  options.left = 10;
  options.top = 10;
  options.width = 300;
  options.height = 200;
  CHECK(window.create(options) != nullptr);
  CHECK(created_event);
  CHECK(window.create(options) == nullptr);  // an element is created once
  window.set_background(kRed);
  HWND main = window.handle();
  CHECK(winlayer::Element::of(main) == &window);

  // Transparent: the parent's red shows through; an opaque label keeps its
  // own colour.
  winlayer::Label clear, opaque;
  clear.create(main, 10, 10, 60, 24, "");
  clear.set_background(winlayer::kTransparent);
  opaque.create(main, 100, 10, 60, 24, "");
  opaque.set_background(kGreen);
  CHECK(pixel_of(clear.handle(), 30, 12) == kRed);
  CHECK(pixel_of(opaque.handle(), 30, 12) == kGreen);

  // Move and resize with only the height given.
  winlayer::DropDownList list;
  list.create(main, 20, 60, 40, 20, nullptr, CBS_DROPDOWNLIST);
  RECT before = place_in_parent(list.handle());
  list.move({}, {}, {}, 130);
  RECT after = place_in_parent(list.handle());
  CHECK(after.left == before.left && after.top == before.top);
  CHECK(after.right - after.left == 40);
  // A drop-down list keeps its closed height; the new height goes to the
  // dropped list.
  RECT dropped;
  SendMessageW(list.handle(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  CHECK(dropped.bottom - dropped.top > after.bottom - after.top);

  // Items, selection, a missing index.
  CHECK(list.insert_item("甲", 0) == 0);
  CHECK(list.insert_item("乙", 1) == 1);
  CHECK(list.selection() == -1);
  CHECK(list.select(1));
  CHECK(list.selection() == 1);
  CHECK(list.item_text(1) == "乙");
  CHECK(!list.select(5));
  CHECK(list.item_text(7).empty());

  // A second font deletes the first.
  HFONT first = winlayer::create_chinese_font("SimSun", 12, FW_NORMAL);
  HFONT second = winlayer::create_chinese_font("SimSun", 12, FW_NORMAL);
  clear.set_font(first);
  CHECK(GetObjectType(first) == OBJ_FONT);
  clear.set_font(second);
  CHECK(GetObjectType(first) == 0);
  CHECK(GetObjectType(second) == OBJ_FONT);
  CHECK(reinterpret_cast<HFONT>(SendMessageW(clear.handle(), WM_GETFONT, 0, 0)) == second);

  // A new background colour deletes the old brush.
  HBRUSH old_brush = opaque.background_brush();
  opaque.set_background(kRed);
  CHECK(GetObjectType(old_brush) == 0);

  // Clicks reach the button through its parent, also inside a group box.
  winlayer::GroupBox group;
  group.create(main, 150, 50, 120, 100);
  winlayer::Button button;
  int clicks = 0;
  button.on_click = [&] { ++clicks; };
  button.create(group.handle(), 10, 20, 80, 30, "按钮");
  SendMessageW(button.handle(), BM_CLICK, 0, 0);
  CHECK(clicks == 1);

  // Check box and edit box texts, GBK on both sides.
  winlayer::CheckBox box;
  box.create(main, 10, 100, 100, 20, "选择");
  box.set_checked(true);
  CHECK(box.checked());
  box.set_checked(false);
  CHECK(!box.checked());
  winlayer::EditBox edit;
  edit.create(main, 10, 130, 120, 20);
  edit.set_text("八字\r\n甲子");
  CHECK(edit.text() == "八字\r\n甲子");

  // An element that ends before its window gives the window its own
  // procedure back: the check box still keeps its state.
  HWND left_behind;
  {
    winlayer::CheckBox scoped;
    left_behind = scoped.create(main, 150, 160, 100, 20, "留下");
  }
  CHECK(IsWindow(left_behind));
  CHECK(winlayer::Element::of(left_behind) == nullptr);
  SendMessageW(left_behind, BM_SETCHECK, BST_CHECKED, 0);
  CHECK(SendMessageW(left_behind, BM_GETCHECK, 0, 0) == BST_CHECKED);
  // A window that ends before its element frees the element to create again.
  winlayer::CheckBox outlived;
  HWND first_window = outlived.create(main, 150, 160, 100, 20);
  DestroyWindow(first_window);
  CHECK(outlived.handle() == nullptr);
  CHECK(outlived.create(main, 150, 160, 100, 20) != nullptr);
  outlived.set_checked(true);
  CHECK(outlived.checked());

  // Style added after creation.
  edit.add_style(WS_VSCROLL);
  CHECK((GetWindowLongW(edit.handle(), GWL_STYLE) & WS_VSCROLL) != 0);

  // A refused close keeps the window; an accepted one destroys it.
  window.on_close_query = [] { return 1; };
  SendMessageW(main, WM_CLOSE, 0, 0);
  CHECK(IsWindow(main));
  window.on_close_query = nullptr;
  SendMessageW(main, WM_CLOSE, 0, 0);
  CHECK(!IsWindow(main));
  CHECK(destroyed_event);
  CHECK(winlayer::Element::of(main) == nullptr);
  CHECK(window.handle() == nullptr);
  return win_check::finish();
}
