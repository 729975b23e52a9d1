// Opening reports under the edit lock (the open button and the grid's
// double-click), the workbook password steps and the spreadsheet probes.
#include "manager/ReportOpening.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "common/ExceptionText.h"
#include "common/FileSystem.h"
#include "common/portable/NameCharacters.h"
#include "common/portable/ReportViewer.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "forms/Pause.h"
#include "manager/IniFiles.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerUtilities.h"
#include "manager/ReportWindow.h"
#include "manager/portable/CommentText.h"
#include "manager/portable/NameText.h"
#include "office/Spreadsheet.h"
#include "office/SpreadsheetProbe.h"
#include "office/portable/WorkbookPassword.h"

namespace {

constexpr char kCommentFile[] = "comment.tmp";
constexpr char kLockSuffix[] = ".UPD";
constexpr char kCompletedSuffix[] = ".CMP";
constexpr char kNoRowText[] = "有効な行が選択されていません。";
constexpr char kEditingText[] = " <-編集中のため参照できませんでした。";
constexpr char kNotViewableText[] = " <-このファイルの種類は開けません。";
constexpr char kNoViewerText[] = " <-表示するプログラムが見つかりません。";
constexpr char kKeptFolder[] = "EDITED\\";  // in the data folder, outside the work folder

void Log(const std::string& text) { fncWriteSysLog(text); }

constexpr DWORD kHandOffCmdMs = 5000;    // a CMD that ended sooner may have handed the file on
constexpr DWORD kHandOffOpenMs = 15000;  // for the running application to open it

// Another program has the file open: it cannot be opened exclusively.
bool HeldElsewhere(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  CloseHandle(file);
  return false;
}

// A spreadsheet application that was already running takes the workbook
// over from CMD, which then ends at once: wait while that one has it open.
void WaitWhileHeldElsewhere(const std::string& path, bool cmdEndedAtOnce) {
  DWORD openLimit = cmdEndedAtOnce ? kHandOffOpenMs : 0;
  char test[16];
  if (cmdEndedAtOnce && GetEnvironmentVariableA("KESTRO_TEST_HANDOFF_MS", test, sizeof test))
    openLimit = std::atoi(test);
  for (const DWORD start = GetTickCount(); !HeldElsewhere(path) && GetTickCount() - start < openLimit;)
    forms::PauseWithMessages(500);
  if (!HeldElsewhere(path)) return;
  Log(path + "<-他のアプリケーションが閉じるまで待ちます");
  // Free at two probes in a row: a save may let go of the file for a moment.
  for (int freeProbes = 0; freeProbes < 2; freeProbes = HeldElsewhere(path) ? 0 : freeProbes + 1)
    forms::PauseWithMessages(500);
  Log(path + "<-他のアプリケーションが閉じました");
}


}  // namespace

void WaitProcessWithMessages(HANDLE process) {
  forms::Application& application = forms::Application::Instance();
  application.ProcessMessages();
  Sleep(500);
  while (WaitForSingleObject(process, 50) != WAIT_OBJECT_0) application.ProcessMessages();
}

int TForm1::checkXls() { return office::SpreadsheetRunning() ? -1 : 0; }

int TForm1::fucXlsFind() {
  Log("fucXlsFind()");
  std::string error;
  if (office::ProbeSpreadsheet(&error)) return 1;
  Log("fucXlsFind()ERROR=" + (error.empty() ? std::string("不明なエラー") : error));
  return 0;
}

int ReportWindowRows::SelectionTop() const { return form_.sg1.SelectionTop(); }
int ReportWindowRows::SelectionBottom() const { return form_.sg1.SelectionBottom(); }
std::string ReportWindowRows::Cell(int col, int row) const { return form_.sg1.Cell(col, row); }
void ReportWindowRows::SetCell(int col, int row, const std::string& text) { form_.sg1.SetCell(col, row, text); }
CatalogueLists& ReportWindowRows::Lists() { return form_.Lists; }
void ReportWindowRows::StartPanel(const std::string& message) {
  form_.panelMsg.SetText(message);
  form_.StartPanel();
}
void ReportWindowRows::EndPanel() { form_.EndPanel(); }
void ReportWindowRows::ListDisp() { form_.ListDisp(); }
void ReportWindowRows::SetProgress(const std::string& text) {
  form_.progress.SetText(text);
  RedrawWindow(form_.Panel1.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
void ReportWindowRows::SetStatusText(const std::string& text) { form_.StatusBar1.SetPanelText(0, text); }
void ReportWindowRows::StopAnimation() { form_.Animate1.Stop(); }
void ReportWindowRows::StartAnimation() { form_.Animate1.Play(-1); }
bool ReportWindowRows::AbortRequested() const { return form_.abortFlag != 0; }
bool ReportWindowRows::SpreadsheetAvailable() const { return form_.xlsAvailable; }
std::optional<std::string> ReportWindowRows::GetTagFileName(const std::string& tagFolder, const std::string& base) {
  return form_.GetTagFileName(tagFolder, base);
}

void TForm1::SpeedButton1Click() {
  ReportWindowRows rows(*this);
  fncOpenReports(rows);
}

void TForm1::fncOpenReports(ReportRows& rows) {
  ReportRowOperation(*this, rows, ReportRowOperation::Kind::Open).Run();
}

std::string ReportRowOperation::WorkPath() const { return PathInFolder(WorkFolderPath(), name_); }

std::string ReportRowOperation::CatalogueFileOf(int row) const {
  return CatalogueFolder() + DayFolderOf(rows_.Cell(kColDate, row)) + ".ini";
}

void ReportRowOperation::WriteCatalogue(int row, const std::string& key, const std::string& value) {
  IniWriteString(CatalogueFileOf(row), rows_.Cell(kColFileName, row), key, value);
}

void ReportRowOperation::OkBox(const std::string& text) {
  forms::ShowMessageBox(form_.Handle(), text, kManagerCaption, MB_OK);
}

bool ReportRowOperation::ContinueBox(const std::string& text) {
  return forms::ShowMessageBox(form_.Handle(), text, kManagerCaption, MB_OKCANCEL | MB_DEFBUTTON2) == IDOK;
}

void ReportRowOperation::Run() {
  const std::string endLine = Opening() ? "## ファイル参照終了" : "## コメント編集終了";
  Log(Opening() ? "## ファイル参照開始" : "## コメント編集開始");
  struct Running {
    TForm1& form;
    ~Running() { form.runningRows = nullptr; }
  } running{form_};
  form_.runningRows = this;
  bool panel = false;
  try {
    if (Opening() && gMgr.STYLE != 1 && form_.checkXls() == -1) {
      Log("起動中のExcelを発見");
      OkBox("Excel保存スタイルが設定されている場合、すでに起動しているExcelファイルを終了してから再実行してください。");
      return;
    }
    int top = rows_.SelectionTop();
    const int bottom = rows_.SelectionBottom();
    if (top < 1 && bottom < 1) {
      OkBox(kNoRowText);
      Log(kNoRowText);
      return;
    }
    if (top < 1) top = 1;
    rows_.StartPanel("サーバーと通信中です。お待ちください・・");
    panel = true;
    for (int row = top; row <= bottom; ++row) {
      if (rows_.AbortRequested()) {
        Log("中断しました。");
        break;
      }
      if (RunRow(row, row == bottom) == Next::End) return;
    }
    rows_.EndPanel();
    rows_.ListDisp();
    Log(endLine);
  } catch (...) {
    // Nothing on the store has changed before the put-back: the lock goes.
    if (locked_ && !putBack_) ReleaseLock();
    Log("★異常検出");
    Log(endLine);
    Log("ERROR=" + ExceptionMessage());
    OkBox(Opening() ? "ファイル参照に失敗しました。" : "コメント編集に失敗しました。");
    if (panel) rows_.EndPanel();
  }
}

bool ReportRowOperation::ReleaseLock() {
  const bool released = form_.ftpReNameFile(day_, name_ + kLockSuffix, name_) == 0;
  Log(name_ + (released ? "<-編集ロック解除" : "<-編集ロック解除失敗"));
  if (released) locked_ = false;
  return released;
}

std::string ReportRowOperation::LockStays() {
  Log(name_ + kLockSuffix + "<-編集ロックが残っています");
  return "\r\nサーバーのファイルは編集中のまま残っています。「編集中ﾌｧｲﾙの強制解除」で解除してください。";
}

void ReportRowOperation::SessionEnding() {
  sessionEnded_ = true;
  if (!locked_) return;
  // While the report is shown, the store still holds the original.
  if (viewing_ && !putBack_ && ReleaseLock()) return;
  LockStays();
}

void ReportRowOperation::KeepEditedCopy(bool stillLocked) {
  // The edit is the work file; only its protected save when that is gone.
  std::string keptName = name_;
  if (!FileExists(WorkPath()) && FileExists(WorkPath() + ".pwd")) keptName += ".pwd";
  const std::string edit = WorkFolderPath() + keptName;
  SYSTEMTIME now;
  GetLocalTime(&now);
  char stamp[16];
  snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
           now.wSecond);
  // Never in the work folder: the close and the next login empty it.
  std::string kept;
  for (const std::string& root : {gDataDir, gMyDocDir}) {
    const std::string folder = root + kKeptFolder + stamp + "\\", target = folder + keptName;
    if (ForceDirectories(folder) &&
        (MoveFileA(edit.c_str(), target.c_str()) || CopyFileA(edit.c_str(), target.c_str(), TRUE))) {
      kept = target;
      break;
    }
    Log(target + "<-編集したファイルを保存できませんでした");
  }
  std::string text = name_ + " <-パスワードを設定し直せなかったため、サーバーには戻していません。\r\n";
  if (!kept.empty()) {
    Log(kept + "<-編集したファイルを保存しました");
    text += "編集したファイルはここにあります:\r\n" + kept;
  } else {
    text += "編集したファイルを保存できませんでした。作業フォルダは終了時に空になるため、次のファイルを別の場所へコピーしてください:\r\n" +
            edit;
  }
  OkBox(text + (stillLocked ? LockStays() : ""));
}

ReportRowOperation::Next ReportRowOperation::Refuse(bool last, const std::string& reason) {
  if (last) {
    OkBox(name_ + reason);
    rows_.EndPanel();
    return Next::End;
  }
  if (ContinueBox(name_ + reason + "続行しますか？")) {
    Log("次のファイルへ処理続行します。");
    return Next::Row;
  }
  Log("キャンセルしました。");
  rows_.EndPanel();
  return Next::End;
}

ReportRowOperation::Next ReportRowOperation::RunRow(int row, bool last) {
  day_.clear();
  name_.clear();
  tag_.clear();
  comment_.clear();
  password_.clear();
  shownComment_.clear();
  tagListed_ = false;
  cellComment_.reset();
  readOnly_ = locked_ = putBack_ = false;
  if (rows_.Cell(kColDate, row).empty()) {
    if (last) {
      OkBox(kNoRowText);
      rows_.EndPanel();
      return Next::End;
    }
    Log("日付項目に情報がセットされていないのでスキップします。");
    return Next::Row;
  }
  const size_t index = static_cast<size_t>(row - 1);
  CatalogueLists& lists = rows_.Lists();
  day_ = DayFolderOf(rows_.Cell(kColDate, row));
  name_ = rows_.Cell(kColFileName, row);
  const std::string work = WorkFolderPath();
  if (Opening() && ReportViewerOf(name_) == ReportViewer::None) {
    // Only pictures and workbooks open: nothing else from the store runs
    // here. The store is not touched, so no lock is taken.
    Log(name_ + kNotViewableText);
    return Refuse(last, kNotViewableText);
  }

  const int held = form_.ftpGetFile(day_, name_ + kLockSuffix);
  rows_.SetStatusText(rows_.Cell(kColDate, row) + "," + rows_.Cell(kColTime, row) + ",ファイル名=" + name_ +
                      "を開いています。");
  rows_.SetProgress("対象ファイルダウンロード中");
  Log(day_ + "\\" + name_);
  if (held == 0) {
    Log("ファイル編集中");
    DeleteWorkFile(work + name_ + kLockSuffix);
    WriteCatalogue(row, "STATUS", "2");
    lists.SetCell(kColStatus, index, "2");
    return Refuse(last, kEditingText);
  }

  // Every file-type question goes by the report's own name: the
  // catalogue's FILETYPE may come from anyone's backup.
  const ReportViewer type = ReportViewerOf(name_);
  const bool workbook = type == ReportViewer::Workbook;
  const std::string date = lists.Cell(kColDate, index), time = lists.Cell(kColTime, index);
  const bool passwordStep = workbook && date.size() == 10 && time.size() == 8;
  if (passwordStep) office::fncMakePwd(WithoutChar(date, '/') + WithoutChar(time, ':'), password_);
  const bool removePassword = Opening() && !password_.empty();

  if (form_.ftpGetFile(day_, name_ + kCompletedSuffix) == 0) {
    WriteCatalogue(row, "STATUS", "3");
    lists.SetCell(kColCompleted, index, kCompletedText);
    Log("完了状態です。");
    readOnly_ = true;
  } else {
    Log("通常状態です。");
    // Without spreadsheet automation the password cannot come off: refuse
    // before the lock is taken rather than leave it behind.
    if (removePassword && !rows_.SpreadsheetAvailable()) {
      OkBox(name_ + " <-パスワードが解読できません。コピーされたファイルの可能性があります。");
      rows_.EndPanel();
      return Next::End;
    }
    if (form_.ftpReNameFile(day_, name_, name_ + kLockSuffix) != 0) return Refuse(last, kEditingText);
    locked_ = true;
    if (form_.ftpGetFile(day_, name_ + kLockSuffix) != 0) {
      ReleaseLock();  // nothing was fetched, so nothing changed
      return Refuse(last, kEditingText);
    }
  }

  DeleteWorkFile(work + name_);
  const std::string fetched = work + name_ + (readOnly_ ? kCompletedSuffix : kLockSuffix);
  if (!MoveFileA(fetched.c_str(), WorkPath().c_str())) throw std::runtime_error("作業ファイルを作れません:" + fetched);

  const std::optional<std::string> tag =
      rows_.GetTagFileName(day_ + "tag", name_.substr(0, name_.size() > 4 ? name_.size() - 4 : 0));
  tagListed_ = tag.has_value();
  tag_ = tag.value_or("");
  shownComment_ = lists.Cell(kColComment, index);
  if (!Opening()) Log("タグ情報表示->" + tag_);
  WriteCatalogue(row, "READ", "1");
  lists.SetCell(kColRead, index, "1");

  bool removed = false;
  if (Opening() && passwordStep) {
    rows_.SetProgress("対象ファイルパスワード解除中");
    if (!password_.empty()) {
      Log(WorkPath() + "<-パスワード解除");
      if (!fncXlsPwdChg(WorkPath(), password_, "", 0)) {
        // The store copy is still the original.
        const std::string held = locked_ && !ReleaseLock() ? LockStays() : "";
        OkBox(name_ + " <-パスワードが解読できません。コピーされたファイルの可能性があります。" + held);
        rows_.EndPanel();
        return Next::End;
      }
      removed = true;
    }
  }

  DeleteWorkFile(work + kCommentFile);
  const bool workbookComment = rows_.SpreadsheetAvailable() && workbook;
  // Without the tag the row's own comment is the best known one.
  if (!workbookComment) comment_ = tagListed_ ? fncCommentFromTagName(tag_) : shownComment_;

  rows_.SetProgress("対象ファイルアプリケーション起動中");
  rows_.StopAnimation();
  viewing_ = true;
  if (Opening()) {
    StartViewer();
  } else if (type == ReportViewer::Picture) {
    StartCommentEditor(comment_);
  }
  viewing_ = false;
  if (sessionEnded_) return Next::End;  // the window has closed meanwhile
  rows_.StartAnimation();
  if (!workbookComment) CommentReadBack(row);

  if (!ProtectWorkbook(workbook, row) && removed) {
    // Putting the copy back would leave the report unprotected on the
    // store; the original stays there, with its comment.
    Log(WorkPath() + "<-パスワード再設定に失敗したため元のファイルを残します");
    KeepEditedCopy(locked_ && !ReleaseLock());
    DeleteWorkFile(work + kCommentFile);
    return Next::Row;
  }
  if (PutBack(last) == Next::End) return Next::End;
  if (locked_) return Next::Row;  // put-back or release failed and the user went on
  if (cellComment_) StoreComment(row, *cellComment_);
  TagFileRule(row);
  DeleteWorkFile(work + kCommentFile);
  return Next::Row;
}

bool ReportRowOperation::ProtectWorkbook(bool workbook, int row) {
  if (!workbook) return true;
  // Opening removed the password before viewing; comment editing opens the
  // workbook with it.
  const std::string openPassword = Opening() ? "" : password_;
  if (gMgr.EXCELPWD == "1") {
    rows_.SetProgress("対象ファイルパスワード設定中");
    const bool done = fncXlsPwdChg(WorkPath(), openPassword, password_, row);
    Log(WorkPath() + "<-パスワードセット");
    return done;
  }
  rows_.SetProgress("対象ファイルパスワード設定無しとする");
  const bool done = fncXlsPwdChg(WorkPath(), openPassword, "", row);
  Log(WorkPath() + "<-パスワード解除");
  return done;
}

ReportRowOperation::Next ReportRowOperation::PutBack(bool last) {
  rows_.SetProgress("対象ファイルアップロード中");
  const std::string work = WorkFolderPath();
  if (readOnly_) {
    const std::string copy = work + name_ + kCompletedSuffix;
    DeleteWorkFile(copy);
    CopyFileA(WorkPath().c_str(), copy.c_str(), FALSE);
    putBack_ = true;
    if (form_.ftpPutFile(day_, name_ + kCompletedSuffix) == 0) {
      DeleteWorkFile(copy);
      Log("完了状態ファイルアップロード終了");
      return Next::Row;
    }
    Log("完了ファイルアップロードに失敗しました");
    if (last) {
      OkBox("ファイルのアップロードに失敗しました。");
      rows_.EndPanel();
      return Next::End;
    }
    if (ContinueBox("ファイルのアップロードに失敗しました。続行しますか？")) return Next::Row;
    Log("キャンセルしました。");
    rows_.EndPanel();
    return Next::End;
  }
  const std::string copy = work + name_ + kLockSuffix;
  DeleteWorkFile(copy);
  CopyFileA(WorkPath().c_str(), copy.c_str(), FALSE);
  putBack_ = true;
  if (form_.ftpPutFile(day_, name_ + kLockSuffix) == 0 && ReleaseLock()) {
    DeleteWorkFile(copy);
    Log("編集ファイルアップロード終了");
    return Next::Row;
  }
  Log(copy + "<-編集ファイルアップロードに失敗しました");
  if (last) {
    OkBox(copy + "\r\n<-ファイルのアップロードに失敗しました。");
    rows_.EndPanel();
    return Next::End;
  }
  if (ContinueBox(copy + "\r\n<-ファイルのアップロードに失敗しました。続行しますか？")) return Next::Row;
  Log("キャンセルしました。");
  rows_.EndPanel();
  return Next::End;
}

void ReportRowOperation::StartViewer() {
  // By the report's own name, not by the file type its catalogue holds.
  const ReportViewer viewer = ReportViewerOf(name_);
  if (viewer == ReportViewer::None) return;
  const std::string folder = WorkFolderPath();
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  PROCESS_INFORMATION process{};
  if (viewer == ReportViewer::Picture) {
    const std::string viewerCommand = fncGetRelay("htmlfile");
    if (viewerCommand.empty()) {
      // Never the downloaded file itself: it would run whatever it holds.
      Log(name_ + kNoViewerText);
      OkBox(name_ + kNoViewerText);
      return;
    }
    std::string command = viewerCommand + " \"" + WorkPath() + "\"";
    startup.wShowWindow = SW_SHOW;
    Log(command);
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                       folder.c_str(), &startup, &process)) {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
    return;
  }
  std::string command = "\"CMD\" \"/C\" \"" + WorkPath() + "\"";
  startup.wShowWindow = SW_HIDE;
  Log("\"CMD /C\" \"" + WorkPath() + "\"");
  if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, folder.c_str(),
                     &startup, &process)) {
    Log("起動成功");
    const DWORD started = GetTickCount();
    WaitProcessWithMessages(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    WaitWhileHeldElsewhere(WorkPath(), GetTickCount() - started < kHandOffCmdMs);
  } else {
    Log("起動失敗");
  }
  Log("起動処理終了");
}

bool ReportRowOperation::fncXlsPwdChg(const std::string& path, const std::string& openPassword,
                                      const std::string& savePassword, int row) {
  if (!rows_.SpreadsheetAvailable()) return false;
  const std::string saved = path + ".pwd";
  try {
    DeleteWorkFile(saved);
    {
      office::SpreadsheetSession session;
      office::Application& application = session.Start();
      application.SetVisible(false);
      session.book = application.Workbooks().OpenWithPassword(path, openPassword);
      office::Worksheet sheet = session.book->Sheet(1);
      if (row > 0) cellComment_ = CleanCellComment(sheet.Range(gMgr.COMMENTPOS).Text());
      session.book->SaveAs(saved, application.WorkbookFileFormat(), savePassword);
    }
    // One step: a failed replace leaves the work file as it was.
    return MoveFileExA(saved.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  } catch (...) {
    return false;
  }
}
