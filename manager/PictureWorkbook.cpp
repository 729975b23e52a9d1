// The picture workbook: each selected picture report is fetched read-only
// into the work folder, fitted to the size limit, pasted on its own page
// (or all on one page) and listed with a link on the index sheet.

#include <winsock2.h>  // before windows.h: the report window uses Winsock 2

#include <cctype>
#include <stdexcept>

#include "common/FileSystem.h"
#include "common/portable/FolderText.h"
#include "common/portable/NameCharacters.h"
#include "forms/MessageBox.h"
#include "manager/IniFiles.h"
#include "manager/ListReportWorkbook.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerUtilities.h"
#include "manager/PicturePreparation.h"
#include "manager/ReportWindow.h"
#include "manager/SpreadsheetOptionsForm.h"
#include "manager/portable/WorkbookOutputRules.h"

namespace {

constexpr char kIndexSheet[] = "画像一覧";
constexpr char kMasterSheet[] = "原紙";
constexpr char kAllPictures[] = "全ての画像";
constexpr char kBackLink[] = "一覧に戻る";

void Log(const std::string& text) { fncWriteSysLog(text); }

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string TodayText() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  char text[32];
  wsprintfA(text, "%04u", st.wYear);
  std::string out = text;
  wsprintfA(text, "%02u", st.wMonth);
  out += std::string("年") + text;
  wsprintfA(text, "%02u", st.wDay);
  return out + "月" + text + "日";
}

// The cells of a picture page per output kind 1, 3, 4, 5 (kind 2 computes its own).
struct PageCells {
  const char *link, *name, *tanName, *date;
};
const PageCells& PageCellsOf(int kind) {
  static const PageCells cells[5] = {{"A1", "C1", nullptr, nullptr},
                                     {nullptr, nullptr, nullptr, nullptr},
                                     {"A1", "I3", "G1", "B3"},
                                     {"A1", "A6", "H1", "E6"},
                                     {"A1", "B5", "E1", "B4"}};
  return cells[kind - 1];
}

}  // namespace

void TForm1::SpeedButton16Click() {
  if (!SpeedButton16.IsEnabled()) return;
  if (checkXls() != 0) {
    Log("起動中のExcelを発見");
    forms::ShowMessageBox(Handle(), "すでに起動しているExcelファイルを終了してから再実行してください。",
                          kManagerCaption, MB_OK);
    return;
  }
  if (Lists.Count() == 0) {
    Log("印刷データなし");
    forms::ShowMessageBox(Handle(), "印刷データがありません。", kManagerCaption, MB_OK);
    return;
  }
  if (Form3) {
    Form3->txtImageX.SetText("1024");
    Form3->txtImageY.SetText("768");
    Form3->txtTanName.SetText(gMgr.TANNAME);
    Form3->cmbPrintOrient.SetItemIndex(gPrintOrient - 1);
    Form3->txtImagePos.SetText(gMgr.IMGPOS[0]);
    Form3->CheckKind(1);
    Form3->ShowModal(Handle());
  }
  const int kind = gOutputKind;
  int top = sg1.SelectionTop(), bottom = sg1.SelectionBottom();
  if (top <= 0 && bottom <= 0) {
    forms::ShowMessageBox(Handle(), "有効な行が選択されていません。", kManagerCaption, MB_OK);
    Log("有効な行が選択されていません。");
    return;
  }
  if (top == 0) top = 1;
  SaveDialog1.Options = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  SaveDialog1.Filter = "Excel (*.xls)\0*.xls\0\0";
  SaveDialog1.DefaultExt = "xls";
  SaveDialog1.InitialDir = gMgr.SAVEPATH;
  SaveDialog1.FileName = "ImgList_" + DateTimePicker1.Date() + "_" + DateTimePicker2.Date() + ".xls";
  SaveDialog1.Title = "ケストロ管理画面(XLSファイル保存先の指定)";
  SaveDialog1.OnFolderChange = nullptr;
  const std::string chosen = SaveDialog1.Execute(Handle()) ? SaveDialog1.FileName : "";
  const std::string name = FileNameOf(chosen), folder = chosen.substr(0, chosen.size() - name.size());
  if (folder.size() < 2) return;
  gMgr.SAVEPATH = folder;
  gMgr.unread.erase("SAVEPATH");
  IniWriteString(ManagerIniPath(), "KESTROMGR", "SAVEPATH", folder);
  ForceDirectories(folder);
  if (!FileExists(gExeDir + "imageList.xls")) {
    forms::ShowMessageBox(Handle(), "システムに必要なファイル（imageList.xls）が見つかりません。", kManagerCaption,
                          MB_OK);
    return;
  }
  if (FileExists(folder + name)) {
    Log("同一名のExcelファイル発見。");
    if (forms::ShowMessageBox(Handle(), "保存先に同一ファイル名のExcelファイルが存在します。上書きしますか？",
                              kManagerCaption, MB_YESNO | MB_DEFBUTTON2) != IDYES) {
      Log("Excel上書き保存しません。");
      return;
    }
  }

  Log("XLS処理に入りました");
  panelMsg.SetText("画像をXLSファイルへ展開中です・・");
  StartPanel();
  office::SpreadsheetSession session;
  // Ends the run early: nothing saved.
  auto giveUp = [&](const std::string& box, UINT flags = MB_OK) {
    session.End();
    if (!box.empty()) forms::ShowMessageBox(Handle(), box, kManagerCaption, flags);
    Gauge1.Show(SW_HIDE);
    EndPanel();
  };
  try {
    session.Start().SetVisible(false);
    const std::string templ =
        kind <= 2 ? gExeDir + "imageList.xls" : gExeDir + "template\\TAN-" + gTemplateNo + ".xls";
    session.book = session.application->Workbooks().Open(templ, {0, false});
    office::Workbook& book = *session.book;
    office::Worksheet index = book.Sheet(1);
    Log("XLS起動完了");
    Gauge1.SetRange(0, bottom - top + 1);
    Gauge1.SetPosition(0);
    Gauge1.Show(SW_SHOW);
    int n = 1;
    for (int row = top; row <= bottom; ++row) {
      Gauge1.SetPosition(Gauge1.Position() + 1);
      if (abortFlag) {
        Log("中断しました。");
        break;
      }
      const std::string date = sg1.Cell(0, row);
      if (date.empty()) {
        Log("日付項目に情報がセットされていないのでスキップします。");
        continue;
      }
      if (Upper(Lists.Cell(kColFileType, static_cast<size_t>(row - 1))) != "JPG") {
        Log("JPEGファイルではないのでスキップします。");
        continue;
      }
      const std::string day = DayOfDateText(date);
      if (day.empty()) throw std::runtime_error("日付が不正です:" + date);
      const std::string name9 = sg1.Cell(9, row);
      const std::string work = PathInFolder(WorkFolderPath(), name9);
      std::string fetched;
      const char* const suffixes[3] = {".UPD", ".CMP", ""};
      const char* const states[3] = {"ファイル編集中", "完了状態", "通常状態です。"};
      for (int attempt = 0; attempt < 3 && fetched.empty(); ++attempt) {
        const int got = ftpGetFile(day, name9 + suffixes[attempt]);
        if (attempt == 0) {
          Log(day + "\\" + name9);
          progress.SetText(name9 + "<-ダウンロード中");
        }
        if (got == 0) {
          Log(states[attempt]);
          fetched = name9 + suffixes[attempt];
        }
      }
      if (fetched.empty()) {
        if (row == bottom) {
          giveUp(name9 + " <-対象ファイルが存在しませんでした。");
          return;
        }
        if (forms::ShowMessageBox(Handle(), name9 + " <-対象ファイルが存在しませんでした。続行しますか？",
                                  kManagerCaption, MB_OKCANCEL | MB_DEFBUTTON2) == IDOK) {
          Log("次のファイルへ処理続行します。");
          continue;
        }
        Log("キャンセルしました。");
        giveUp("");
        return;
      }
      if (fetched != name9 &&
          !MoveFileExA((WorkFolderPath() + fetched).c_str(), work.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        Log("実ファイル名へのコピーに失敗");
        DeleteWorkFile(WorkFolderPath() + fetched);
        giveUp("ファイルの書き込みに失敗しました。");
        return;
      }
      // The fitting first: a row whose picture cannot be had leaves no page behind.
      if (!fncFitImage(work, gMgr.XLSOUTPUTX, gMgr.XLSOUTPUTY)) {
        Log("画像を準備できないのでスキップします。" + name9);
        DeleteWorkFile(work);
        continue;
      }
      const std::string comment = sg1.Cell(8, row);
      const std::string sheetName = PictureSheetName(n, comment);
      if (!comment.empty()) Log(std::string("fncDelInvalidSheetStr(") + (kind <= 2 ? char('0' + kind) : '3') + ")");
      office::Worksheet page = book.Sheet(kMasterSheet);
      if (kind != 2 || n == 1) {
        page.Select();
        page.CopyAfter(book.Sheet(book.SheetCount()));
        page = book.Sheet(book.SheetCount());
        page.SetName(kind == 2 ? kAllPictures : sheetName);
        page.Activate();
        if (kind == 2) Log("シート追加完了");
      } else {
        page = book.Sheet(kAllPictures);
        page.Activate();
      }
      int allRow = 0;
      std::string position = gMgr.IMGPOS[kind - 1];
      if (kind == 2) {
        allRow = AllPicturesRow(gMgr.XLSOUTPUTY, n);
        position = "A" + std::to_string(allRow + 1);
        page.Range(position).Select();
        Log("貼付位置RANGESelect完了->" + position);
      }
      Log("POSITION:" + position);
      page.Range(position).Select();
      // The picture goes on the clipboard only now, right before the paste.
      if (!fncImageToClipBoard(work)) {
        Log("ClipBoardへの転送に失敗しました。->" + work);
        throw std::runtime_error("clipboard");
      }
      page.Paste();
      std::string linkCell;
      if (kind == 2) {
        linkCell = "A" + std::to_string(allRow);
        // The caption rows move with the pictures: the apostrophe keeps the name text.
        page.Range("C" + std::to_string(allRow)).SetValue("'" + sheetName);
      } else {
        office::Pictures pictures = page.Pictures();
        pictures.SetTop(pictures.Top() + 2);
        pictures.SetLeft(pictures.Left() + 2);
        const PageCells& cells = PageCellsOf(kind);
        linkCell = cells.link;
        page.Range(cells.name).SetValue(sheetName);
        if (cells.tanName) page.Range(cells.tanName).SetValue(gMgr.TANNAME);
        if (cells.date) page.Range(cells.date).SetValue(TodayText());
      }
      page.Range(linkCell).SetValue(kBackLink);
      page.AddHyperlink(page.Range(linkCell), "", std::string(kIndexSheet) + "!A1");
      office::PageSetup setup = page.PageSetup();
      if (gPrintOrient == 1 || gPrintOrient == 2) setup.SetOrientation(gPrintOrient);
      if (kind == 2) {
        setup.SetZoomOff();  // the page counts count only without a zoom
        setup.SetFitToPagesWide(1);
        setup.SetFitToPagesTall(32767);
      }
      index.Activate();
      const std::string m = std::to_string(n + 3);
      if (n > 1) {
        const std::string above = std::to_string(n + 2);
        index.Range("B" + above, "F" + above).Copy();
        index.Range("B" + m, "F" + m).Select();
        index.Paste();
      }
      index.Range("B" + m).SetValue(std::to_string(n));
      index.Range("C" + m).SetValue(sheetName);
      index.Range("D" + m).SetValue(date);
      index.Range("E" + m).SetValue(sg1.Cell(1, row));
      index.Range("F" + m).SetValue(sg1.Cell(6, row));
      index.AddHyperlink(index.Range("C" + m), "",
                         kind == 2 ? std::string("'") + kAllPictures + "'!B" + std::to_string(allRow)
                                   : "'" + sheetName + "'!B1");
      DeleteWorkFile(work);
      ++n;
    }
    Gauge1.Show(SW_HIDE);
    session.application->SetDisplayAlerts(false);
    book.Sheet(kMasterSheet).Delete();
    Log("ExcelPreview完了");
    fncSaveWorkbookReplacing(book, folder + name);
    Log("ExcelSaveAs完了");
    session.application->SetVisible(false);
    session.Close();
    Log("XLS終了処理完了");
    EndPanel();
    ListDisp();
  } catch (...) {
    session.End();
    Gauge1.Show(SW_HIDE);
    EndPanel();
    fncXlsFailed(Handle());
    return;
  }
  forms::ShowMessageBox(Handle(), folder + name + "\r\n" + "に保存しました。", kManagerCaption, MB_OK);
}
