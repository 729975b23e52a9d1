// The report window's backup of the local catalogue files to this PC's
// folder on the report store, and their restore.
#include <winsock2.h>
#include <windows.h>

#include <cctype>

#include "common/FileSystem.h"
#include "common/portable/FolderText.h"
#include "forms/MessageBox.h"
#include "manager/IniFiles.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerUtilities.h"
#include "manager/ReportWindow.h"
#include "manager/portable/CatalogueDay.h"
#include "manager/portable/IniText.h"
#include "manager/portable/ListingLines.h"
#include "manager/portable/NameText.h"
#include "transfer/TTmxFtp.h"

namespace {

constexpr char kConnectFailed[] =
    "接続できませんでした。\r\n・接続先のIPアドレスが正しいかどうか、\r\n"
    "・FTPサービスが開始されているか、\r\nを確認してください。";
constexpr char kTempFile[] = "tempFile.tmp";

bool FtpMode() { return gMgr.SAVE == 1; }

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// "/kestro/<COMPUTERNAME>/"
std::string RemoteBackupFolder(const std::string& computer) { return "/" + gServerRoot + "/" + computer + "/"; }

// FILESAVEPATH + <COMPUTERNAME> + "\"
std::string SharedBackupFolder(const std::string& computer) {
  const std::string& root = gMgr.FILESAVEPATH;
  return (root.empty() ? root : WithTrailingBackslash(root)) + computer + "\\";
}

// Only day catalogue files come back from a backup folder: eight digits
// and ".ini".
bool IsCatalogueFileName(const std::string& name) {
  if (name.size() != 12 || name.compare(8, 4, ".ini") != 0) return false;
  for (int i = 0; i < 8; ++i)
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

std::vector<std::string> FilesOf(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = TrimText(found.cFileName);
    if (name.empty() || name == "." || name == ".." || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// A backup on the store may have been edited there: sections that name no
// report are dropped before the copy becomes a catalogue file.
bool DropForeignSectionsOfFile(const std::string& file, const std::string& name) {
  IniText catalogue;
  if (IniLoadText(file, catalogue) != 0) return false;
  std::vector<SkippedEntry> skipped;
  DropForeignSections(catalogue, name, skipped);
  if (skipped.empty()) return true;
  LogSkipped(skipped);
  return IniSaveText(file, catalogue) == 0;
}

}  // namespace

void TForm1::SpeedButton13Click() {
  if (forms::ShowMessageBox(Handle(), "カタログの保存を行います。よろしいですか？", kManagerCaption,
                            MB_OKCANCEL | MB_DEFBUTTON2) != IDOK)
    return;
  const std::string folder = CatalogueFolder();
  const std::vector<std::string> names = FilesOf(folder + "*.ini");
  fncWriteSysLog("カタログ保存");
  int result = -1;
  const std::string computer = fncGetComputerNameUpper();
  if (computer.empty()) {
    // Without it the copies would land in the store root.
    fncWriteSysLog("コンピュータ名が取得できません");
  } else if (!names.empty()) {
    panelMsg.SetText("カタログ保存中です。お待ちください・・");
    StartPanel();
    result = BackupCatalogue(computer, names);
    EndPanel();
  }
  forms::ShowMessageBox(Handle(), result == 0 ? "カタログの保存を終了しました。" : "カタログの保存に失敗しました。",
                        kManagerCaption, MB_OK);
}

int TForm1::BackupCatalogue(const std::string& computer, const std::vector<std::string>& names) {
  const std::string folder = CatalogueFolder();
  int result = -1;
  try {
    if (!FtpMode()) {
      const std::string target = SharedBackupFolder(computer);
      ForceDirectories(target);
      fncWriteSysLog("アップロード開始");
      for (const std::string& name : names) {
        if (abortFlag) {
          fncWriteSysLog("中断しました。");
          return -1;
        }
        const std::string path = target + Lower(name);
        const bool done = CopyFileReplacing(folder + name, path);
        progress.SetText(name + (done ? "<-保存完了" : "<-保存失敗"));
        fncWriteSysLog(path + (done ? "<-保存完了" : "<-保存失敗"));
        if (!done) return -1;
        result = 0;
      }
      return result;
    }
    if (!TmxFtp || TmxFtp->FtpLogin() != 0) {
      fncWriteSysLog("接続失敗");
      forms::ShowMessageBox(Handle(), kConnectFailed, kManagerCaption, MB_OK);
      return -1;
    }
    TmxFtp->path = RemoteBackupFolder(computer);
    TmxFtp->FtpMkDir();  // the folder may exist already
    fncWriteSysLog("アップロード開始");
    for (const std::string& name : names) {
      if (abortFlag) {
        fncWriteSysLog("中断しました。");
        result = -1;
        break;
      }
      TmxFtp->filename = RemoteBackupFolder(computer) + Lower(name);
      TmxFtp->localFileName = folder + name;
      result = TmxFtp->FtpUpload();
      progress.SetText(name + (result == 0 ? "<-保存完了" : "<-保存失敗"));
      fncWriteSysLog(TmxFtp->filename + (result == 0 ? "<-保存完了" : "<-保存失敗"));
      if (result != 0) break;
    }
    fncWriteSysLog("切断開始17");
    TmxFtp->FtpDisconnect();
    return result;
  } catch (...) {
    fncWriteSysLog("★異常検出");
    if (FtpMode() && TmxFtp) TmxFtp->FtpDisconnect();
    return -1;
  }
}

void TForm1::SpeedButton12Click() {
  if (forms::ShowMessageBox(Handle(), "カタログの復元を行います。よろしいですか？", kManagerCaption,
                            MB_OKCANCEL | MB_DEFBUTTON2) != IDOK)
    return;
  fncWriteSysLog("カタログ復元");
  panelMsg.SetText("カタログ復元中です。お待ちください・・");
  StartPanel();
  const std::string computer = fncGetComputerNameUpper();
  int result = -1;
  if (computer.empty())
    fncWriteSysLog("コンピュータ名が取得できません");  // the store root is no backup folder
  else
    result = RestoreCatalogue(computer);
  EndPanel();
  forms::ShowMessageBox(Handle(), result == 0 ? "カタログの復元を終了しました。" : "カタログの復元に失敗しました。",
                        kManagerCaption, MB_OK);
}

int TForm1::RestoreCatalogue(const std::string& computer) {
  const bool ftp = FtpMode();
  const std::string folder = CatalogueFolder();
  const std::string temp = WorkFolderPath() + kTempFile;
  int result = -1;
  bool loggedIn = false;
  try {
    std::vector<std::string> names;
    Memo1.clear();
    if (!ftp) {
      Memo1 = FilesOf(SharedBackupFolder(computer) + "*.*");
    } else {
      if (!TmxFtp || TmxFtp->FtpLogin() != 0) {
        fncWriteSysLog("接続失敗");
        forms::ShowMessageBox(Handle(), kConnectFailed, kManagerCaption, MB_OK);
        return -1;
      }
      loggedIn = true;
      TmxFtp->path = RemoteBackupFolder(computer);
      result = TmxFtp->FtpChDir();
      if (result == 0) {
        TmxFtp->Memo2.clear();
        result = TmxFtp->FtpDir();
      }
      if (result == 0) Memo1 = TmxFtp->Memo2;
    }
    for (const std::string& line : Memo1) {
      if (abortFlag) {
        fncWriteSysLog("中断しました。");
        result = -1;
        break;
      }
      std::string name = line;
      if (ftp) {
        const ListingLine parsed = ParseListingLine(line);
        fncWriteSysLog(line);
        if (parsed.kind == ListingLineKind::Directory) {
          fncWriteSysLog("ディレクトリ行はスキップ");
          continue;
        }
        if (parsed.kind == ListingLineKind::Malformed) {
          fncWriteSysLog("フォーマット異常によりスキップ");
          continue;
        }
        name = TrimText(parsed.name);
      }
      fncWriteSysLog(name);
      if (!IsCatalogueFileName(name)) {
        fncWriteSysLog(name + "<-カタログ以外はスキップ");
        continue;
      }
      names.push_back(name);
    }
    if (names.empty()) {
      fncWriteSysLog("復元するカタログファイルがありません");
      result = -1;  // an empty or missing backup restores nothing
    }

    ForceDirectories(folder);
    ForceDirectories(WorkFolderPath());
    fncWriteSysLog("ダウンロード開始");
    for (const std::string& name : names) {
      // Into the work file first; the catalogue file is replaced only by a
      // complete copy.
      DeleteWorkFile(temp);
      std::string source;
      bool done;
      if (ftp) {
        source = RemoteBackupFolder(computer) + Lower(name);
        TmxFtp->filename = source;
        TmxFtp->localFileName = temp;
        done = TmxFtp->FtpDownload() == 0;
      } else {
        source = SharedBackupFolder(computer) + Lower(name);
        done = CopyFileA(source.c_str(), temp.c_str(), FALSE) != FALSE;
      }
      if (done) {
        SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
        done = DropForeignSectionsOfFile(temp, name);
      }
      if (done) {
        done = MoveFileExA(temp.c_str(), (folder + name).c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
      }
      DeleteWorkFile(temp);
      progress.SetText(name + (done ? "<-復元完了" : "<-復元失敗"));
      fncWriteSysLog(source + (done ? "<-復元完了" : "<-復元失敗"));
      result = done ? 0 : -1;
      if (!done) break;
    }
  } catch (...) {
    fncWriteSysLog("★異常検出");
    DeleteWorkFile(temp);
    result = -1;
  }
  if (loggedIn) {
    fncWriteSysLog("切断開始18");
    TmxFtp->FtpDisconnect();
  }
  return result;
}
