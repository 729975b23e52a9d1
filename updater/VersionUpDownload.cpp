// TForm1::fncDownload: the files of download/<PROJECT>/ (and its SUBDIR)
// are fetched into the work folder and copied over the program folder.
#include <winsock2.h>  // before windows.h: the transfer client uses Winsock 2

#include <algorithm>
#include <map>
#include <stdexcept>

#include "common/ExceptionText.h"
#include "common/FileSystem.h"
#include "common/SystemUtilities.h"
#include "forms/Application.h"
#include "transfer/TTmxFtp.h"
#include "updater/Global.h"
#include "updater/SplashForm.h"
#include "updater/portable/DownloadListing.h"

namespace {

constexpr char kDownloadFailed[] = "ダウンロード失敗";
// Rounds of fncCopyFile (3 tries each) for a file that is in use.
constexpr int kInstallRounds = 3;
constexpr DWORD kInstallPauseMs = 1000;

void Pause(DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 100) Sleep(100);
}

// Waits while the splash keeps painting.
void PauseWithMessages(DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    forms::Application::Instance().ProcessMessages();
    Sleep(50);
  }
}

void ForceFolder(const std::string& folder) {
  if (!ForceDirectories(folder)) throw std::runtime_error("フォルダを作成できません\r\n" + folder);
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
      ftp.path = "/";
      if (ftp.FtpChDir() == 0) {
        const std::string subFolder = projectFolder + updater::WithSeparator(SUBDIR, '/') + "/";
        ftp.path = subFolder;
        if (ftp.FtpChDir() == 0 && ftp.FtpDir() == 0) {
          const std::string localSub = updater::WithSeparator(SUBDIR, '\\') + "\\";
          ForceFolder(gExeDir + localSub);
          AddListing({subFolder, gExeDir + localSub, workFolder + localSub}, sources);
        }
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
    const updater::ListingLine read = updater::ReadListingLine(lines[i], style);
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
  SetProgress("ファイルの展開中");
  std::string failed;
  for (const Entry& entry : entries) {
    const std::string work = entry.workFolder + entry.name;
    const std::string target = entry.destination + entry.name;
    if (!InstallFile(work, target)) {
      // The work copy stays for the next version-up.
      failed += "\r\n" + target;
      continue;
    }
    if (!fncDeleteFile(work)) Log("fncDownload()作業ファイル削除失敗=" + work);
  }
  if (!failed.empty()) {
    SetProgress("ファイルの展開に失敗しました");
    throw std::runtime_error("ファイルを更新できませんでした" + failed);
  }
}

bool TForm1::InstallFile(const std::string& source, const std::string& target) {
  // The running updater's file cannot be written over, but it can be
  // renamed: it is moved aside and put back when no copy succeeds.
  const std::string aside = target + updater::kMovedAsideSuffix;
  const bool self = lstrcmpiA(target.c_str(), gExePath.c_str()) == 0;
  if (self) {
    if (!MoveFileExA(target.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      Log("fncDownload()退避失敗=" + target + ",エラー=" + std::to_string(GetLastError()));
      return false;
    }
    Log("fncDownload()退避=" + aside);
  }
  for (int round = 1;; ++round) {
    if (fncCopyFile(source, target, false)) return true;
    const DWORD error = GetLastError();
    Log("fncDownload()展開失敗=" + target + ",エラー=" + std::to_string(error) + ",試行=" + std::to_string(round));
    if (round == kInstallRounds) break;
    PauseWithMessages(kInstallPauseMs);
  }
  if (self && !MoveFileExA(aside.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
    Log("fncDownload()復元失敗=" + target + ",エラー=" + std::to_string(GetLastError()));
  return false;
}
