#include "client/PostAnimation.h"

#include <string>

#include "client/Common.h"
#include "client/Global.h"

void PostAnimation::Create(HWND form, int top, int panelId, int clipId) const {
  panel_.Create(form, "", 0, top, 320, 140, panelId, WS_BORDER);
  caption_.Create(panel_, "ポストに投函中です。しばらくお待ちください", 10, 10, 300, 18);
  progress_.Create(panel_, "", 10, 32, 300, 18);
  clip_.Create(panel_, 10, 54, 300, 76, clipId);
}

bool PostAnimation::Show(HWND form, int width) const {
  try {
    RECT panel = panel_.WindowRect();
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&panel), 2);
    int panelWidth = panel.right - panel.left;
    panel_.Move(width / 2 - panelWidth / 2, panel.top, panelWidth, panel.bottom - panel.top);
    progress_.SetText("");
    clip_.Stop();
    panel_.SetPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(panel_);
    std::string clip = gExeDir + kestro::kPostAnimation;
    bool opened = FileExists(clip) ? clip_.Open(clip)
                                   : clip_.OpenResource(GetModuleHandleA("shell32.dll"), forms::kShellCopyFilesClip);
    if (opened) clip_.Play(-1);
    return true;
  } catch (...) {
    return false;
  }
}

void PostAnimation::Hide() const {
  clip_.Stop();
  clip_.CloseClip();
  panel_.Show(SW_HIDE);
  progress_.SetText("");
}
