// A form shown modally: its owner is disabled and a message loop runs until
// the form is hidden (closed or ended with a modal result).
#pragma once
#include "forms/Application.h"
#include "forms/Form.h"

namespace forms {

class ModalForm : public Form {
 public:
  using Form::Form;

  int ShowModal(HWND owner, int showCommand = SW_SHOW) {
    modalResult_ = 0;
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    // A plain show first: only that one reliably sends WM_SHOWWINDOW (and so
    // FormShow); maximising or restoring a hidden window does not.
    Show(SW_SHOW);
    if (showCommand != SW_SHOW) Show(showCommand);
    SetForegroundWindow(window_);
    MSG msg;
    while (window_ && IsVisible() && !Application::Instance().Terminated()) {
      BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
        break;
      }
      if (got == -1) break;
      if (IsDialogMessageA(window_, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    // The program is ending: the form still closes through its own handlers.
    if (window_ && IsVisible()) Close();
    if (window_ && IsVisible()) Show(SW_HIDE);
    if (ownerWasEnabled) {
      EnableWindow(owner, TRUE);
      SetForegroundWindow(owner);
    }
    return modalResult_;
  }
  // Sets the result and closes the form, which ends ShowModal.
  void EndModal(int result) {
    modalResult_ = result;
    Close();
  }
  int ModalResult() const { return modalResult_; }

 private:
  int modalResult_ = 0;
};

}  // namespace forms
