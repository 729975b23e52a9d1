// The report window's editing of the store's project list: fetch, edit in
// the PC's text editor until every line is a valid project name, store.
#include <winsock2.h>
#include <windows.h>

#include <stdexcept>

#include "common/FileSystem.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ReportWindow.h"
#include "manager/portable/ProjectListRules.h"
#include "manager/portable/StorePaths.h"
#include "transfer/TTmxFtp.h"

namespace {

constexpr char kReferFailed[] = "プロジェクトリスト参照に失敗しました。";

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool done = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
  CloseHandle(file);
  return done;
}

// The whole file; "" when it cannot be read.
std::string ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

}  // namespace

StoreFileState TForm1::ProjectListOnStore() {
  if (gMgr.SAVE != 1) {
    const std::string path = SharedStorePath(gMgr.FILESAVEPATH, "", kProjectListName);
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return StoreFileState::Present;
    const DWORD error = GetLastError();
    // Only a reachable store folder can tell that the file is missing.
    if ((error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && FolderExists(gMgr.FILESAVEPATH))
      return StoreFileState::Absent;
    return StoreFileState::Unknown;
  }
  if (!TmxFtp || TmxFtp->FtpLogin() != 0) return StoreFileState::Unknown;
  std::vector<std::string> lines;
  const FolderListing listing = ListFtpFolder(RemoteStoreFolder(gServerRoot, ""), lines);
  TmxFtp->FtpDisconnect();
  return FileInListing(listing, lines, true, kProjectListName);
}

bool TForm1::RunProjectListEditor(const std::string& file) {
  const std::string work = WorkFolderPath();
  std::string commandLine = "\"CMD\" \"/C\" \"" + file + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                                      nullptr, work.c_str(), &startup, &process) != FALSE;
  fncWriteSysLog("\"CMD /C\" \"" + file + "\"");
  if (!started) {
    fncWriteSysLog("起動失敗");
    return false;
  }
  fncWriteSysLog("起動成功");
  forms::Application& application = forms::Application::Instance();
  application.ProcessMessages();
  Sleep(500);
  while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) application.ProcessMessages();
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  fncWriteSysLog("起動処理終了");
  return true;
}

void TForm1::SpeedButton11Click() {
  const std::string file = WorkFolderPath() + kProjectListName;
  try {
    fncWriteSysLog("## プロジェクトリスト参照開始");
    panelMsg.SetText("サーバーと通信中です。お待ちください・・");
    StartPanel();
    const int fetched = ftpGetFile("", kProjectListName);
    fncWriteSysLog(std::string("\\") + kProjectListName);
    if (fetched == 0) {
      fncWriteSysLog("ファイル存在");
    } else {
      // The example list may replace only a list that is not there: after a
      // time-out or a lost connection the store's list is left alone.
      // -1: no connection, its box already shown; nothing to ask.
      const StoreFileState state = fetched == -1 ? StoreFileState::Unknown : ProjectListOnStore();
      if (state != StoreFileState::Absent) {
        fncWriteSysLog(state == StoreFileState::Present ? "ファイル取得失敗" : "ファイル有無不明");
        forms::ShowMessageBox(Handle(), kReferFailed, kManagerCaption, MB_OK);
        EndPanel();
        fncWriteSysLog("## プロジェクトリスト参照終了");
        return;
      }
      fncWriteSysLog("なければ生成");
      ForceDirectories(WorkFolderPath());
      Memo1 = ExampleProjectList();
      if (!WriteWholeFile(file, ProjectListText(Memo1))) throw std::runtime_error("example list not written");
    }
    Animate1.Stop();
    for (;;) {
      const std::string before = ReadWholeFile(file);
      if (!RunProjectListEditor(file)) {
        forms::ShowMessageBox(Handle(), kReferFailed, kManagerCaption, MB_OK);
        EndPanel();
        return;
      }
      std::string edited = ReadWholeFile(file);
      if (edited == before) {
        // An editor that hands the file to its running window ends at once.
        forms::ShowMessageBox(Handle(), "編集が終わったらOKを押してください。", kManagerCaption, MB_OK);
        edited = ReadWholeFile(file);
      }
      if (edited == before) {
        fncWriteSysLog(file + "<-変更されていないためアップロードしません");
        EndPanel();
        fncWriteSysLog("## プロジェクトリスト参照終了");
        return;
      }
      if (FirstInvalidProjectLine(ProjectListLines(edited)) < 0) break;
      forms::ShowMessageBox(Handle(), "プロジェク名はファイル名になります。ファイル名に使えない文字が含まれています。",
                            kManagerCaption, MB_OK);
    }
    Animate1.Play(-1);
    if (ftpPutFile("", kProjectListName) == 0) {
      SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(file.c_str());
      fncWriteSysLog("ファイルアップロード終了");
      EndPanel();
      ListDisp();
      fncWriteSysLog("## プロジェクトリスト参照終了");
    } else {
      fncWriteSysLog(file + "<-編集ファイルアップロードに失敗しました");
      forms::ShowMessageBox(Handle(), file + "\r\n<-ファイルのアップロードに失敗しました。", kManagerCaption, MB_OK);
      EndPanel();
    }
  } catch (...) {
    fncWriteSysLog("★異常検出");
    fncWriteSysLog("## プロジェクトリスト参照終了");
    forms::ShowMessageBox(Handle(), kReferFailed, kManagerCaption, MB_OK);
    EndPanel();
  }
}
