// The list button: every row shown in the grid into a workbook made from
// list.xls, previewed, then saved in <mydoc>List\ under the search range.
#include <winsock2.h>  // before windows.h: the report window uses Winsock 2

#include "manager/ListReportWorkbook.h"

#include <stdexcept>

#include "common/FileSystem.h"
#include "common/portable/FolderText.h"
#include "forms/MessageBox.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ReportWindow.h"
#include "manager/portable/WorkbookOutputRules.h"

namespace {

constexpr char kMarkText[] = "●";

std::string Slashed(const std::string& day) {
  return day.substr(0, 4) + "/" + day.substr(4, 2) + "/" + day.substr(6, 2);
}

}  // namespace

void fncSaveWorkbookReplacing(office::Workbook& book, const std::string& path) {
  const std::string name = FileNameOf(path);
  const std::string temporary = path.substr(0, path.size() - name.size()) + "~kestro_" + name;
  SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(temporary.c_str());
  try {
    book.SaveCopyAs(temporary);
  } catch (...) {
    DeleteFileA(temporary.c_str());
    throw;
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileA(temporary.c_str());
    throw std::runtime_error("保存先のファイルを置き換えられません(" + std::to_string(error) + "):" + path);
  }
}

void fncXlsFailed(HWND owner) {
  fncWriteSysLog("XLS処理異常終了しました。");
  forms::ShowMessageBox(owner, "Excel処理が異常終了しました。\r\n・Excelがインストールされていますか？",
                        kManagerCaption, MB_OK);
}

void TForm1::SpeedButton4Click() {
  if (!SpeedButton4.IsEnabled()) return;
  if (checkXls() != 0) {
    fncWriteSysLog("起動中のExcelを発見");
    forms::ShowMessageBox(Handle(), "すでに起動しているExcelファイルを終了してから再実行してください。",
                          kManagerCaption, MB_OK);
    return;
  }
  const int entries = static_cast<int>(Lists.Count());
  if (entries == 0) {
    fncWriteSysLog("印刷データなし");
    forms::ShowMessageBox(Handle(), "印刷データがありません。", kManagerCaption, MB_OK);
    return;
  }
  const std::string first = DateTimePicker1.Date(), last = DateTimePicker2.Date();
  const std::string folder = gMyDocDir + "List\\", name = first + "_" + last + ".xls";
  ForceDirectories(folder);
  const std::string templ = gExeDir + "list.xls";
  if (!FileExists(templ)) {
    forms::ShowMessageBox(Handle(), "システムに必要なファイル（list.xls）が見つかりません。", kManagerCaption, MB_OK);
    return;
  }
  bool save = true;
  if (FileExists(folder + name)) {
    fncWriteSysLog("同一名のExcelファイル発見。");
    if (forms::ShowMessageBox(Handle(), "保存先に同一ファイル名のExcelファイルが存在します。上書きしますか？",
                              kManagerCaption, MB_YESNO | MB_DEFBUTTON2) != IDYES) {
      save = false;
      fncWriteSysLog("Excel上書き保存しません。");
    }
  }
  fncWriteSysLog("XLS処理に入りました");
  panelMsg.SetText("XLS集計中です。お待ちください・・");
  StartPanel();
  office::SpreadsheetSession session;
  try {
    session.Start().SetVisible(false);
    session.book = session.application->Workbooks().Open(templ, {0, false});
    office::Worksheet sheet = session.book->Sheet(1);
    fncWriteSysLog("XLS起動完了");
    sheet.Range("C3").SetValue(Slashed(first));
    sheet.Range("C4").SetValue(Slashed(last));
    int completed = 0;
    for (int i = 1; i <= entries; ++i) {
      const std::string row = std::to_string(i + 6);
      if (i > 1) {
        const std::string above = std::to_string(i + 5);
        sheet.Range("A" + above, "J" + above).Copy();
        sheet.Range("A" + row, "J" + row).Select();
        sheet.Paste();
      }
      const size_t r = static_cast<size_t>(i - 1);
      const bool done = Lists.Cell(kColCompleted, r) == "完了";
      completed += done ? 1 : 0;
      const std::string values[10] = {Lists.Cell(kColDate, r),     Lists.Cell(kColTime, r),
                                      Lists.Cell(kColImportant, r) == "重要" ? kMarkText : "",
                                      done ? kMarkText : "",       Lists.Cell(kColFileType, r),
                                      Lists.Cell(kColProject, r),  Lists.Cell(kColOperation, r),
                                      Lists.Cell(kColFileSize, r),     Lists.Cell(kColComment, r),
                                      Lists.Cell(kColFileName, r)};
      for (int c = 0; c < 10; ++c) sheet.Range(std::string(1, static_cast<char>('A' + c)) + row).SetValue(values[c]);
    }
    sheet.Range("G3").SetValue(ListCountText(entries));
    sheet.Range("G4").SetValue(ListCountText(completed));
    sheet.Range("H4").SetValue(CompletedShareText(completed, entries));
    session.application->SetVisible(true);
    sheet.Activate();
    sheet.PrintPreview();
    fncWriteSysLog("ExcelPreview完了");
    if (save) {
      fncSaveWorkbookReplacing(*session.book, folder + name);
      fncWriteSysLog("ExcelSaveAs完了");
    }
    session.application->SetVisible(false);
    session.Close();
    fncWriteSysLog("XLS終了処理完了");
    EndPanel();
  } catch (...) {
    session.End();
    EndPanel();
    fncXlsFailed(Handle());
    return;
  }
  if (save) forms::ShowMessageBox(Handle(), folder + name + "\r\n" + "保存しました。", kManagerCaption, MB_OK);
}
