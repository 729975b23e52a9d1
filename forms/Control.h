// A child control made from a system window class.
#pragma once
#include "forms/Window.h"

namespace forms {

class Control : public Window {
 public:
  // param: the CreateWindowEx parameter that the class's procedure gets.
  bool Create(HWND parent, const char* className, const std::string& text, DWORD style,
              int x, int y, int width, int height, int id, DWORD exStyle = 0, void* param = nullptr) {
    window_ = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD, x, y, width, height,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleA(nullptr), param);
    if (window_) SetFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), false);
    return window_ != nullptr;
  }
  int Id() const { return GetDlgCtrlID(window_); }
};

}  // namespace forms
