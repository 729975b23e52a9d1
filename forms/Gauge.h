// Progress bar (PROGRESS_CLASS).
#pragma once
#include <commctrl.h>

#include "forms/Control.h"

namespace forms {

class Gauge : public Control {
 public:
  bool Create(HWND parent, int x, int y, int width, int height, int id, DWORD style = WS_VISIBLE) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    return Control::Create(parent, PROGRESS_CLASSA, "", style, x, y, width, height, id);
  }
  void SetRange(int low, int high) const { Send(PBM_SETRANGE32, low, high); }
  void SetPosition(int position) const { Send(PBM_SETPOS, position); }
  int Position() const { return static_cast<int>(Send(PBM_GETPOS)); }
};

}  // namespace forms
