// A container window for a group of controls. It hands its children's
// notifications (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, owner-draw) on to its
// parent, takes its background brush from the parent through
// WM_CTLCOLORSTATIC like a static control, draws its caption as a header
// when it has one, and reports a double click as STN_DBLCLK.
#pragma once
#include "forms/Control.h"
#include "forms/ControlClass.h"

namespace forms {

class Panel : public Control {
 public:
  static constexpr int kHeaderHeight = 20;

  bool Create(HWND parent, const std::string& caption, int x, int y, int width, int height, int id,
              DWORD style = WS_VISIBLE | WS_BORDER) {
    if (!RegisterControlClass(kClassName, &Panel::Proc)) return false;
    return Control::Create(parent, kClassName, caption, style | WS_CLIPCHILDREN, x, y, width, height, id,
                           WS_EX_CONTROLPARENT);
  }

 private:
  static constexpr char kClassName[] = "FormsPanel";

  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM w, LPARAM l) {
    HWND parent = GetParent(window);
    switch (msg) {
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_DRAWITEM:
      case WM_MEASUREITEM:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
        return SendMessageA(parent, msg, w, l);
      case WM_LBUTTONDBLCLK:
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), STN_DBLCLK),
                     reinterpret_cast<LPARAM>(window));
        return 0;
      case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(w);
        auto brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, WM_CTLCOLORSTATIC, w, reinterpret_cast<LPARAM>(window)));
        RECT r;
        GetClientRect(window, &r);
        FillRect(dc, &r, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
      }
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        char caption[128] = {};
        int length = GetWindowTextA(window, caption, sizeof caption);
        if (length > 0) {
          RECT r;
          GetClientRect(window, &r);
          RECT header{0, 0, r.right, kHeaderHeight};
          FillRect(dc, &header, GetSysColorBrush(COLOR_BTNFACE));
          HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
          SetBkMode(dc, TRANSPARENT);
          SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
          RECT text{6, 0, r.right, kHeaderHeight};
          DrawTextA(dc, caption, length, &text, DT_SINGLELINE | DT_VCENTER);
          SelectObject(dc, old);
        }
        EndPaint(window, &paint);
        return 0;
      }
      case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(window, msg, w, l);
        InvalidateRect(window, nullptr, TRUE);
        return result;
      }
      default:
        return DefWindowProcA(window, msg, w, l);
    }
  }
};

}  // namespace forms
