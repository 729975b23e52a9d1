// The manager's login form, its main form: server, FTP user and password.
// A successful login hides it and shows the report window.
#pragma once
#include <winsock2.h>  // before windows.h: the transfer client uses Winsock 2
#include <windows.h>

#include <string>
#include <vector>

#include "forms/Button.h"
#include "forms/ComboBox.h"
#include "forms/Form.h"
#include "forms/KeyPressEdit.h"
#include "forms/Label.h"
#include "forms/MessageFilter.h"
#include "forms/Panel.h"

class TForm2 : public forms::Form {
 public:
  TForm2();

  forms::ComboBox ComboBox1;      // server
  forms::KeyPressEdit Edit1;      // FTP user
  forms::KeyPressEdit MaskEdit1;  // password
  forms::Button SpeedButton1;     // log in
  forms::Button SpeedButton2;     // cancel
  forms::Panel Panel1;            // shown while a login runs

 protected:
  void FormCreate() override;
  void FormShow() override;
  void FormCloseQuery(bool& canClose) override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  void CreateControls();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void ComboBox1KeyPress(char& key);
  void Edit1KeyPress(char& key);
  void MaskEdit1KeyPress(char& key);
  void ShutDownMessage();

  // Fetches downloader.ini of the store into the program folder.
  void FetchUpdaterSettings();
  // The login ends: the panel goes, the form is usable again.
  void EndBusy();
  void Repaint() const;
  std::vector<std::string> ServerList() const;

  forms::MessageFilter comboEdit_;  // Enter in the combo box's edit field
  forms::Label labelServer_, labelUser_, labelPassword_, labelBusy_;
};

extern TForm2* Form2;
