// The client Kestro: one instance per PC, hidden main form, tray icon.
#include <winsock2.h>  // before windows.h: the transfer client uses Winsock 2
#include <windows.h>

#include <stdexcept>

#include "client/Global.h"
#include "client/ListForm.h"
#include "client/MainForm.h"
#include "client/NumberDialog.h"
#include "client/PictureEditor.h"
#include "client/RegistrationForm.h"
#include "client/SettingsForm.h"
#include "client/TextDialog.h"
#include "forms/Application.h"
#include "transfer/TTmxFtp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  gStartComplete = false;
  if (!forms::AcquireSingleInstance("TMXKestro")) return 0;  // already running: end silently

  return forms::RunProgram(instance, "Kestro", [](forms::Application& application) {
    TForm1 form1;
    Form1 = &form1;
    if (!form1.Create(WS_OVERLAPPEDWINDOW, 0, 400, 300)) throw std::runtime_error("メイン画面を作成できません");
    TFrmSetNumber setNumber;
    FrmSetNumber = &setNumber;
    if (!setNumber.Create()) throw std::runtime_error("番号設定画面を作成できません");
    TFrmSetString setString;
    FrmSetString = &setString;
    if (!setString.Create()) throw std::runtime_error("文字設定画面を作成できません");
    form1.Show(SW_HIDE);
    TTmxFtp ftp;
    TmxFtp = &ftp;
    if (!ftp.Create()) throw std::runtime_error("通信部品を作成できません");
    TForm2 form2;
    if (!form2.Create()) throw std::runtime_error("設定画面を作成できません");
    TForm5 form5;
    Form5 = &form5;
    if (!form5.Create()) throw std::runtime_error("プレビュー画面を作成できません");
    // Created last: its creation fetches downloader.ini and the project list.
    TForm3 form3(ftp);
    if (!form3.Create()) throw std::runtime_error("登録画面を作成できません");
    gRegistration = &form3;
    TForm4 form4;
    if (!form4.Create()) throw std::runtime_error("一覧画面を作成できません");

    gStartComplete = true;
    if (!form1.tmrEvent.Enabled()) form1.tmrEvent.SetEnabled(true);
    application.Run();
    Form4 = nullptr;
    gRegistration = nullptr;
    Form5 = nullptr;
    Form2 = nullptr;
    TmxFtp = nullptr;
    FrmSetString = nullptr;
    FrmSetNumber = nullptr;
    Form1 = nullptr;
  });
}
