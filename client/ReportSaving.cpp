#include "client/ReportSaving.h"

#include <stdexcept>

#include "client/CaptureState.h"
#include "client/Common.h"
#include "client/Global.h"
#include "client/ReportWorkbook.h"
#include "client/SettingsValues.h"
#include "client/portable/ReportNaming.h"
#include "forms/MessageBox.h"
#include "office/portable/WorkbookPassword.h"

namespace {

const char kTagFailed[] = "タグファイルを作成できません\r\nファイルの保存に失敗しました";
const char kNoSpreadsheet[] =
    "エクセルがインストールされていません。画像で保存します\r\n以降、「画像スタイル」で処理します";

void Log(const std::string& text) { fncWriteSysLog("登録画面," + text); }

workbook::ReportWorkbookInput WorkbookInput(const ReportFormFields& fields) {
  workbook::ReportWorkbookInput input;
  input.templatePath = gExeDir + kestro::kTemplateFile;
  input.processingDay = gSettings.DATE;
  input.picturePath = CurrentCapturePath();
  input.presentDate = fields.presentDate;
  input.outbreakDate = fields.outbreakDate;
  input.terminal = gSettings.OPERATION;
  input.project = gSettings.PROJECT;
  input.title = fields.title;
  input.detailLines = fields.details;
  input.operationLines = fields.operations;
  input.pictureHeight = gSettings.HEIGHT;
  input.pictureWidth = gSettings.WIDTH;
  input.pictureTop = gSettings.TOP;
  input.pictureLeft = gSettings.LEFT;
  input.protect = gSettings.EXCELPWD == 1;
  return input;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

}  // namespace

ReportFormFields CaptureFormFields() {
  return ReportFormFields{gSubmitDisplayDate, gOccurDisplayDate, gCaptureTitle, gCaptureDetails, gCaptureOperations};
}

bool CreateTagFile(const std::string& path, std::string& error) {
  error.clear();
  if (!PathFits(path)) {
    error = kTagPathTooLong;
    return false;
  }
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    error = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS
                ? "タグファイルが既に存在します"
                : "タグファイルの作成に失敗しました(" + std::to_string(code) + ")";
    return false;
  }
  CloseHandle(file);
  return true;
}

bool RetagReport(const std::string& localDir, const std::string& folder, const std::string& name,
                 const std::string& title, std::string& error) {
  error.clear();
  std::string base, extension, oldTag;
  fncSplitFileName(name, base, extension);
  const std::string tagFolder = ReportTagFolder(localDir, folder);
  const std::string newTag = TagFileName(base, title);
  bool hasOld = fncFindLocalFile(localDir, folder + "tag", name, oldTag);
  if (hasOld && SameNameIgnoringCase(oldTag, newTag)) {
    if (oldTag == newTag) return true;
    if (MoveFileA((tagFolder + oldTag).c_str(), (tagFolder + newTag).c_str())) return true;
    error = "タグファイルの名前を変更できません";
    return false;
  }
  if (!CreateTagFile(tagFolder + newTag, error)) return false;
  if (hasOld && !fncDeleteFile(tagFolder + oldTag)) {
    // Two tags would leave the title in doubt: keep the old one only.
    DeleteFileA((tagFolder + newTag).c_str());
    error = "タグファイルの削除に失敗しました";
    return false;
  }
  return true;
}

bool ReportSaver::fncSaveFile(std::string& folder, std::string& name, const ReportFormFields& fields) {
  SettingsValues& settings = gSettings;
  bool written = false;
  std::string extension;
  try {
    Log("fncSaveFile()");
    folder.clear();
    name.clear();
    AdvanceProcessingDay(gCaptureDate, settings.DATE, settings.NUM);
    const std::string baseName = ReportBaseName(settings.OPERATION, gCaptureDate, gCaptureTime, settings.NUM);
    Log("fncSaveFile()Name=" + baseName);
    ForceDirectories(ReportDayFolder(settings.LOCALDIR, settings.DATE));
    ForceDirectories(ReportTagFolder(settings.LOCALDIR, settings.DATE));
    folder = settings.DATE;
    name = ReportFileName(settings.PROJECT, baseName);
    // A tag that cannot be made would lose the title: refuse before writing.
    const std::string tagPath = ReportTagFolder(settings.LOCALDIR, folder) + TagFileName(name, fields.title);
    if (!PathFits(tagPath)) {
      Log("fncSaveFile()Tag=" + tagPath);
      throw std::runtime_error(kTagPathTooLong);
    }

    std::string password;
    if (settings.STYLE == 0) {
      if (!workbook::fucXlsFind()) {
        forms::ShowMessageBox(owner_, kNoSpreadsheet, "ERROR", MB_OK | MB_TOPMOST);
        settings.STYLE = 1;
      }
      office::fncMakePwd(gCaptureDate + gCaptureTime, password);
    }
    Log("fncSaveFile()Style=" + std::to_string(settings.STYLE));

    const std::string target = ReportDayFolder(settings.LOCALDIR, folder) + name;
    for (int attempt = 1; attempt <= kestro::kRetryCount && !written; ++attempt) {
      if (attempt > 1) Sleep(100);
      Log("fncSaveFile()Try=" + std::to_string(attempt));
      if (settings.STYLE != 0) {
        extension = CaptureExtension(gCurrentCapture);
        Log("fncSaveFile()Save=" + target + extension);
        written = CopyFileA(CurrentCapturePath().c_str(), (target + extension).c_str(), FALSE) != FALSE;
      } else {
        if (!FileExists(gExeDir + kestro::kTemplateFile)) throw std::runtime_error("**fncSaveFile template NotFound");
        extension = ".xls";
        written = workbook::fucXlsSet(target + extension, baseName, password, WorkbookInput(fields));
      }
    }

    if (written) {
      bool tagged = false;
      for (int attempt = 1; attempt <= kestro::kRetryCount && !tagged; ++attempt) {
        if (attempt > 1) Sleep(100);
        tagged = fncTagFile(folder, name, fields.title);
      }
      // The title lives only in the tag's name (one of that name may be there
      // already): without it the report is not saved, and a retry starts clean.
      if (!tagged && !FileExists(tagPath)) {
        const std::string report = target + extension;
        if (!fncDeleteFile(report)) Log("fncSaveFile()ERROR=報告ファイルを削除できません " + report);
        throw std::runtime_error(kTagFailed);
      }
    }
  } catch (...) {
    std::string message = ExceptionMessage();
    Log("fncSaveFile()ERROR=" + message);
    throw std::runtime_error(message);
  }
  settings.NUM = NextDailyCounter(settings.NUM);
  name += extension;
  return written;
}

bool ReportSaver::fncTagFile(const std::string& folder, const std::string& name, const std::string& title) {
  try {
    Log("fncTagFile()" + ReportTagFolder(gSettings.LOCALDIR, folder) + name + "_" + title + ".tag");
    std::string error;
    if (CreateTagFile(ReportTagFolder(gSettings.LOCALDIR, folder) + TagFileName(name, title), error)) return true;
    Log("fncTagFile()ERROR=" + error);
  } catch (...) {
    Log("fncTagFile()ERROR=" + ExceptionMessage());
  }
  return false;
}
