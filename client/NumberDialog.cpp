#include "client/NumberDialog.h"

#include "client/portable/EditorSettings.h"
#include "forms/Application.h"
#include "forms/InputMethod.h"
#include "forms/MessageBox.h"

TFrmSetNumber* FrmSetNumber = nullptr;

TFrmSetNumber::TFrmSetNumber() : ModalForm("TFrmSetNumber", "［連番］の開始番号設定") {}

bool TFrmSetNumber::Create() {
  return ModalForm::Create(WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, 260, 130);
}

void TFrmSetNumber::FormCreate() {
  Label1.Create(window_, "［連番］の開始番号", 16, 16, 220, 18);
  txtMoji.Create(window_, 16, 38, 220, 22, 100);
  txtMoji.OnKeyPress = [this](char& key) { txtMojiKeyPress(key); };
  SpeedButton1.Create(window_, "OK", 46, 70, 90, 24, IDOK);
  SpeedButton2.Create(window_, "CANCEL", 146, 70, 90, 24, IDCANCEL);
  CenterOnScreen();
}

bool TFrmSetNumber::Execute(HWND owner, int& serial) {
  number_ = serial;
  if (ShowModal(owner) != IDOK) return false;
  serial = number_;
  return true;
}

void TFrmSetNumber::FormShow() {
  txtMoji.SetText(std::to_string(number_));
  txtMoji.SelectAll();
  txtMoji.SetFocus();
  forms::SetInputMethodOpen(txtMoji, false);
}

void TFrmSetNumber::txtMojiKeyPress(char& key) {
  if (GetKeyState(VK_CONTROL) < 0) return;
  if ((key < '0' || key > '9') && key != '\b') key = 0;
}

void TFrmSetNumber::SpeedButton1Click() {
  int value = 0;
  if (!ParseDecimal(txtMoji.Text(), value)) {
    forms::ShowMessageBox(window_, "開始番号には数字を入力してください。", forms::Application::Instance().Title(),
                          MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
    txtMoji.SetFocus();
    return;  // the dialog stays open, the number unchanged
  }
  number_ = value;
  EndModal(IDOK);
}

void TFrmSetNumber::SpeedButton2Click() { EndModal(IDCANCEL); }

bool TFrmSetNumber::HandleMessage(UINT msg, WPARAM w, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND) return false;
  if (LOWORD(w) == IDOK) SpeedButton1Click();
  else if (LOWORD(w) == IDCANCEL) SpeedButton2Click();
  else return false;
  result = 0;
  return true;
}
