// The manager kestroMgr: one instance per PC; the login form is the main
// form, the report window appears after a login.
#include <winsock2.h>  // before windows.h: the transfer client uses Winsock 2
#include <windows.h>

#include <exception>
#include <stdexcept>

#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "manager/LoginForm.h"
#include "manager/ManagerSettings.h"
#include "manager/ReportWindow.h"
#include "manager/SpreadsheetOptionsForm.h"
#include "transfer/TTmxFtp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!forms::AcquireSingleInstance("KesdroMgr")) {
    forms::ShowMessageBox(nullptr, "既に起動しています。", kManagerCaption, MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  forms::Application& application = forms::Application::Instance();
  try {
    application.Initialize(instance);
    application.SetTitle(kManagerCaption);

    TForm2 form2;
    Form2 = &form2;
    if (!form2.Create(WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 340, 200))
      throw std::runtime_error("ログイン画面を作成できません");
    TForm1 form1;
    Form1 = &form1;
    if (!form1.Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 1024, 740))
      throw std::runtime_error("管理画面を作成できません");
    TTmxFtp ftp;
    TmxFtp = &ftp;
    if (!ftp.Create()) throw std::runtime_error("通信部品を作成できません");
    TForm3 form3;
    Form3 = &form3;
    if (!form3.Create(WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 767, 575))
      throw std::runtime_error("エクセル出力種別画面を作成できません");

    form2.Show(SW_SHOWNORMAL);
    application.Run();
    Form3 = nullptr;
    TmxFtp = nullptr;
    Form1 = nullptr;
    Form2 = nullptr;
  } catch (const std::exception& e) {
    forms::ShowMessageBox(nullptr, e.what(), kManagerCaption, MB_OK);
  } catch (...) {
    forms::ShowMessageBox(nullptr, "不明なエラーが発生しました", kManagerCaption, MB_OK);
  }
  return 0;
}
