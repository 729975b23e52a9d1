// A hint shown over one control.
#pragma once
#include <commctrl.h>

#include <string>

#include "forms/Window.h"

namespace forms {

class ToolTip : public Window {
 public:
  bool Create(HWND owner, HWND tool) {
    window_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (!window_) return false;
    tool_ = tool;
    owner_ = owner;
    TOOLINFOA info = Info();
    info.lpszText = const_cast<char*>("");
    return Send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
  }
  void SetTip(const std::string& text) {
    tip_ = text;
    TOOLINFOA info = Info();
    info.lpszText = const_cast<char*>(tip_.c_str());
    Send(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
  }
  const std::string& Tip() const { return tip_; }

 private:
  TOOLINFOA Info() const {
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner_;
    info.uId = reinterpret_cast<UINT_PTR>(tool_);
    return info;
  }

  HWND owner_ = nullptr;
  HWND tool_ = nullptr;
  std::string tip_;
};

}  // namespace forms
