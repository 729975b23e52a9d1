// Closing the report window: the exit button, the question, the end of the
// Windows session, and the settings saved and work files removed on close.
#include "manager/ReportWindow.h"

#include <string>

#include "forms/MessageBox.h"
#include "manager/IniFiles.h"
#include "manager/LoginForm.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerUtilities.h"
#include "manager/ManagerWork.h"

void TForm1::SpeedButton6Click() { Close(); }

void TForm1::FormCloseQuery(bool& canClose) {
  // No question after a shutdown request or the version-up.
  if (gShutdown == 1) return;
  // Work still running would go on under the close work.
  if (ManagerWork::RefuseClose()) {
    canClose = false;
    return;
  }
  // None from a window that was never shown (the login was cancelled).
  if (!IsVisible()) return;
  ManagerWork question("終了確認");
  canClose = forms::ShowMessageBox(Handle(), "終了しますか？", kManagerCaption, MB_OKCANCEL | MB_DEFBUTTON2) == IDOK;
}

void TForm1::FormClose() {
  const std::string ini = ManagerIniPath();
  // A key that could not be read at start is saved only when it was set
  // since: the file may hold the user's value.
  const std::string day = DateTimePicker1.Date();
  if (!gMgr.unread.count("BASEDATE") || day != firstShownDay_)
    IniWriteString(ini, kManagerSection, "BASEDATE", day.substr(0, 4) + "/" + day.substr(4, 2) + "/" + day.substr(6, 2));
  for (const auto& [key, value] : ClosingSettings(gMgr)) IniWriteString(ini, kManagerSection, key, value);
  ListClear();
  const std::string work = WorkFolderPath();
  for (const char* name : {"Dirlist.tmp", "Go.bat"}) {
    SetFileAttributesA((work + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((work + name).c_str());
  }
  fncCleanUpTemp();
  fncWriteSysLog("終了");
  if (Form2) Form2->Close();
}

void TForm1::ShutDownMessage() {
  gShutdown = 1;
  fncWriteSysLog("Shutdown要求取得");
}
