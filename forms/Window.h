// Thin wrapper over an HWND: one short method per message or call.
#pragma once
#include <windows.h>
#include <string>

namespace forms {

class Window {
 public:
  explicit Window(HWND window = nullptr) : window_(window) {}
  virtual ~Window() = default;

  HWND Handle() const { return window_; }
  operator HWND() const { return window_; }
  void Attach(HWND window) { window_ = window; }

  LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return SendMessageA(window_, msg, w, l); }
  bool Post(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return PostMessageA(window_, msg, w, l) != FALSE; }
  bool Show(int cmd) const { return ShowWindow(window_, cmd) != FALSE; }
  bool IsVisible() const { return IsWindowVisible(window_) != FALSE; }
  bool Enable(bool enable) const { return EnableWindow(window_, enable ? TRUE : FALSE) != FALSE; }
  bool IsEnabled() const { return IsWindowEnabled(window_) != FALSE; }
  bool SetText(const std::string& text) const { return SetWindowTextA(window_, text.c_str()) != FALSE; }
  std::string Text() const {
    int length = GetWindowTextLengthA(window_);
    std::string text(length + 1, '\0');
    text.resize(GetWindowTextA(window_, &text[0], length + 1));
    return text;
  }
  bool Move(int x, int y, int width, int height, bool repaint = true) const {
    return MoveWindow(window_, x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
  }
  bool SetPos(HWND after, int x, int y, int cx, int cy, UINT flags) const {
    return SetWindowPos(window_, after, x, y, cx, cy, flags) != FALSE;
  }
  RECT WindowRect() const { RECT r{}; GetWindowRect(window_, &r); return r; }
  RECT ClientRect() const { RECT r{}; GetClientRect(window_, &r); return r; }
  bool SetFocus() const { return ::SetFocus(window_) != nullptr; }
  bool Invalidate(bool erase = true) const { return InvalidateRect(window_, nullptr, erase ? TRUE : FALSE) != FALSE; }
  void SetFont(HFONT font, bool redraw = true) const { Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }
  bool Destroy() {
    bool done = window_ && DestroyWindow(window_) != FALSE;
    window_ = nullptr;
    return done;
  }

 protected:
  // For the window procedures of our own classes: on WM_NCCREATE binds the
  // object that CreateWindowEx was given as its parameter (a Window*), on
  // WM_NCDESTROY unbinds it; returns the object bound to `window` or nullptr.
  static Window* BoundObject(HWND window, UINT msg, LPARAM l) {
    if (msg == WM_NCCREATE) {
      auto* object = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams);
      object->window_ = window;
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
      return object;
    }
    auto* object = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return object;
  }
  // Stops the window procedure from reaching this object.
  void Unbind() const {
    if (window_ && GetWindowLongPtrA(window_, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
      SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  }

  HWND window_;
};

}  // namespace forms
