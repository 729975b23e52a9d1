// Check box with its caption (BS_AUTOCHECKBOX).
#pragma once
#include "forms/Control.h"

namespace forms {

class CheckBox : public Control {
 public:
  bool Create(HWND parent, const std::string& caption, int x, int y, int width, int height, int id) {
    return Control::Create(parent, "BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, x, y, width,
                           height, id);
  }
  bool Checked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
  void SetChecked(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

}  // namespace forms
