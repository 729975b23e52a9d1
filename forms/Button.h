// Push button.
#pragma once
#include "forms/Control.h"

namespace forms {

class Button : public Control {
 public:
  bool Create(HWND parent, const std::string& caption, int x, int y, int width, int height, int id) {
    return Control::Create(parent, "BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x, y, width,
                           height, id);
  }
  void Click() const { Send(BM_CLICK); }
};

}  // namespace forms
