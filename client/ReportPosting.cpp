#include "client/ReportPosting.h"

#include <stdexcept>

#include "client/Common.h"
#include "client/Global.h"
#include "client/MainForm.h"
#include "client/ReportSaving.h"
#include "client/SettingsValues.h"
#include "client/ViewedWorkbooks.h"
#include "common/portable/NameCharacters.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "transfer/TTmxFtp.h"

namespace {

const char kCaption[] = "登録画面,";
const char kSaveFailed[] = "ファイルの保存に失敗しました";
const char kNotFound[] = "ファイルが見つかりません";
const char kPostLoginFailed[] = "FTPサーバにログインできません";
const char kFetchLoginFailed[] = "FTPサーバーにログインできません";
const char kPostFailed[] = "ポストに失敗しました";
const char kNotProtected[] = "ブックのパスワードを設定し直せないため、ポストできません";
const char kTagMissing[] = "タグファイルが見つかりません";
const char kKeptLocally[] = "\r\nファイルはローカルPCに保存しました";
const char kUpdaterCopyFailed[] = "バージョンアップファイルの取得に失敗しました";
const char kBusy[] = "他のサーバ処理が実行中です";
const char kProjectListFailed[] = "プロジェクトリストの取得に失敗しました";

// FTP paths are relative to the login folder, which must be "/".
std::string StorePath(const std::string& part) { return std::string(kestro::kServerRoot) + "/" + part; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A copy that breaks off (a full share) must never stand under a report's
// name, where the manager would list it: it goes to <target>.tmp first and
// is renamed once whole. 0, or the error of the failed step.
DWORD CopyToShare(const std::string& source, const std::string& target) {
  const std::string partial = target + ".tmp";
  if (CopyFileA(source.c_str(), partial.c_str(), FALSE) &&
      MoveFileExA(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  const DWORD error = GetLastError();
  DeleteFileA(partial.c_str());
  return error ? error : ERROR_GEN_FAILURE;
}

// Logs out when the FTP work ends, also through an error.
class LogoutAtEnd {
 public:
  explicit LogoutAtEnd(TTmxFtp& ftp) : ftp_(ftp) {}
  ~LogoutAtEnd() { ftp_.FtpDisconnect(); }
  LogoutAtEnd(const LogoutAtEnd&) = delete;
  LogoutAtEnd& operator=(const LogoutAtEnd&) = delete;

 private:
  TTmxFtp& ftp_;
};

class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

ReportPoster::ReportPoster(TTmxFtp& ftp, HWND owner) : ftp_(ftp), owner_(owner) {
  SaveReport = [this](std::string& folder, std::string& name) {
    return ReportSaver(owner_).fncSaveFile(folder, name);
  };
  SetTrayState = [](int state) {
    if (Form1) Form1->MODIFYIcon(state);
  };
}

void ReportPoster::Log(const std::string& text) const { fncWriteSysLog(kCaption + text); }

void ReportPoster::Tray(int state) const {
  if (SetTrayState) SetTrayState(state);
}

bool ReportPoster::Begin(const std::string& routine) {
  Log(routine);
  if (!running_) return true;
  // A second operation through a form that stayed enabled would cut the first one's session.
  lastError_ = kBusy;
  Log(routine + "ERROR=" + kBusy);
  return false;
}

void ReportPoster::Login(const std::string& loginError) {
  ftp_.host = gSettings.SERVER;
  ftp_.userid = gSettings.USERID;
  ftp_.passwd = gSettings.PASSWD;
  ftp_.TimeOut = std::to_string(kestro::kFtpTimeOut);
  ftp_.FtpDisconnect();
  if (ftp_.FtpLogin() < 0) throw std::runtime_error(loginError);
}

bool ReportPoster::fncSendFile(bool saveFirst, std::string& folder, std::string& name) {
  lastOutcome_ = PostOutcome::NotSaved;
  if (!Begin("fncSendFile()")) return false;
  RunningFlag running(running_);
  try {
    lastError_.clear();
    if (saveFirst) {
      if (!SaveReport || !SaveReport(folder, name)) throw std::runtime_error(kSaveFailed);
      savedOrPosted = true;
    }
    if (folder.empty() || name.empty()) throw std::runtime_error(kNotFound);
    const std::string localPath = PathInFolder(gSettings.LOCALDIR + folder, name);
    if (!Exists(localPath)) throw std::runtime_error(kNotFound);
    lastOutcome_ = PostOutcome::SavedOnly;
    // A workbook opened for viewing goes to the store only with its password again.
    workbook::ViewedWorkbooks viewed(kCaption + std::string("fncSendFile()"));
    if (!saveFirst && !viewed.ProtectBeforePost(gSettings.LOCALDIR, folder, name))
      throw std::runtime_error(kNotProtected);
    // The title lives only in the tag file's name: a report without it stays here.
    std::string tag;
    if (!fncFindLocalFile(folder + "tag", name, tag))
      throw std::runtime_error(std::string(kTagMissing) + (saveFirst ? kKeptLocally : ""));
    Tray(kTrayBusy);
    if (gSettings.SAVE == 1) {
      PostByFtp(folder, name, localPath, tag, saveFirst ? kKeptLocally : "");
    } else {
      PostToSharedFolder(folder, name, localPath, tag);
    }
    lastOutcome_ = PostOutcome::Posted;
    savedOrPosted = true;
    Log("fncSendFile()Posted=" + folder + "\\" + name);
    Tray(kTrayNormal);
    DeleteLocalCopies(folder, name);
    return true;
  } catch (...) {
    lastError_ = ExceptionMessage();
    Log("fncSendFile()ERROR=" + lastError_);
    Tray(kTrayError);
    if (gSettings.SHOW == 1 || !saveFirst) {
      forms::ShowMessageBox(owner_, lastError_, forms::Application::Instance().Title(), MB_OK | MB_TOPMOST);
    }
    return false;
  }
}

void ReportPoster::PostByFtp(const std::string& folder, const std::string& name, const std::string& localPath,
                             const std::string& tag, const std::string& suffix) {
  Login(kPostLoginFailed + suffix);
  LogoutAtEnd logout(ftp_);
  // The folders usually exist already: make-directory errors are normal.
  ftp_.path = kestro::kServerRoot;
  ftp_.FtpMkDir();
  ftp_.path = StorePath(folder);
  ftp_.FtpMkDir();
  ftp_.filename = PathInFolder(StorePath(folder), name, '/');
  ftp_.localFileName = localPath;
  if (ftp_.FtpUpload() < 0) throw std::runtime_error(kPostFailed + suffix);

  ftp_.path = "/";
  ftp_.FtpChDir();
  ftp_.path = kestro::kServerRoot;
  ftp_.FtpMkDir();
  ftp_.path = StorePath(folder + "tag");
  ftp_.FtpMkDir();
  ftp_.filename = PathInFolder(StorePath(folder + "tag"), tag, '/');
  ftp_.localFileName = PathInFolder(gSettings.LOCALDIR + folder + "tag", tag);
  // Without its tag the report on the store has no title: the post is incomplete.
  if (ftp_.FtpUpload() < 0) throw std::runtime_error(kPostFailed + suffix);
}

void ReportPoster::PostToSharedFolder(const std::string& folder, const std::string& name,
                                      const std::string& localPath, const std::string& tag) {
  const std::string& store = gSettings.FILESAVEPATH;
  ForceDirectories(store);
  ForceDirectories(store + folder);
  auto copy = [this](const std::string& source, const std::string& target) {
    if (const DWORD error = CopyToShare(source, target)) {
      Log("fncSendFile():共有フォルダへ書き込めません(" + std::to_string(error) + ") " + target);
      throw std::runtime_error(kPostFailed);
    }
  };
  copy(localPath, PathInFolder(store + folder, name));
  ForceDirectories(store + folder + "tag");
  copy(PathInFolder(gSettings.LOCALDIR + folder + "tag", tag), PathInFolder(store + folder + "tag", tag));
}

void ReportPoster::DeleteLocalCopies(const std::string& folder, const std::string& name) {
  const std::string report = PathInFolder(gSettings.LOCALDIR + folder, name);
  if (!fncDeleteFile(report)) Log("fncSendFile():ローカルファイルを削除できません " + report);
  std::string tag;
  if (fncFindLocalFile(folder + "tag", name, tag)) {
    const std::string tagPath = PathInFolder(gSettings.LOCALDIR + folder + "tag", tag);
    if (!fncDeleteFile(tagPath)) Log("fncSendFile():ローカルファイルを削除できません " + tagPath);
  }
}

bool ReportPoster::fncGetProject() {
  if (!Begin("fncGetProject()")) return false;
  RunningFlag running(running_);
  Tray(kTrayBusy);
  const std::string local = gDataDir + kestro::kProjectListFile;
  const std::string temporary = local + ".tmp";
  try {
    if (gSettings.SAVE == 1) {
      Login(kFetchLoginFailed);
      LogoutAtEnd logout(ftp_);
      ftp_.filename = StorePath(kestro::kProjectListFile);
      ftp_.localFileName = temporary;
      // The list is replaced only by a complete download.
      if (ftp_.FtpDownload() == 0) {
        if (!MoveFileExA(temporary.c_str(), local.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
          throw std::runtime_error(kProjectListFailed);
      } else if (ftp_.Answered("550")) {
        Log("fncGetProject():プロジェクトファイルなし");  // the local list stays
      } else {
        throw std::runtime_error(kProjectListFailed);
      }
    } else {
      const std::string source = gSettings.FILESAVEPATH + kestro::kProjectListFile;
      if (!CopyFileA(source.c_str(), local.c_str(), FALSE)) Log("fncGetProject():プロジェクトファイルなし");
    }
    Tray(kTrayNormal);
    return true;
  } catch (...) {
    Log("fncGetProject()ERROR=" + ExceptionMessage());
    if (Exists(temporary)) fncDeleteFile(temporary);
    Tray(kTrayError);
    return false;
  }
}

bool ReportPoster::fncGetDownloder() {
  if (!Begin("fncGetDownloder()")) return false;
  RunningFlag running(running_);
  Tray(kTrayBusy);
  const std::string temporary = gDataDir + kestro::kTempFolder + kestro::kUpdaterIni;
  try {
    ForceDirectories(gDataDir + kestro::kTempFolder);
    fncDeleteFile(temporary);
    bool fetched = false;
    if (gSettings.SAVE == 1) {
      Login(kFetchLoginFailed);
      LogoutAtEnd logout(ftp_);
      ftp_.filename = StorePath(kestro::kUpdaterIni);
      ftp_.localFileName = temporary;
      fetched = ftp_.FtpDownload() == 0;
    } else {
      const std::string source = gSettings.FILESAVEPATH + kestro::kUpdaterIni;
      fetched = CopyFileA(source.c_str(), temporary.c_str(), FALSE) != 0;
    }
    if (fetched && !fncCopyFile(temporary, gExeDir + kestro::kUpdaterIni, false))
      throw std::runtime_error(kUpdaterCopyFailed);
    fncDeleteFile(temporary);
    Tray(kTrayNormal);
    return true;
  } catch (...) {
    Log("fncGetDownloder()ERROR=" + ExceptionMessage());
    if (Exists(temporary)) fncDeleteFile(temporary);
    Tray(kTrayError);
    return false;
  }
}
