// The updater downloader: one instance per PC, a splash window whose timer
// does the whole version-up once and ends the program.
#include <winsock2.h>  // before windows.h: the transfer client uses Winsock 2
#include <windows.h>

#include <stdexcept>

#include "forms/Application.h"
#include "transfer/TTmxFtp.h"
#include "updater/SplashForm.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!forms::AcquireSingleInstance("TMXDownLoader")) return 0;  // already running: end silently

  return forms::RunProgram(instance, "DownLoader", [](forms::Application& application) {
    TForm1 form1;
    Form1 = &form1;
    if (!form1.Create()) throw std::runtime_error("画面を作成できません");
    if (!form1.StartComplete()) {  // FormCreate has shown and logged why
      Form1 = nullptr;
      return;
    }
    TTmxFtp ftp;
    TmxFtp = &ftp;
    if (!ftp.Create()) throw std::runtime_error("通信部品を作成できません");

    form1.Show(SW_SHOWNORMAL);
    if (!form1.tmrEvent.Enabled()) form1.tmrEvent.SetEnabled(true);
    application.Run();
    TmxFtp = nullptr;
    Form1 = nullptr;
  });
}
