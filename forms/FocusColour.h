// The focus colour of a form's fields: the field that has the focus shows
// its own background colour, the others the window colour.
#pragma once
#include <windows.h>

namespace forms {

class FocusColour {
 public:
  explicit FocusColour(COLORREF colour) : colour_(colour), brush_(CreateSolidBrush(colour)) {}
  ~FocusColour() {
    if (brush_) DeleteObject(brush_);
  }
  FocusColour(const FocusColour&) = delete;
  FocusColour& operator=(const FocusColour&) = delete;

  // The input window (for a combo box its edit) takes the colour; both it
  // and its control are repainted.
  void Enter(HWND control, HWND input = nullptr) {
    focused_ = input ? input : control;
    Repaint(control, input);
  }
  void Exit(HWND control, HWND input = nullptr) {
    if (focused_ == (input ? input : control)) focused_ = nullptr;
    Repaint(control, input);
  }

  HWND Focused() const { return focused_; }
  HBRUSH Brush() const { return brush_; }

  // WM_CTLCOLOREDIT: colours the edit's device context; the brush to return.
  LRESULT ColourEdit(HDC dc, HWND edit) const {
    bool focused = edit == focused_;
    SetBkColor(dc, focused ? colour_ : GetSysColor(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(focused ? brush_ : GetSysColorBrush(COLOR_WINDOW));
  }

 private:
  static void Repaint(HWND control, HWND input) {
    InvalidateRect(control, nullptr, TRUE);
    if (input && input != control) InvalidateRect(input, nullptr, TRUE);
  }

  COLORREF colour_;
  HBRUSH brush_;
  HWND focused_ = nullptr;
};

// Moves the focus from a control to the next tab stop of the form (the one
// before with back); nothing happens where there is none.
inline void FocusNext(HWND form, HWND from, bool back = false) {
  if (HWND next = GetNextDlgTabItem(form, from, back ? TRUE : FALSE)) ::SetFocus(next);
}

}  // namespace forms
