// Tool button with a hint shown when the mouse rests on it.
#pragma once
#include <string>

#include "forms/Button.h"
#include "forms/ToolTip.h"

namespace forms {

class SpeedButton : public Button {
 public:
  bool Create(HWND parent, const std::string& caption, int x, int y, int width, int height, int id,
              const std::string& hint = "") {
    if (!Button::Create(parent, caption, x, y, width, height, id)) return false;
    if (!hint.empty()) SetHint(hint);
    return true;
  }
  void SetHint(const std::string& hint) {
    if (!hint_.Handle()) hint_.Create(GetParent(Handle()), Handle());
    hint_.SetTip(hint);
  }
  const std::string& Hint() const { return hint_.Tip(); }

 private:
  ToolTip hint_;
};

}  // namespace forms
