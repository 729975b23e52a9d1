// The version-up button: the updater is named the manager's download folder
// and program in its settings file, started, and the manager closes so that
// the updater can replace it and start it again.
#include "manager/ReportWindow.h"

#include <string>

#include "common/FileSystem.h"
#include "common/ProcessStart.h"
#include "common/UpdaterSettings.h"
#include "forms/MessageBox.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"

namespace {

constexpr char kUpdaterIni[] = "DownLoader.ini";
constexpr char kUpdaterExe[] = "DownLoader.exe";

}  // namespace

void TForm1::SpeedButton14Click() {
  const std::string ini = gExeDir + kUpdaterIni, updater = gExeDir + kUpdaterExe;
  if (!FileExists(ini)) {
    forms::ShowMessageBox(Handle(), "バージョンアップの為の設定ファイル（DownLoader.ini）が確認できません。",
                          kManagerCaption, MB_OK);
    return;
  }
  if (!FileExists(updater)) {
    forms::ShowMessageBox(Handle(), "バージョンアップの為の実行ファイル（DownLoader.exe）が確認できません。",
                          kManagerCaption, MB_OK);
    return;
  }
  if (forms::ShowMessageBox(Handle(), "バージョンアップを開始します。\r\nよろしいですか？", kManagerCaption,
                            MB_OKCANCEL | MB_DEFBUTTON2) != IDOK)
    return;
  fncWriteSysLog("バージョンアップ開始");
  // Started on a file without these keys, the updater would install some other program.
  if (!fncWriteUpdaterKeys(ini, {{"PROJECT", "kestromgr"}, {"EXE", "kestromgr.exe"}})) {
    fncWriteSysLog(kUpdaterIniUnwritable);
    forms::ShowMessageBox(Handle(), kUpdaterIniUnwritable, kManagerCaption, MB_OK);
    return;
  }
  // The updater runs only once this window's close work is done; it starts
  // the manager again later, after this process has ended.
  HANDLE held = nullptr;
  DWORD error = 0;
  if (!fncStartProgram(updater, gExeDir, &error, &held)) {
    fncWriteSysLog("バージョンアップ処理起動失敗しました。(" + std::to_string(error) + ")");
    return;
  }
  fncWriteSysLog("バージョンアップ処理起動しました。");
  fncWriteSysLog("強制終了します。");
  gShutdown = 1;
  Close();
  fncResumeProgram(held);
}
