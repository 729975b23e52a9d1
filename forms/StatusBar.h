// Status bar (STATUSCLASSNAME) with panels.
#pragma once
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "forms/Control.h"

namespace forms {

class StatusBar : public Control {
 public:
  enum class Align { Left, Center, Right };

  bool Create(HWND parent, int id) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    return Control::Create(parent, STATUSCLASSNAMEA, "", WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0, id);
  }
  // Right edges of the panels in client coordinates; -1 runs to the end.
  bool SetParts(const std::vector<int>& rightEdges) const {
    return Send(SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data())) != FALSE;
  }
  // The control draws a text after one tab centred, after two right-aligned.
  bool SetPanelText(int panel, const std::string& text, Align align = Align::Left) const {
    std::string shown = (align == Align::Center ? "\t" : align == Align::Right ? "\t\t" : "") + text;
    return Send(SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(shown.c_str())) != FALSE;
  }
  // The panel's text without the alignment tabs. The buffer allows two
  // bytes a character: some systems count the length in wide characters.
  std::string PanelText(int panel) const {
    std::vector<char> text(LOWORD(Send(SB_GETTEXTLENGTHA, panel)) * 2 + 2, '\0');
    Send(SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(text.data()));
    std::string shown(text.data());
    return shown.substr(std::min(shown.find_first_not_of('\t'), shown.size()));
  }
  // Follows the parent's new size (call on WM_SIZE).
  void Resize() const { Send(WM_SIZE); }
};

}  // namespace forms
