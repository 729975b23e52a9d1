// Static text.
#pragma once
#include "forms/Control.h"

namespace forms {

class Label : public Control {
 public:
  bool Create(HWND parent, const std::string& caption, int x, int y, int width, int height, int id = -1) {
    return Control::Create(parent, "STATIC", caption, WS_VISIBLE | SS_LEFT, x, y, width, height, id);
  }
};

}  // namespace forms
