// The report window's server listings: the day and tag folders of the
// report store turned into the local catalogue files, and the catalogue
// loaded into the column lists.
#include <winsock2.h>
#include <windows.h>

#include <exception>

#include "common/FileSystem.h"
#include "forms/MessageBox.h"
#include "manager/IniFiles.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ReportWindow.h"
#include "manager/portable/CatalogueDay.h"
#include "manager/portable/CatalogueLists.h"
#include "manager/portable/IniText.h"
#include "manager/portable/NameText.h"
#include "transfer/TTmxFtp.h"

namespace {

bool FtpMode() { return gMgr.SAVE == 1; }

std::string CatalogueFile(const std::string& day) { return CatalogueFolder() + day + ".ini"; }

const char* ListingText(FolderListing listing) {
  switch (listing) {
    case FolderListing::Ok: return "OK";
    case FolderListing::Absent: return "フォルダなし";
    case FolderListing::Failed: return "取得失敗";
  }
  return "";
}

// The day text of a picker's date.
std::string PickerDay(const forms::DateTimePicker& picker) { return picker.Date(); }

}  // namespace

// A folder counts as absent only when the server, still logged in, answered
// 550 to the change of directory or the listing; a time-out, a dropped
// connection or any other answer tells nothing about the folder.
FolderListing TForm1::ListFtpFolder(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  TmxFtp->path = path;
  TmxFtp->ResultStr.clear();
  if (TmxFtp->FtpChDir() != 0) return TmxFtp->Answered("550") ? FolderListing::Absent : FolderListing::Failed;
  TmxFtp->Memo2.clear();
  TmxFtp->ResultStr.clear();
  if (TmxFtp->FtpDir() != 0) return TmxFtp->Answered("550") ? FolderListing::Absent : FolderListing::Failed;
  lines = TmxFtp->Memo2;
  return FolderListing::Ok;
}

FolderListing TForm1::ListSharedFolder(const std::string& folder, std::vector<std::string>& names,
                                       std::vector<std::string>* sizes) {
  names.clear();
  if (sizes) sizes->clear();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return FolderListing::Ok;  // an empty folder
    return error == ERROR_PATH_NOT_FOUND && !FolderExists(folder) ? FolderListing::Absent : FolderListing::Failed;
  }
  do {
    const std::string name = TrimText(found.cFileName);
    if (name.empty() || name == "." || name == "..") continue;
    names.push_back(name);
    if (sizes) {
      const unsigned long long size = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
      sizes->push_back(std::to_string(size));
    }
  } while (FindNextFileA(search, &found));
  const DWORD error = GetLastError();
  FindClose(search);
  return error == ERROR_NO_MORE_FILES ? FolderListing::Ok : FolderListing::Failed;
}

int TForm1::ftpGetLists(const std::string& from, const std::string& to) {
  const std::vector<std::string> days = DaysOfRange(from, to);
  if (days.empty()) return 0;
  const bool ftp = FtpMode();
  if (ftp) {
    const bool loggedIn = TmxFtp && TmxFtp->FtpLogin() == 0;
    fncWriteSysLog("リスト取得開始");
    if (!loggedIn) {
      forms::ShowMessageBox(Handle(),
                            "接続できませんでした。\r\n・接続先のIPアドレスが正しいかどうか、\r\n"
                            "・FTPサービスが開始されているか、\r\nを確認してください。",
                            kManagerCaption, MB_OK);
      fncWriteSysLog("接続エラー");
      return -1;
    }
  } else {
    fncWriteSysLog("リスト取得開始");
  }
  try {
    for (const std::string& d : days) {
      if (abortFlag) {
        fncWriteSysLog("中断しました。");
        break;
      }
      fncWriteSysLog(d + "フォルダリスト取得");
      progress.SetText(d + "<-リスト取得中...");
      UpdateWindow(progress.Handle());
      Memo1.clear();
      Memo1Sizes.clear();
      if (ftp) {
        const std::string path = "/" + gServerRoot + "/" + d;
        fncWriteSysLog(path + "<-FTPリスト取得完了待ち合わせ・・・・");
        Memo1Listing = ListFtpFolder(path, Memo1);
        if (Memo1Listing != FolderListing::Ok) fncWriteSysLog(path + "<-FTPリスト取得失敗・・・・");
        fncWriteSysLogLines(Memo1);
      } else {
        const std::string folder = gMgr.FILESAVEPATH + d;
        TmxFtp->path = folder;
        fncWriteSysLog(folder + "<-リスト取得完了待ち合わせ・・・・");
        Memo1Listing = ListSharedFolder(folder, Memo1, &Memo1Sizes);
      }
      fncWriteSysLog(std::string("取得完了。") + ListingText(Memo1Listing));
      MakeFileList(d);
      fncWriteSysLog("makeFileList完了。");
    }
  } catch (const std::exception& e) {
    fncWriteSysLog(std::string("リスト取得エラー15 ") + e.what());
    if (ftp) TmxFtp->FtpDisconnect();
    return -2;
  }
  if (ftp) {
    fncWriteSysLog("切断開始14");
    TmxFtp->FtpDisconnect();
    fncWriteSysLog("切断完了");
  }
  fncWriteSysLog("リスト取得完了");
  return 0;
}

void TForm1::MakeFileList(const std::string& day) {
  const bool ftp = FtpMode();
  const std::string file = CatalogueFile(day);
  ForceDirectories(CatalogueFolder());
  IniText catalogue;
  if (IniLoadText(file, catalogue) != 0) {
    fncWriteSysLog(day + ".ini 読込失敗");
    return;  // the day keeps its catalogue
  }
  if (FileExists(file)) fncWriteSysLog("現在リスト数" + std::to_string(catalogue.Sections().size()));

  std::vector<SkippedEntry> skipped;
  std::vector<std::string> tagNames;
  FolderListing tags = FolderListing::Failed;
  if (Memo1Listing == FolderListing::Ok) {
    if (ftp) {
      std::vector<std::string> lines;
      tags = ListFtpFolder("/" + gServerRoot + "/" + day + "tag" + "/", lines);
      if (tags == FolderListing::Ok) {
        fncWriteSysLog(day + "<-タグ情報展開");
        fncWriteSysLogLines(lines);
      }
      tagNames = TagNamesFromListing(lines, skipped);
    } else {
      const std::string folder = gMgr.FILESAVEPATH + day + "tag";
      TmxFtp->path = folder;
      fncWriteSysLog(day + "<-タグ情報展開");
      std::vector<std::string> names;
      tags = ListSharedFolder(folder, names, nullptr);
      tagNames = TagNamesFromEntries(names, skipped);
    }
    if (tags != FolderListing::Ok) fncWriteSysLog(day + "tag<-タグ情報取得失敗 " + ListingText(tags));
  }

  std::vector<StoreFile> files;
  if (ftp) {
    files = FilesFromListing(Memo1, skipped);
  } else {
    for (size_t i = 0; i < Memo1.size(); ++i) files.push_back({Memo1[i], Memo1Sizes[i]});
  }
  const std::vector<CatalogueEntry> entries = BuildDayEntries(files, tagNames, !ftp, skipped);
  LogSkipped(skipped);
  if (Memo1Listing == FolderListing::Failed) {
    fncWriteSysLog(day + "<-リスト取得失敗のためカタログを保持");
    return;
  }
  if (!ApplyDayListing(catalogue, Memo1Listing, tags, entries)) return;
  IniSaveText(file, catalogue);
}

void TForm1::catalogueToList() {
  ListClear();
  const std::vector<std::string> days = DaysOfRange(PickerDay(DateTimePicker1), PickerDay(DateTimePicker2));
  for (const std::string& day : days) {
    const std::string file = CatalogueFile(day);
    if (!FileExists(file)) continue;
    IniText catalogue;
    if (IniLoadText(file, catalogue) != 0) continue;
    fncWriteSysLog("表示リスト数" + std::to_string(catalogue.Sections().size()));
    std::vector<SkippedEntry> skipped;
    Lists.AddDay(day, catalogue, skipped);
    LogSkipped(skipped);
  }
}

std::optional<std::string> TForm1::GetTagFileName(const std::string& tagFolder, const std::string& base) {
  fncWriteSysLog(tagFolder + "<-タグ情報検査(" + base + ")");
  std::vector<SkippedEntry> skipped;
  std::vector<std::string> names;
  FolderListing listing = FolderListing::Failed;
  if (FtpMode()) {
    if (!TmxFtp || TmxFtp->FtpLogin() != 0) {
      fncWriteSysLog("ログイン失敗");
      return std::nullopt;
    }
    std::vector<std::string> lines;
    listing = ListFtpFolder("/" + gServerRoot + "/" + tagFolder + "/", lines);
    names = TagNamesFromListing(lines, skipped);
    fncWriteSysLog("切断開始16");
    TmxFtp->FtpDisconnect();
  } else {
    std::vector<std::string> entries;
    listing = ListSharedFolder(gMgr.FILESAVEPATH + tagFolder, entries, nullptr);
    names = TagNamesFromEntries(entries, skipped);
  }
  // A folder that is gone holds no tag; one that could not be listed tells nothing.
  if (listing == FolderListing::Failed) {
    fncWriteSysLog(tagFolder + "<-タグ情報取得失敗 " + ListingText(listing));
    return std::nullopt;
  }
  LogSkipped(skipped);
  return fncFindTagFile(base, names, false);
}
