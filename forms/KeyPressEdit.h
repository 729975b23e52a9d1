// Single-line edit whose typed characters pass through OnKeyPress first;
// setting the character to 0 discards it.
#pragma once
#include <commctrl.h>

#include <functional>

#include "forms/Edit.h"

namespace forms {

class KeyPressEdit : public Edit {
 public:
  bool Create(HWND parent, int x, int y, int width, int height, int id, DWORD style = 0) {
    if (!Edit::Create(parent, x, y, width, height, id, style)) return false;
    return SetWindowSubclass(window_, &KeyPressEdit::Proc, 1, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  }
  std::function<void(char&)> OnKeyPress;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<KeyPressEdit*>(data);
    if (msg == WM_CHAR && self->OnKeyPress) {
      char key = static_cast<char>(w);
      self->OnKeyPress(key);
      if (key == 0) return 0;
      w = static_cast<unsigned char>(key);
    } else if (msg == WM_NCDESTROY) {
      RemoveWindowSubclass(window, &KeyPressEdit::Proc, 1);
    }
    return DefSubclassProc(window, msg, w, l);
  }
};

}  // namespace forms
