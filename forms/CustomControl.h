// Base of the controls with a window class of our own: registers the class
// once per process, binds the window to the object while it is created and
// hands every message to HandleMessage. What a control leaves of WM_PAINT goes
// to Paint between BeginPaint and EndPaint, and Paint covers the whole client
// area: the background is not erased first. Anything else goes to
// DefWindowProc.
#pragma once
#include "forms/Control.h"
#include "forms/ControlClass.h"

namespace forms {

class CustomControl : public Control {
 public:
  CustomControl() = default;
  CustomControl(const CustomControl&) = delete;
  CustomControl& operator=(const CustomControl&) = delete;
  ~CustomControl() override { Unbind(); }

 protected:
  // The window class: its name, cursor (a system cursor id) and class style.
  struct ClassInfo {
    const char* name;
    LPCSTR cursor = IDC_ARROW;
    UINT style = CS_DBLCLKS;
  };

  bool CreateControl(const ClassInfo& info, HWND parent, const std::string& text, DWORD style, int x, int y,
                     int width, int height, int id, DWORD exStyle = 0) {
    if (!RegisterControlClass(info.name, &CustomControl::Proc, info.style, info.cursor)) return false;
    return Control::Create(parent, info.name, text, style, x, y, width, height, id, exStyle,
                           static_cast<Window*>(this));
  }

  // A message of the control; true when handled, with result set.
  virtual bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
    (void)msg, (void)w, (void)l, (void)result;
    return false;
  }
  virtual void Paint(HDC dc) { (void)dc; }

  // Tells the parent `code` through WM_COMMAND, as a system control would.
  void NotifyParent(WORD code) const {
    SendMessageA(GetParent(window_), WM_COMMAND, MAKEWPARAM(Id(), code), reinterpret_cast<LPARAM>(window_));
  }
  // Fills the client area with the brush that the parent gives a static
  // control (WM_CTLCOLORSTATIC), or the face colour when it gives none.
  void FillParentBackground(HDC dc) const {
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(window_), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(window_)));
    RECT r = ClientRect();
    FillRect(dc, &r, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM w, LPARAM l) {
    auto* self = static_cast<CustomControl*>(BoundObject(window, msg, l));
    if (!self) return DefWindowProcA(window, msg, w, l);
    LRESULT result = 0;
    if (self->HandleMessage(msg, w, l, result)) return result;
    if (msg == WM_PAINT) {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      self->Paint(dc);
      EndPaint(window, &paint);
      return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcA(window, msg, w, l);
  }
};

}  // namespace forms
