// A thin object layer over a top-level window and the standard controls.
// One element object per window; a process-wide registry maps each window
// handle to its element, and one window procedure routes every message to
// the element that owns the window. A parent reflects WM_COMMAND and
// WM_CTLCOLOR* to the child's element, so each control paints and reacts on
// its own. Every text crossing this interface is GBK; inside, the wide
// Win32 functions are used, so the program shows the same under any ANSI
// code page.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace winlayer {

// Background colour that lets the parent show through a control.
inline constexpr COLORREF kTransparent = static_cast<COLORREF>(-1);

// The code page of every text the layer takes or gives.
inline constexpr UINT kTextCodePage = 936;
std::wstring widen(std::string_view gbk);
std::string narrow(std::wstring_view wide);

// Remembers the module that owns the windows the layer creates.
void initialise(HINSTANCE module);
HINSTANCE module();

// Runs the thread's message loop until WM_QUIT, until `window` (if given) no
// longer exists, or until `hook` (if given) returns non-zero. Returns the
// WM_QUIT wParam, or 0. The layer hosts no ActiveX control, so there is no
// flag for letting one see key messages first.
int run_message_loop(HWND window = nullptr, HACCEL accelerators = nullptr,
                     const std::function<bool(MSG&)>& hook = nullptr);

// A font asking for the Chinese character set, so that a face with CJK
// glyphs is chosen whatever the system code page.
HFONT create_chinese_font(std::string_view face, int height, int weight);

class Element {
 public:
  Element() = default;
  Element(const Element&) = delete;
  Element& operator=(const Element&) = delete;
  virtual ~Element();

  HWND handle() const { return window_; }
  // The element owning a window, or null.
  static Element* of(HWND window);

  // Replaces the brush; kTransparent lets the parent show through.
  void set_background(COLORREF colour);
  void set_text_colour(COLORREF colour);
  // The element owns the font from now on and deletes the one it held.
  void set_font(HFONT font);
  // 1 top, 2 bottom, 3 always on top, 4 not always on top; others mean 1.
  void set_drawing_order(int order = 1);
  // Parts not given keep their current value (parent client coordinates).
  void move(std::optional<int> left, std::optional<int> top, std::optional<int> width,
            std::optional<int> height, bool repaint = true);
  void add_style(DWORD style);

  HFONT font() const { return font_; }
  HBRUSH background_brush() const { return brush_; }
  COLORREF text_colour() const { return text_colour_; }

 protected:
  // Enters the registry and makes the layer's procedure the window's.
  void attach(HWND window);
  // Kind-specific handling; returns true with `result` set when consumed.
  virtual bool handle_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  // Notification reflected from the parent.
  virtual void handle_command(int /*code*/, int /*id*/) {}
  // WM_CTLCOLOR* reflected from the parent: the brush to paint with, or null
  // to let Windows paint as usual.
  HBRUSH handle_colour(HDC dc);
  LRESULT pass_on(UINT message, WPARAM wparam, LPARAM lparam);

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  bool handle_common(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  // Leaves the registry, gives the window back its own procedure and forgets
  // the handle; runs at WM_NCDESTROY and when the element ends first.
  void detach();

  HWND window_ = nullptr;
  WNDPROC previous_ = nullptr;  // null: DefWindowProcW
  COLORREF text_colour_ = RGB(0, 0, 0);
  COLORREF background_ = kTransparent;
  HBRUSH brush_ = nullptr;  // owned unless it is the hollow stock brush
  HFONT font_ = nullptr;    // owned
};

// The top-level window, class "WTWindow".
class Window : public Element {
 public:
  struct Options {
    std::string caption;
    int left = CW_USEDEFAULT, top = CW_USEDEFAULT, width = 380, height = 250;
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    DWORD extended_style = 0;
    std::string class_name = "WTWindow";
    HWND owner = nullptr;
    bool modal = false;
    bool visible = true;
  };
  // Null if the element already has a window or creation fails.
  HWND create(const Options& options);
  void set_small_icon(HICON icon);

  std::function<void()> on_destroyed;
  std::function<int()> on_close_query;  // non-zero refuses the close
  std::function<void()> on_created;

  // The notification that creation sends the new window.
  static constexpr UINT kCreatedMessage = WM_USER + 2;

 protected:
  bool handle_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
};

// What a control kind sets at creation.
struct ControlKind {
  const wchar_t* class_name;
  DWORD always_style;
  DWORD default_style;
  DWORD extended_style;
  int default_width, default_height;
  const char* default_caption;  // GBK
  enum class Background { None, ButtonFace, White } background;
};

class Control : public Element {
 public:
  // Null if the element already has a window or creation fails. A caption
  // or style not given takes the kind's default; a given style is OR-ed
  // with the bits the kind always sets.
  HWND create(HWND parent, int left, int top, std::optional<int> width = {},
              std::optional<int> height = {}, const char* caption = nullptr,
              std::optional<DWORD> style = {});

 protected:
  explicit Control(const ControlKind& kind) : kind_(kind) {}

 private:
  const ControlKind& kind_;
};

class GroupBox : public Control {
 public:
  GroupBox();
};

class Button : public Control {
 public:
  Button();
  std::function<void()> on_click;

 protected:
  void handle_command(int code, int id) override;
};

class CheckBox : public Control {
 public:
  CheckBox();
  bool checked() const;
  void set_checked(bool checked);
};

class Label : public Control {
 public:
  Label();
};

class EditBox : public Control {
 public:
  EditBox();
  std::string text() const;
  void set_text(std::string_view text);
};

class DropDownList : public Control {
 public:
  DropDownList();
  // Returns the index the item went to, or -1.
  int insert_item(std::string_view text, int index = -1, LPARAM data = 0);
  int selection() const;  // -1 when nothing is selected
  bool select(int index);
  std::string item_text(int index) const;
};

}  // namespace winlayer
