// TForm1::fncDownload: the files of download/<PROJECT>/ (and its SUBDIR)
// are fetched into the work folder and copied over the program folder; the
// clean-up of what the last install left.
#include <winsock2.h>  // before windows.h: the transfer client uses Winsock 2

#include <algorithm>
#include <map>
#include <stdexcept>

#include "common/ExceptionText.h"
#include "common/FileSystem.h"
#include "common/SystemUtilities.h"
#include "common/portable/TextLines.h"
#include "forms/Pause.h"
#include "transfer/TTmxFtp.h"
#include "updater/Global.h"
#include "updater/SplashForm.h"
#include "updater/portable/DownloadListing.h"

namespace {

constexpr char kDownloadFailed[] = "ダウンロード失敗";
constexpr DWORD kTargetPollMs = 250;
// Lines of the install record: "NEW\t<path>", "OLD\t<path>\t<target>" and,
// once every file is in place, "DONE". Paths are relative to the program
// folder, so that another spelling of it reads them all the same.
constexpr char kRecordNew[] = "NEW";
constexpr char kRecordOld[] = "OLD";
constexpr char kRecordDone[] = "DONE";
// How many numbered names a new copy or a file moved aside may try.
constexpr int kFreePathTries = 100;

void Pause(DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 100) Sleep(100);
}

// Nobody holds the file open: a caller that ran from it has ended. A file
// that is not there yet is free too.
bool Unused(const std::string& path) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  CloseHandle(file);
  return true;
}

void ForceFolder(const std::string& folder) {
  if (!ForceDirectories(folder)) throw std::runtime_error("フォルダを作成できません\r\n" + folder);
}

std::string RecordPath() { return gExeDir + updater::kInstallRecord; }

// The whole record, on the disk when it returns true.
bool WriteRecord(const std::string& text) { return WriteFileReplacing(RecordPath(), text); }

// The files the updater writes for itself in the program folder.
bool OwnFile(const std::string& path) {
  return SamePath(path, RecordPath()) || SamePath(path, ReplacingTemporaryOf(RecordPath()));
}

// A path in the program folder, as the record holds it.
std::string Relative(const std::string& path) { return path.substr(gExeDir.size()); }

std::string TextOf(const RecordLine& line) {
  return line.moved ? std::string(kRecordOld) + "\t" + line.path + "\t" + line.target + "\r\n"
                    : std::string(kRecordNew) + "\t" + line.path + "\r\n";
}

// target + suffix, else target + suffix + 1, 2, ...: the first that is no
// file or folder and not taken; "" when there is none.
std::string FreePath(const std::string& target, const char* suffix, const std::vector<std::string>& taken) {
  for (int n = 0; n < kFreePathTries; ++n) {
    const std::string path = target + suffix + (n > 0 ? std::to_string(n) : "");
    if (std::any_of(taken.begin(), taken.end(), [&](const std::string& other) { return SamePath(other, path); }))
      continue;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
      return path;
  }
  return "";
}

// A record line whose path lies in the program folder and whose target is
// that path without its suffix and number. Digits, "." and the tab are
// never the second byte of a double-byte character.
bool ReadRecordLine(const std::string& line, RecordLine& read) {
  const size_t tab = line.find('\t');
  if (tab == std::string::npos) return false;
  const bool moved = line.compare(0, tab, kRecordOld) == 0;
  if (!moved && line.compare(0, tab, kRecordNew) != 0) return false;
  std::string path = line.substr(tab + 1), target;
  const size_t second = path.find('\t');
  if (moved != (second != std::string::npos)) return false;
  if (moved) {
    target = path.substr(second + 1);
    path.resize(second);
  }
  // Earlier records held whole paths.
  for (std::string* whole : {&path, &target})
    if (whole->size() > gExeDir.size() && SamePath(whole->substr(0, gExeDir.size()), gExeDir))
      whole->erase(0, gExeDir.size());
  const std::string suffix = moved ? updater::kMovedAsideSuffix : updater::kNewSuffix;
  const size_t end = path.find_last_not_of("0123456789") + 1;
  if (end < suffix.size() || path.compare(end - suffix.size(), suffix.size(), suffix) != 0) return false;
  const std::string stem = path.substr(0, end - suffix.size());
  if (moved && target != stem) return false;
  read = {moved, path, stem};
  return updater::IsPlainRelativePath(stem);
}

}  // namespace

bool TForm1::fncDownload() {
  TTmxFtp& ftp = *TmxFtp;
  try {
    Log("fncDownload()");
    // SUBDIR comes from the server's copy of the settings file: it must stay
    // inside the program folder.
    if (!SUBDIR.empty() && !updater::IsPlainRelativePath(SUBDIR)) {
      Log("fncDownload()サブディレクトリが不正=" + SUBDIR);
      throw std::runtime_error(kDownloadFailed);
    }
    ftp.host = IP;
    ftp.userid = updater::kFtpUser;
    ftp.passwd = updater::kFtpPassword;
    ftp.TimeOut = updater::kFtpTimeOut;
    SetProgress("接続しています");
    ftp.FtpDisconnect();
    if (ftp.FtpLogin() < 0) throw std::runtime_error("FTPサーバーにログインできません");

    const std::string projectFolder = std::string(updater::kServerFolder) + PROJECT + "/";
    ftp.path = projectFolder;
    if (ftp.FtpChDir() < 0 || ftp.FtpDir() < 0) throw std::runtime_error("最新のファイルはありませんでした");
    // The work copies mirror their destinations, so that the same name in
    // the project folder and in SUBDIR never meet.
    const std::string workFolder = gDataDir + updater::kWorkFolder;
    ForceFolder(workFolder);
    ftp.Memo1.clear();
    std::vector<Source> sources;
    AddListing({projectFolder, gExeDir, workFolder}, sources);

    if (!SUBDIR.empty()) {
      // Only a 550 to the change into SUBDIR means it is not there; any
      // other failure leaves its files unknown, and half an update is none.
      auto subfolderFailed = [this](const std::string& line) {
        Log(line);
        throw std::runtime_error(kDownloadFailed);
      };
      ftp.path = "/";
      if (ftp.FtpChDir() < 0) subfolderFailed("fncDownload()フォルダ移動失敗=/");
      const std::string subFolder = projectFolder + updater::WithSeparator(SUBDIR, '/') + "/";
      ftp.path = subFolder;
      if (ftp.FtpChDir() < 0) {
        if (!ftp.Answered("550")) subfolderFailed("fncDownload()フォルダ移動失敗=" + subFolder);
        Log("fncDownload()サブディレクトリなし=" + subFolder);
      } else {
        if (ftp.FtpDir() < 0) subfolderFailed("fncDownload()一覧取得失敗=" + subFolder);
        const std::string localSub = updater::WithSeparator(SUBDIR, '\\') + "\\";
        ForceFolder(gExeDir + localSub);
        AddListing({subFolder, gExeDir + localSub, workFolder + localSub}, sources);
      }
    }
    Pause(3000);

    const std::vector<Entry> entries = ReadListing(sources);
    DownloadAll(entries);
    InstallAll(entries);
    SetProgress("ダウンロード終了");
    Sleep(200);
    ftp.FtpDisconnect();
    return true;
  } catch (...) {
    const std::string message = ExceptionMessage();
    Log("fncDownload()ERROR=" + message);
    ShowError(message);
    return false;
  }
}

void TForm1::AddListing(const Source& source, std::vector<Source>& sources) {
  for (const std::string& line : TmxFtp->Memo2) {
    TmxFtp->Memo1.push_back(line);
    sources.push_back(source);
  }
}

std::vector<TForm1::Entry> TForm1::ReadListing(const std::vector<Source>& sources) {
  const std::vector<std::string>& lines = TmxFtp->Memo1;
  updater::ListingStyle style = updater::ListingStyle::Msdos;
  // The first line that could be a file line decides.
  const auto first = std::find_if_not(lines.begin(), lines.end(), updater::IsTotalLine);
  if (first != lines.end()) {
    std::string lower;
    fncMapString(*first, LCMAP_LOWERCASE, lower);
    style = updater::ListingStyleOf(lower);
  }
  std::vector<Entry> entries;
  // Per listing: lines refused and files taken.
  std::map<std::string, std::pair<int, int>> counts;
  for (size_t i = 0; i < lines.size(); ++i) {
    updater::ListingLine read = updater::ReadListingLine(lines[i], style);
    // No package file may take the place of a file the updater writes.
    if (read.kind == updater::LineKind::File && OwnFile(sources[i].destination + read.name))
      read.kind = updater::LineKind::Refused;
    std::pair<int, int>& count = counts[sources[i].remoteFolder];
    switch (read.kind) {
      case updater::LineKind::Empty:
      case updater::LineKind::Total:
        break;
      case updater::LineKind::Folder:
        Log("fncDownload()lineBuf=" + lines[i]);
        Log("fncDownload()ディレクトリ行はスキップ");
        break;
      case updater::LineKind::Refused:
        // A name that would leave its folder is never used as a local path.
        Log("fncDownload()lineBuf=" + lines[i]);
        Log("fncDownload()ファイル名が不正なのでスキップ=" + read.name);
        ++count.first;
        break;
      case updater::LineKind::File:
        entries.push_back({read.name, sources[i].remoteFolder, sources[i].destination, sources[i].workFolder});
        Log("fncDownload()wkFile=" + read.name);
        ++count.second;
        break;
    }
  }
  // A listing that could not be read must not pass for an empty folder.
  for (const auto& listing : counts) {
    if (listing.second.first > 0 && listing.second.second == 0) {
      Log("fncDownload()ファイルを読み取れない一覧=" + listing.first);
      throw std::runtime_error(kDownloadFailed);
    }
  }
  return entries;
}

void TForm1::DownloadAll(const std::vector<Entry>& entries) {
  TTmxFtp& ftp = *TmxFtp;
  Log("fncDownload()ダウンロード開始");
  ftp.path = "/";
  if (ftp.FtpChDir() < 0) {
    Log("fncDownload()フォルダ移動失敗=/");
    throw std::runtime_error(kDownloadFailed);
  }
  std::string current;  // none yet
  const size_t count = entries.size();
  for (size_t n = 0; n < count; ++n) {
    const Entry& entry = entries[n];
    ftp.filename = entry.name;
    auto fail = [&](const std::string& line) {
      SetProgress(entry.name + "<-ダウンロード失敗");
      if (!line.empty()) Log(line);
      Log("fncDownload()失敗=" + entry.name);
      throw std::runtime_error(kDownloadFailed);
    };
    if (entry.remoteFolder != current) {
      // A file must never come from another folder than it was listed in.
      current.clear();
      ftp.path = "/";
      if (ftp.FtpChDir() < 0) fail("fncDownload()フォルダ移動失敗=/");
      ftp.path = entry.remoteFolder;
      if (ftp.FtpChDir() < 0) fail("fncDownload()フォルダ移動失敗=" + entry.remoteFolder);
    }
    ftp.localFileName = entry.workFolder + entry.name;
    SetProgress(std::to_string(n + 1) + " / " + std::to_string(count) + " 件ダウンロード中");
    if (ftp.FtpDownload() < 0) fail("");
    Log("fncDownload()Name=" + entry.name);
    current = entry.remoteFolder;
    Sleep(100);
  }
}

void TForm1::InstallAll(const std::vector<Entry>& entries) {
  if (entries.empty()) return;  // the program folder stays as it is
  SetProgress("ファイルの展開中");
  std::vector<Install> installs;
  for (const Entry& entry : entries) {
    Install install{entry.workFolder + entry.name, entry.destination + entry.name};
    install.self = SamePath(install.target, gExePath);
    // Names that differ in case only are one file here: the later one counts.
    const auto same = std::find_if(installs.begin(), installs.end(),
                                   [&](const Install& other) { return SamePath(other.target, install.target); });
    if (same != installs.end()) {
      Log("fncDownload()同じファイル=" + install.target);
      installs.erase(same);
    }
    installs.push_back(install);
  }
  std::vector<std::string> taken;
  for (const Install& install : installs) taken.push_back(install.target);
  // Files an earlier install could not put back go once this one completes.
  std::string record;
  for (const RecordLine& line : standing_) record += TextOf(line);
  for (Install& install : installs) {
    install.newPath = FreePath(install.target, updater::kNewSuffix, taken);
    taken.push_back(install.newPath);
    install.oldPath = FreePath(install.target, updater::kMovedAsideSuffix, taken);
    taken.push_back(install.oldPath);
    if (install.newPath.empty() || install.oldPath.empty()) {
      Log("fncDownload()退避先なし=" + install.target);
      FailInstall(install.target, true);
    }
    record += TextOf({false, Relative(install.newPath), ""}) +
              TextOf({true, Relative(install.oldPath), Relative(install.target)});
  }
  // What is not in the record is never touched, now or at the next start.
  if (!WriteRecord(record)) {
    Log("fncDownload()記録失敗=" + RecordPath());
    FailInstall(RecordPath(), true);
  }
  // Every new file is complete next to its target before anything is replaced.
  for (const Install& install : installs) {
    if (!fncCopyFile(install.work, install.newPath, false)) {
      Log("fncDownload()展開失敗=" + install.newPath + ",エラー=" + std::to_string(GetLastError()));
      RemoveNewCopies(installs);
      CloseInstallRecord(installs);
      FailInstall(install.target, true);
    }
  }
  LetGoOfOwnClip();
  if (const Install* busy = WaitForTargets(installs)) {
    RemoveNewCopies(installs);
    CloseInstallRecord(installs);
    FailInstall(busy->target, true);
  }
  for (Install& install : installs) {
    if (!Replace(install)) {
      const bool whole = PutBack(installs);
      RemoveNewCopies(installs);
      // A file that could not be put back is listed still: never deleted.
      CloseInstallRecord(installs);
      FailInstall(install.target, whole);
    }
  }
  // Without DONE the next start would take the old files back: half an
  // update is none.
  if (!WriteRecord(record + kRecordDone + "\r\n")) {
    Log("fncDownload()記録失敗=" + RecordPath());
    const bool whole = PutBack(installs);
    RemoveNewCopies(installs);
    CloseInstallRecord(installs);
    FailInstall(RecordPath(), whole);
  }
  for (const Install& install : installs) {
    Log("fncDownload()展開=" + install.target);
    // The running updater's own file goes at its next start.
    if (install.movedAside && !install.self && !fncDeleteFile(install.oldPath))
      Log("fncDownload()旧ファイル削除失敗=" + install.oldPath);
    if (!fncDeleteFile(install.work)) Log("fncDownload()作業ファイル削除失敗=" + install.work);
  }
  for (const RecordLine& line : standing_) {
    const std::string path = gExeDir + line.path;
    if (FileExists(path) && !fncDeleteFile(path)) Log("fncDownload()旧ファイル削除失敗=" + path);
  }
  CloseInstallRecord(installs);
}

const TForm1::Install* TForm1::WaitForTargets(const std::vector<Install>& installs) {
  const DWORD start = GetTickCount();
  for (const Install& install : installs)
    if (!install.self && !WaitForTarget(install.target, start, "fncDownload()")) return &install;
  return nullptr;
}

bool TForm1::WaitForTarget(const std::string& target, DWORD start, const std::string& step) {
  bool logged = false;
  while (!Unused(target)) {
    const DWORD error = GetLastError();
    if (GetTickCount() - start >= updater::kTargetWaitMs) {
      Log(step + "使用中=" + target + ",エラー=" + std::to_string(error));
      return false;
    }
    if (!logged) Log(step + "使用中のため待機=" + target);
    logged = true;
    forms::PauseWithMessages(kTargetPollMs);
  }
  return true;
}

bool TForm1::Replace(Install& install) {
  if (FileExists(install.target)) {
    if (!MoveFileExA(install.target.c_str(), install.oldPath.c_str(), 0)) {
      Log("fncDownload()退避失敗=" + install.target + ",エラー=" + std::to_string(GetLastError()));
      return false;
    }
    install.movedAside = true;
  }
  if (!MoveFileExA(install.newPath.c_str(), install.target.c_str(), 0)) {
    Log("fncDownload()置換失敗=" + install.target + ",エラー=" + std::to_string(GetLastError()));
    return false;
  }
  install.replaced = true;
  return true;
}

bool TForm1::PutBack(const std::vector<Install>& installs) {
  bool whole = true;
  for (auto install = installs.rbegin(); install != installs.rend(); ++install) {
    if (install->movedAside) {
      if (MoveFileExA(install->oldPath.c_str(), install->target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        Log("fncDownload()復元=" + install->target);
      } else {
        Log("fncDownload()復元失敗=" + install->target + ",エラー=" + std::to_string(GetLastError()));
        whole = false;
      }
    } else if (install->replaced && !DeleteFileA(install->target.c_str())) {
      // A file the old program did without: it does no harm where it is.
      Log("fncDownload()新ファイル削除失敗=" + install->target);
    }
  }
  return whole;
}

void TForm1::RemoveNewCopies(const std::vector<Install>& installs) {
  for (const Install& install : installs) DeleteFileA(install.newPath.c_str());
}

void TForm1::CloseInstallRecord(const std::vector<Install>& installs) {
  for (const Install& install : installs)
    if (FileExists(install.newPath) || FileExists(install.oldPath)) return;
  for (const RecordLine& line : standing_)
    if (FileExists(gExeDir + line.path)) return;
  if (!fncDeleteFile(RecordPath())) Log("fncDownload()記録削除失敗=" + RecordPath());
}

void TForm1::FailInstall(const std::string& target, bool whole) {
  SetProgress("ファイルの展開に失敗しました");
  throw std::runtime_error("ファイルを更新できませんでした\r\n" + target + "\r\n" +
                           (whole ? "プログラムは更新前のままです" : "元のファイルに戻せませんでした"));
}

void TForm1::RemoveInstallLeftovers() {
  std::string text;
  if (!ReadWholeFile(RecordPath(), text)) return;  // no install since the last start
  const std::vector<std::string> lines = SplitTextLines(text);
  const bool done = std::find(lines.begin(), lines.end(), kRecordDone) != lines.end();
  const DWORD start = GetTickCount();
  // A later line may have moved aside what an earlier one put back: last first.
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (*line == kRecordDone) continue;
    RecordLine read;
    if (!ReadRecordLine(*line, read)) {
      Log("FormCreate()不正な記録=" + *line);
      continue;
    }
    const std::string path = gExeDir + read.path, target = gExeDir + read.target;
    if (!FileExists(path)) continue;
    if (read.moved && !done) {
      // The install did not complete: this is the old program's file. The
      // running updater's own one waits for an install that completes.
      if (SamePath(target, gExePath)) {
        Log("FormCreate()復元保留=" + target);
      } else {
        const bool back = WaitForTarget(target, start, "FormCreate()") &&
                          MoveFileExA(path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
        Log((back ? "FormCreate()復元=" : "FormCreate()復元失敗=") + target);
      }
    } else {
      Log((fncDeleteFile(path) ? "FormCreate()旧ファイル削除=" : "FormCreate()旧ファイル削除失敗=") + path);
    }
    // What could not be put back or removed is tried again later.
    if (!done && FileExists(path)) standing_.insert(standing_.begin(), read);
  }
  if (standing_.empty()) {
    if (!fncDeleteFile(RecordPath())) Log("FormCreate()記録削除失敗=" + RecordPath());
    return;
  }
  std::string rest;
  for (const RecordLine& line : standing_) rest += TextOf(line);
  if (!WriteRecord(rest)) Log("FormCreate()記録失敗=" + RecordPath());
}
