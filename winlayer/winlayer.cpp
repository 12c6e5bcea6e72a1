#include "winlayer.h"

#include <unordered_map>
#include <vector>

namespace winlayer {

namespace {

HINSTANCE g_module = nullptr;

// Window handle to element, filled at creation.
std::unordered_map<HWND, Element*>& registry() {
  static std::unordered_map<HWND, Element*> map;
  return map;
}

const wchar_t kWindowClass[] = L"WTWindow";

// The layer's own kinds of control, with their creation defaults.
const ControlKind kGroupBoxKind = {
    L"Button", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 120, 100, "分组框",
    ControlKind::Background::ButtonFace};
const ControlKind kButtonKind = {
    L"Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 80, 32, "按钮",
    ControlKind::Background::None};
const ControlKind kCheckBoxKind = {
    L"Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_VCENTER, 0, 0, 70, 20,
    "选择框", ControlKind::Background::ButtonFace};
const ControlKind kLabelKind = {
    L"Static", WS_CHILD | WS_VISIBLE, SS_CENTERIMAGE, 0, 80, 24, "标签",
    ControlKind::Background::ButtonFace};
const ControlKind kEditBoxKind = {
    L"Edit", WS_CHILD | WS_VISIBLE | WS_TABSTOP, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 80, 20, "",
    ControlKind::Background::White};
const ControlKind kDropDownListKind = {
    L"ComboBox",
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | CBS_NOINTEGRALHEIGHT,
    CBS_DROPDOWN, 0, 100, 110, "", ControlKind::Background::White};

}  // namespace

std::wstring widen(std::string_view gbk) {
  if (gbk.empty()) return {};
  int length = MultiByteToWideChar(kTextCodePage, 0, gbk.data(), static_cast<int>(gbk.size()),
                                   nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kTextCodePage, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(),
                      length);
  return wide;
}

std::string narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  int length = WideCharToMultiByte(kTextCodePage, 0, wide.data(), static_cast<int>(wide.size()),
                                   nullptr, 0, nullptr, nullptr);
  std::string gbk(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(kTextCodePage, 0, wide.data(), static_cast<int>(wide.size()), gbk.data(),
                      length, nullptr, nullptr);
  return gbk;
}

void initialise(HINSTANCE module) { g_module = module; }
HINSTANCE module() { return g_module ? g_module : GetModuleHandleW(nullptr); }

int run_message_loop(HWND window, HACCEL accelerators, const std::function<bool(MSG&)>& hook) {
  MSG message;
  for (;;) {
    if (window && !IsWindow(window)) return 0;
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) return got == 0 ? static_cast<int>(message.wParam) : 0;
    if (hook && hook(message)) return 0;
    if (TranslateAcceleratorW(window, accelerators, &message)) continue;
    if (window && IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

HFONT create_chinese_font(std::string_view face, int height, int weight) {
  std::wstring wide_face = widen(face);
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, GB2312_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, wide_face.c_str());
}

// ---------------------------------------------------------------- Element

Element::~Element() {
  detach();
  if (brush_ && brush_ != GetStockObject(NULL_BRUSH)) DeleteObject(brush_);
  if (font_) DeleteObject(font_);
}

Element* Element::of(HWND window) {
  auto found = registry().find(window);
  return found == registry().end() ? nullptr : found->second;
}

void Element::attach(HWND window) {
  window_ = window;
  registry()[window] = this;
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (current != &Element::procedure) {
    previous_ = current;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Element::procedure));
  }
}

void Element::detach() {
  if (!window_) return;
  auto found = registry().find(window_);
  if (found != registry().end() && found->second == this) registry().erase(found);
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC));
  if (previous_ && current == &Element::procedure)
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  window_ = nullptr;
  previous_ = nullptr;
}

void Element::set_background(COLORREF colour) {
  if (brush_ && brush_ != GetStockObject(NULL_BRUSH)) DeleteObject(brush_);
  background_ = colour;
  brush_ = colour == kTransparent ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                  : CreateSolidBrush(colour);
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void Element::set_text_colour(COLORREF colour) {
  text_colour_ = colour;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void Element::set_font(HFONT font) {
  if (font_ && font_ != font) DeleteObject(font_);
  font_ = font;
  if (window_) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Element::set_drawing_order(int order) {
  HWND after = HWND_TOP;
  if (order == 2) after = HWND_BOTTOM;
  if (order == 3) after = HWND_TOPMOST;
  if (order == 4) after = HWND_NOTOPMOST;
  SetWindowPos(window_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Element::move(std::optional<int> left, std::optional<int> top, std::optional<int> width,
                   std::optional<int> height, bool repaint) {
  RECT outer;
  GetWindowRect(window_, &outer);
  HWND parent = (GetWindowLongW(window_, GWL_STYLE) & WS_CHILD) ? GetParent(window_) : nullptr;
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&outer), 2);
  MoveWindow(window_, left.value_or(outer.left), top.value_or(outer.top),
             width.value_or(outer.right - outer.left), height.value_or(outer.bottom - outer.top),
             repaint);
}

void Element::add_style(DWORD style) {
  SetWindowLongW(window_, GWL_STYLE, GetWindowLongW(window_, GWL_STYLE) | style);
  SetWindowPos(window_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH Element::handle_colour(HDC dc) {
  if (background_ == kTransparent && brush_) {
    SetTextColor(dc, text_colour_);
    SetBkMode(dc, TRANSPARENT);
    // The parent paints its own background into our device context, shifted
    // so that its pixels under this control land at our origin.
    HWND parent = GetParent(window_);
    RECT place;
    GetWindowRect(window_, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    POINT origin;
    SetViewportOrgEx(dc, -place.left, -place.top, &origin);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    return brush_;
  }
  if (!brush_) return nullptr;
  SetTextColor(dc, text_colour_);
  SetBkColor(dc, background_);
  return brush_;
}

LRESULT Element::pass_on(UINT message, WPARAM wparam, LPARAM lparam) {
  if (previous_) return CallWindowProcW(previous_, window_, message, wparam, lparam);
  return DefWindowProcW(window_, message, wparam, lparam);
}

bool Element::handle_message(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Element::handle_common(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == WM_COMMAND && lparam) {
    Element* child = of(reinterpret_cast<HWND>(lparam));
    if (!child) return false;
    child->handle_command(HIWORD(wparam), LOWORD(wparam));
    result = 0;
    return true;
  }
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    Element* child = of(reinterpret_cast<HWND>(lparam));
    HBRUSH brush = child ? child->handle_colour(reinterpret_cast<HDC>(wparam)) : nullptr;
    if (!brush) return false;
    result = reinterpret_cast<LRESULT>(brush);
    return true;
  }
  return false;
}

LRESULT CALLBACK Element::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Element* element = of(window);
  if (!element && message == WM_NCCREATE) {
    // A window of the layer's own class announces its element while being
    // created, before CreateWindowEx returns.
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    element = static_cast<Element*>(create->lpCreateParams);
    if (element) {
      element->window_ = window;
      registry()[window] = element;
    }
  }
  if (!element) return DefWindowProcW(window, message, wparam, lparam);

  LRESULT result = 0;
  if (element->handle_message(message, wparam, lparam, result)) return result;
  if (element->handle_common(message, wparam, lparam, result)) return result;
  result = element->pass_on(message, wparam, lparam);
  if (message == WM_NCDESTROY) element->detach();
  return result;
}

// ----------------------------------------------------------------- Window

HWND Window::create(const Options& options) {
  if (handle()) return nullptr;
  std::wstring class_name = widen(options.class_name);
  if (class_name == kWindowClass) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    window_class.lpfnWndProc = &Element::procedure;
    window_class.hInstance = module();
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszMenuName = L"";
    window_class.lpszClassName = kWindowClass;
    RegisterClassExW(&window_class);  // a repeated registration fails harmlessly
  }
  set_background(GetSysColor(COLOR_BTNFACE));
  HWND window = CreateWindowExW(options.extended_style, class_name.c_str(),
                                widen(options.caption).c_str(),
                                options.style | WS_CLIPSIBLINGS, options.left,
                                options.top, options.width, options.height, options.owner,
                                nullptr, module(), this);
  if (!window) return nullptr;
  if (handle() != window || of(window) != this) attach(window);
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  if (options.owner) {
    for (WPARAM which : {ICON_BIG, ICON_SMALL})
      SendMessageW(window, WM_SETICON, which, SendMessageW(options.owner, WM_GETICON, which, 0));
  }
  SendMessageW(window, kCreatedMessage, 0, 0);
  if (options.visible) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
  }
  if (options.modal && options.owner) {
    EnableWindow(options.owner, FALSE);
    run_message_loop(window);
    EnableWindow(options.owner, TRUE);
    SetActiveWindow(options.owner);
  }
  return window;
}

void Window::set_small_icon(HICON icon) {
  SendMessageW(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool Window::handle_message(UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND: {
      if (!background_brush()) return false;
      RECT area;
      GetClientRect(handle(), &area);
      FillRect(reinterpret_cast<HDC>(wparam), &area, background_brush());
      result = 1;
      return true;
    }
    case WM_CLOSE:
      if (!(on_close_query && on_close_query() != 0)) DestroyWindow(handle());
      result = 0;
      return true;
    case WM_DESTROY:
      if (on_destroyed) on_destroyed();
      return false;
    case kCreatedMessage:
      if (on_created) {
        on_created();
        RECT client;
        GetClientRect(handle(), &client);
        SendMessageW(handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
      }
      result = 0;
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------- Control

HWND Control::create(HWND parent, int left, int top, std::optional<int> width,
                     std::optional<int> height, const char* caption, std::optional<DWORD> style) {
  if (handle()) return nullptr;
  DWORD full_style = kind_.always_style | style.value_or(kind_.default_style) | WS_CLIPSIBLINGS;
  HWND window = CreateWindowExW(kind_.extended_style, kind_.class_name,
                                widen(caption ? caption : kind_.default_caption).c_str(),
                                full_style, left, top, width.value_or(kind_.default_width),
                                height.value_or(kind_.default_height), parent, nullptr, module(),
                                nullptr);
  if (!window) return nullptr;
  attach(window);
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  switch (kind_.background) {
    case ControlKind::Background::ButtonFace: set_background(GetSysColor(COLOR_BTNFACE)); break;
    case ControlKind::Background::White: set_background(RGB(255, 255, 255)); break;
    case ControlKind::Background::None: break;
  }
  return window;
}

GroupBox::GroupBox() : Control(kGroupBoxKind) {}
Button::Button() : Control(kButtonKind) {}
CheckBox::CheckBox() : Control(kCheckBoxKind) {}
Label::Label() : Control(kLabelKind) {}
EditBox::EditBox() : Control(kEditBoxKind) {}
DropDownList::DropDownList() : Control(kDropDownListKind) {}

void Button::handle_command(int code, int) {
  if (code == BN_CLICKED && on_click) on_click();
}

bool CheckBox::checked() const { return SendMessageW(handle(), BM_GETCHECK, 0, 0) != 0; }

void CheckBox::set_checked(bool checked) {
  SendMessageW(handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string EditBox::text() const {
  std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(handle())) + 1);
  int length = GetWindowTextW(handle(), buffer.data(), static_cast<int>(buffer.size()));
  return narrow(std::wstring_view(buffer.data(), static_cast<std::size_t>(length)));
}

void EditBox::set_text(std::string_view text) { SetWindowTextW(handle(), widen(text).c_str()); }

int DropDownList::insert_item(std::string_view text, int index, LPARAM data) {
  std::wstring wide = widen(text);
  auto at = SendMessageW(handle(), CB_INSERTSTRING, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(wide.c_str()));
  if (at == CB_ERR || at == CB_ERRSPACE) return -1;
  SendMessageW(handle(), CB_SETITEMDATA, static_cast<WPARAM>(at), data);
  return static_cast<int>(at);
}

int DropDownList::selection() const {
  return static_cast<int>(SendMessageW(handle(), CB_GETCURSEL, 0, 0));
}

bool DropDownList::select(int index) {
  return SendMessageW(handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0) != CB_ERR;
}

std::string DropDownList::item_text(int index) const {
  auto length = SendMessageW(handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  length = SendMessageW(handle(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(buffer.data()));
  if (length == CB_ERR) return {};
  return narrow(std::wstring_view(buffer.data(), static_cast<std::size_t>(length)));
}

}  // namespace winlayer
