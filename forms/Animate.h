// Animation control (ANIMATE_CLASS) playing a silent AVI clip.
#pragma once
#include <commctrl.h>

#include "forms/Control.h"

namespace forms {

// The copy-files clip among the resources of shell32.dll.
constexpr int kShellCopyFilesClip = 160;

class Animate : public Control {
 public:
  bool Create(HWND parent, int x, int y, int width, int height, int id) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&icc);
    return Control::Create(parent, ANIMATE_CLASSA, "", WS_VISIBLE | ACS_CENTER | ACS_TRANSPARENT, x, y, width,
                           height, id);
  }
  // False when the file is missing or no AVI clip.
  bool Open(const std::string& path) const {
    return Send(ACM_OPENA, 0, reinterpret_cast<LPARAM>(path.c_str())) != FALSE;
  }
  // A clip from the resources of a module.
  bool OpenResource(HINSTANCE module, int id) const {
    return Send(ACM_OPENA, reinterpret_cast<WPARAM>(module), reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(id))) !=
           FALSE;
  }
  void CloseClip() const { Send(ACM_OPENA, 0, 0); }
  // repeat -1 plays without end.
  bool Play(int repeat = -1, WORD from = 0, WORD to = 0xFFFF) const {
    return Send(ACM_PLAY, static_cast<WPARAM>(repeat), MAKELPARAM(from, to)) != FALSE;
  }
  void Stop() const { Send(ACM_STOP); }
};

}  // namespace forms
