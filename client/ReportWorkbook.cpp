#include "client/ReportWorkbook.h"

#include <windows.h>

#include <stdexcept>

#include "client/Common.h"
#include "client/ReportSaving.h"
#include "office/Spreadsheet.h"
#include "office/SpreadsheetProbe.h"
#include "office/portable/ReportCellText.h"

namespace workbook {

namespace {

const char kUnknownError[] = "不明なエラー";

void Log(const std::string& text) { fncWriteSysLog("登録画面," + text); }

std::string CurrentMessage() { return ExceptionMessage(kUnknownError); }

void FillReport(office::Worksheet& sheet, const std::string& baseName, const ReportWorkbookInput& input) {
  const char* const cells[] = {"T2", "E3", "E4", "E5", "I7", "I8", "I9", "E11"};
  const std::string values[] = {baseName,
                                input.presentDate,
                                input.outbreakDate,
                                input.terminal,
                                input.project,
                                input.title,
                                office::JoinCellLines(input.detailLines),
                                office::JoinCellLines(input.operationLines)};
  // Text format first, so that digits and dates stay exactly as written.
  for (const char* cell : cells) sheet.Range(cell).SetNumberFormatLocal("@");
  for (size_t i = 0; i < 8; ++i) sheet.Range(cells[i]).SetValue(values[i]);
  // Embedded, not linked: the capture file goes once the report is saved.
  office::Shape picture = sheet.Shapes().AddPicture(input.picturePath, input.pictureLeft, input.pictureTop);
  picture.SetLockAspectRatio(true);
  if (picture.Height() > input.pictureHeight) picture.SetHeight(input.pictureHeight);
  if (picture.Width() > input.pictureWidth) picture.SetWidth(input.pictureWidth);
  picture.SetTop(input.pictureTop);
  picture.SetLeft(input.pictureLeft);
}

}  // namespace

bool fucXlsSet(const std::string& path, const std::string& baseName, const std::string& password,
               const ReportWorkbookInput& input) {
  Log("fucXlsSet()");
  bool saved = false;
  {
    office::SpreadsheetSession session;
    try {
      office::Application& application = session.Start();
      session.book = application.Workbooks().Open(input.templatePath, {0});
      office::Worksheet sheet = session.book->Sheet(1);
      sheet.Activate();
      if (!office::IsCalendarDay(input.processingDay))
        throw std::runtime_error("DATE=" + input.processingDay + " is not a date");
      FillReport(sheet, baseName, input);
      const int format = application.WorkbookFileFormat();
      if (input.protect)
        session.book->SaveAs(path, format, password);
      else
        session.book->SaveAs(path, format);
      Log("fucXlsSet()Save=" + path);
      saved = true;
    } catch (...) {
      bool withMessage = CurrentMessage() != kUnknownError;
      Log(std::string("fucXlsSet()ERROR=") + (withMessage ? "Excelの保存に失敗しました" : kUnknownError));
    }
  }
  Log("fucXlsFree()FREE");
  return saved;
}

bool fucXlsFind() {
  Log("fucXlsFind()");
  std::string error;
  if (office::ProbeSpreadsheet(&error)) return true;
  Log("fucXlsFind()ERROR=" + (error.empty() ? std::string(kUnknownError) : error));
  return false;
}

bool fucXlsProcess() {
  const int kLooks = 3;
  for (int look = 1; look <= kLooks; ++look) {
    if (!office::SpreadsheetRunning()) return true;
    if (look < kLooks) Sleep(100);
  }
  return false;
}

bool fucXlsPwdChg(bool reTag, const std::string& localDir, const std::string& folder, const std::string& name,
                  const std::string& oldPassword, const std::string& newPassword, bool* saved) {
  Log("fucXlsPwdChg()");
  if (saved) *saved = false;
  std::string failure, tagError;
  {
    office::SpreadsheetSession session;
    try {
      office::Application& application = session.Start();
      std::string path = localDir + folder + "\\" + name;
      session.book = application.Workbooks().OpenWithPassword(path, oldPassword);
      application.SetVisible(false);
      if (reTag) {
        office::Worksheet sheet = session.book->Sheet(1);
        sheet.Activate();
        // The new tag is made before the old one goes; a failure keeps the old.
        RetagReport(localDir, folder, name, sheet.Range("I8").Text(), tagError);
      }
      session.book->SaveAs(path, application.WorkbookFileFormat(), newPassword);
      if (saved) *saved = true;
      Log("fucXlsPwdChg()Save=" + path);
    } catch (...) {
      failure = CurrentMessage() == kUnknownError ? kUnknownError : "ExcelのOPENに失敗しました";
      Log("fucXlsPwdChg()ERROR=" + failure);
    }
  }
  // The workbook is saved (protected again) even when its tag could not follow.
  if (failure.empty() && !tagError.empty()) {
    failure = tagError;
    Log("fucXlsPwdChg()ERROR=" + failure);
  }
  if (!failure.empty()) throw std::runtime_error(failure);
  return true;
}

}  // namespace workbook
