// Combo box with an edit field (CBS_DROPDOWN) or a plain list.
#pragma once
#include <commctrl.h>

#include "forms/Control.h"

namespace forms {

class ComboBox : public Control {
 public:
  // height: the control with its list dropped down.
  bool Create(HWND parent, int x, int y, int width, int height, int id, DWORD style = CBS_DROPDOWN) {
    return Control::Create(parent, "COMBOBOX", "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | style,
                           x, y, width, height, id);
  }
  void SetLimitText(int limit) const { Send(CB_LIMITTEXT, limit); }
  int Add(const std::string& item) const {
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
  }
  // Empties the list and the edit field.
  void Clear() const { Send(CB_RESETCONTENT); }
  int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  int ItemIndex() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  void SetItemIndex(int index) const { Send(CB_SETCURSEL, index); }
  // The edit field inside the box (nullptr for a plain list).
  HWND EditHandle() const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(window_, &info) ? info.hwndItem : nullptr;
  }
};

}  // namespace forms
