// The report window's access to single files of the report store.
#include <winsock2.h>
#include <windows.h>

#include "common/FileSystem.h"
#include "forms/MessageBox.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerUtilities.h"
#include "manager/ReportWindow.h"
#include "common/portable/NameCharacters.h"
#include "manager/portable/StorePaths.h"
#include "transfer/TTmxFtp.h"

namespace {

constexpr char kTempFile[] = "tempFile.tmp";

bool FtpMode() { return gMgr.SAVE == 1; }

std::string Remote(const std::string& folder, const std::string& name) {
  return RemoteStorePath(gServerRoot, folder, name);
}

std::string Shared(const std::string& folder, const std::string& name) {
  return SharedStorePath(gMgr.FILESAVEPATH, folder, name);
}


}  // namespace

bool TForm1::ConnectStore() {
  if (TmxFtp && TmxFtp->FtpLogin() == 0) return true;
  forms::ShowMessageBox(Handle(),
                        "接続できませんでした。\r\n・接続先のIPアドレスが正しいかどうか、\r\n"
                        "・FTPサービスが開始されているか、\r\nを確認してください。",
                        kManagerCaption, MB_OK);
  fncWriteSysLog("接続エラー");
  return false;
}

void TForm1::DisconnectStore(bool operationDone) {
  if (TmxFtp) TmxFtp->FtpDisconnect();
  fncWriteSysLog(operationDone ? "切断完了" : "FTP切断完了");
}

int TForm1::ftpGetFile(const std::string& folder, const std::string& name) {
  fncWriteSysLog("ファイルダウンロード開始");
  const bool ftp = FtpMode();
  const std::string work = WorkFolderPath();
  const std::string temp = work + kTempFile;
  try {
    if (ftp && !ConnectStore()) return -1;
    ForceDirectories(work);
    const std::string source = ftp ? Remote(folder, name) : Shared(folder, name);
    fncWriteSysLog(name + " ダウンロード開始");
    fncWriteSysLog(source + " to " + temp);
    DeleteWorkFile(temp);
    bool fetched = false;
    if (ftp) {
      TmxFtp->filename = source;
      TmxFtp->localFileName = temp;
      fetched = TmxFtp->FtpDownload() == 0;
    } else {
      if (!FileExists(source)) {
        fncWriteSysLog("コピー元ファイルが存在しません。");
        return -2;
      }
      SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
      fetched = CopyFileA(source.c_str(), temp.c_str(), FALSE) != FALSE;
    }
    if (!fetched) {
      fncWriteSysLog("ファイル取得エラー3");
      DeleteWorkFile(temp);
      if (ftp) DisconnectStore(false);
      return -2;
    }
    // The earlier copy is replaced only by a complete one, in one step.
    SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string target = PathInFolder(work, name);
    const bool replaced = MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    DeleteWorkFile(temp);
    fncWriteSysLog(replaced ? "ダウンロード完了2" : "ファイル書き込み失敗1");
    if (ftp) DisconnectStore(true);
    return replaced ? 0 : -2;
  } catch (...) {
    fncWriteSysLog("ファイル取得エラー4");
    DeleteWorkFile(temp);
    if (ftp) DisconnectStore(false);
    return -2;
  }
}

int TForm1::ftpDelFile(const std::string& folder, const std::string& name) {
  fncWriteSysLog("ファイル削除開始");
  const bool ftp = FtpMode();
  try {
    if (ftp && !ConnectStore()) return -1;
    fncWriteSysLog(name + " 削除開始");
    bool done;
    if (ftp) {
      TmxFtp->filename = Remote(folder, name);
      done = TmxFtp->FtpDelete() == 0;
    } else {
      done = DeleteFileA(Shared(folder, name).c_str()) != FALSE;
    }
    fncWriteSysLog(done ? "削除完了5" : "ファイル削除エラー6");
    if (ftp) DisconnectStore(done);
    return done ? 0 : -2;
  } catch (...) {
    fncWriteSysLog("ファイル削除エラー7");
    if (ftp) DisconnectStore(false);
    return -2;
  }
}

int TForm1::ftpReNameFile(const std::string& folder, const std::string& oldName, const std::string& newName) {
  fncWriteSysLog("ファイルリネーム開始");
  const bool ftp = FtpMode();
  try {
    if (ftp && !ConnectStore()) return -1;
    fncWriteSysLog(oldName + "→" + newName + " ファイル名変換開始開始");
    bool done;
    if (ftp) {
      TmxFtp->filename = Remote(folder, oldName);
      TmxFtp->fileNameTo = Remote(folder, newName);
      done = TmxFtp->FtpRename() == 0;
    } else {
      // MoveFile never replaces a file of the new name.
      done = MoveFileA(Shared(folder, oldName).c_str(), Shared(folder, newName).c_str()) != FALSE;
    }
    fncWriteSysLog(done ? "リネーム完了8" : "リネームエラー9");
    if (ftp) DisconnectStore(done);
    return done ? 0 : -2;
  } catch (...) {
    fncWriteSysLog("リネームエラー10");
    if (ftp) DisconnectStore(false);
    return -2;
  }
}

int TForm1::ftpPutFile(const std::string& folder, const std::string& name) {
  fncWriteSysLog("ファイルアップロード開始");
  const bool ftp = FtpMode();
  try {
    if (ftp && !ConnectStore()) return -1;
    const std::string source = PathInFolder(WorkFolderPath(), name);
    bool done;
    if (ftp) {
      TmxFtp->path = RemoteStoreFolder(gServerRoot, folder);
      TmxFtp->FtpMkDir();  // the folder usually exists already
      fncWriteSysLog(name + " アップロード開始");
      TmxFtp->filename = Remote(folder, name);
      TmxFtp->localFileName = source;
      done = TmxFtp->FtpUpload() == 0;
    } else {
      ForceDirectories(gMgr.FILESAVEPATH + folder);
      done = CopyFileReplacing(source, Shared(folder, name));
    }
    fncWriteSysLog(done ? "アップロード完了11" : "ファイル送信エラー12");
    if (ftp) DisconnectStore(done);
    return done ? 0 : -2;
  } catch (...) {
    fncWriteSysLog("ファイル送信エラー13");
    if (ftp) DisconnectStore(false);
    return -2;
  }
}
