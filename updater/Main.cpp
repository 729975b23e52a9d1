// The updater downloader: one instance per PC, a splash window whose timer
// does the whole version-up once and ends the program.
#include <winsock2.h>  // before windows.h: the transfer client uses Winsock 2
#include <windows.h>

#include <exception>
#include <stdexcept>

#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "transfer/TTmxFtp.h"
#include "updater/SplashForm.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!forms::AcquireSingleInstance("TMXDownLoader")) return 0;  // already running: end silently

  forms::Application& application = forms::Application::Instance();
  try {
    application.Initialize(instance);
    application.SetTitle("DownLoader");

    TForm1 form1;
    Form1 = &form1;
    if (!form1.Create()) throw std::runtime_error("画面を作成できません");
    if (!form1.StartComplete()) {  // FormCreate has shown and logged why
      Form1 = nullptr;
      return 0;
    }
    TTmxFtp ftp;
    TmxFtp = &ftp;
    if (!ftp.Create()) throw std::runtime_error("通信部品を作成できません");

    form1.Show(SW_SHOWNORMAL);
    if (!form1.tmrEvent.Enabled()) form1.tmrEvent.SetEnabled(true);
    application.Run();
    TmxFtp = nullptr;
    Form1 = nullptr;
  } catch (const std::exception& e) {
    forms::ShowMessageBox(nullptr, e.what(), "ERROR", MB_OK | MB_TOPMOST);
  } catch (...) {
    forms::ShowMessageBox(nullptr, "不明なエラーが発生しました\r\nプログラムを終了します", "ERROR", MB_OK | MB_TOPMOST);
  }
  return 0;
}
