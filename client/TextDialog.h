// Text input of the editor's framed-text tool. The text stays from one use
// to the next.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "forms/Button.h"
#include "forms/Memo.h"
#include "forms/ModalForm.h"

class TFrmSetString : public forms::ModalForm {
 public:
  static constexpr int kOk = 1;
  static constexpr int kCancel = 2;

  TFrmSetString();
  bool Create();

  // kOk or kCancel (closing otherwise counts as kCancel).
  int Execute(HWND owner);
  // The lines of Memo1 as the box shows them (long lines wrapped).
  std::vector<std::string> Lines() const;

  void SpeedButton1Click() { EndModal(kOk); }
  void SpeedButton2Click() { EndModal(kCancel); }

  forms::Memo Memo1;
  forms::Button SpeedButton1, SpeedButton2;

 protected:
  void FormCreate() override;
  void FormShow() override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;
};

extern TFrmSetString* FrmSetString;
