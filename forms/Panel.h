// A container window for a group of controls. It hands its children's
// notifications (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, owner-draw) on to its
// parent, takes its background brush from the parent through
// WM_CTLCOLORSTATIC like a static control, draws its caption as a header
// when it has one, and reports a double click as STN_DBLCLK.
#pragma once
#include "forms/CustomControl.h"

namespace forms {

class Panel : public CustomControl {
 public:
  static constexpr int kHeaderHeight = 20;

  bool Create(HWND parent, const std::string& caption, int x, int y, int width, int height, int id,
              DWORD style = WS_VISIBLE | WS_BORDER) {
    return CreateControl({"FormsPanel"}, parent, caption, style | WS_CLIPCHILDREN, x, y, width, height, id,
                         WS_EX_CONTROLPARENT);
  }

 private:
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override {
    switch (msg) {
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_DRAWITEM:
      case WM_MEASUREITEM:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
        result = SendMessageA(GetParent(window_), msg, w, l);
        return true;
      case WM_LBUTTONDBLCLK:
        NotifyParent(STN_DBLCLK);
        return true;
      case WM_ERASEBKGND:
        FillParentBackground(reinterpret_cast<HDC>(w));
        result = 1;
        return true;
      case WM_SETTEXT:
        result = DefWindowProcA(window_, msg, w, l);
        Invalidate();
        return true;
      default:
        return false;
    }
  }

  void Paint(HDC dc) override {
    char caption[128] = {};
    int length = GetWindowTextA(window_, caption, sizeof caption);
    if (length <= 0) return;
    RECT r = ClientRect();
    RECT header{0, 0, r.right, kHeaderHeight};
    FillRect(dc, &header, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT text{6, 0, r.right, kHeaderHeight};
    DrawTextA(dc, caption, length, &text, DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, old);
  }
};

}  // namespace forms
