// Single-line edit field.
#pragma once
#include "forms/Control.h"

namespace forms {

class Edit : public Control {
 public:
  bool Create(HWND parent, int x, int y, int width, int height, int id, DWORD style = 0) {
    return Control::Create(parent, "EDIT", "", WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | style, x, y,
                           width, height, id);
  }
  void SetReadOnly(bool readOnly) const { Send(EM_SETREADONLY, readOnly ? TRUE : FALSE); }
  void SetLimitText(int limit) const { Send(EM_LIMITTEXT, limit); }
  void SelectAll() const { Send(EM_SETSEL, 0, -1); }
};

}  // namespace forms
