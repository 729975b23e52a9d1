// Dialog for the start number of the editor's numbered icon.
#pragma once
#include <windows.h>

#include "forms/Button.h"
#include "forms/KeyPressEdit.h"
#include "forms/Label.h"
#include "forms/ModalForm.h"

class TFrmSetNumber : public forms::ModalForm {
 public:
  TFrmSetNumber();
  bool Create();

  // Shows the dialog with serial; on OK serial becomes the number typed.
  // True on OK.
  bool Execute(HWND owner, int& serial);

  void SpeedButton1Click();
  void SpeedButton2Click();
  void txtMojiKeyPress(char& key);

  forms::Label Label1;
  forms::KeyPressEdit txtMoji;
  forms::Button SpeedButton1, SpeedButton2;

 protected:
  void FormCreate() override;
  void FormShow() override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  int number_ = 1;
};

extern TFrmSetNumber* FrmSetNumber;
