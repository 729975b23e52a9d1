// Row operations on the store for the selected grid rows: download into a
// folder of the user's choice, delete (report and tag file), and the forced
// release of a stale edit lock.
#include "manager/ReportWindow.h"

#include <stdexcept>
#include <string>

#include "common/ExceptionText.h"
#include "common/FileSystem.h"
#include "common/portable/FolderText.h"
#include "common/portable/NameCharacters.h"
#include "common/portable/ReportViewer.h"
#include "forms/MessageBox.h"
#include "manager/IniFiles.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerUtilities.h"
#include "manager/ReportOpening.h"
#include "manager/portable/ManagerSettingsRules.h"
#include "manager/portable/NameText.h"
#include "manager/portable/StorePaths.h"
#include "office/portable/WorkbookPassword.h"

namespace {

constexpr char kLockSuffix[] = ".UPD";
constexpr char kCompletedSuffix[] = ".CMP";
constexpr char kNoRowText[] = "有効な行が選択されていません。";
constexpr char kBusyText[] = "サーバーと通信中です。お待ちください・・";
constexpr char kWriteFailed[] = "ファイルの書き込みに失敗しました。";
constexpr char kIdeographicSpace[] = "　";

enum class Next { Row, End };  // End: the operation is over, EndPanel done

void Log(const std::string& text) { fncWriteSysLog(text); }

void OkBox(const TForm1& form, const std::string& text) {
  forms::ShowMessageBox(form.Handle(), text, kManagerCaption, MB_OK);
}

bool ContinueBox(const TForm1& form, const std::string& text) {
  return forms::ShowMessageBox(form.Handle(), text, kManagerCaption, MB_OKCANCEL | MB_DEFBUTTON2) == IDOK;
}

// The catch-all of a row operation: logged, said in a box, panel closed.
void Failed(TForm1& form, const char* endLine, const char* box) {
  Log("★異常検出");
  Log(endLine);
  Log("ERROR=" + ExceptionMessage());
  OkBox(form, box);
  form.EndPanel();
}


// The base name that finds a report's tag file: its name without the
// four characters of the extension.
std::string TagBaseOf(const std::string& name) { return name.substr(0, name.size() > 4 ? name.size() - 4 : 0); }

// The selection's rows; false (after the box and the log line) when only
// the title row or nothing is selected.
bool SelectedRows(TForm1& form, int& top, int& bottom) {
  top = form.sg1.SelectionTop();
  bottom = form.sg1.SelectionBottom();
  if (top <= 0 && bottom <= 0) {
    OkBox(form, kNoRowText);
    Log(kNoRowText);
    return false;
  }
  if (top < 1) top = 1;
  return true;
}

// A row that could not be handled: on the last row the box and the end,
// otherwise the question whether to go on.
Next AskToGoOn(TForm1& form, bool last, const std::string& lastText, const std::string& question) {
  if (last) {
    OkBox(form, lastText);
    form.EndPanel();
    return Next::End;
  }
  if (ContinueBox(form, question)) {
    Log("次のファイルへ処理続行します。");
    return Next::Row;
  }
  Log("キャンセルしました。");
  form.EndPanel();
  return Next::End;
}

// Runs step(row, last, day, name) for the rows top..bottom with the abort
// test and the empty-date rule. False when a row ended the operation.
template <class Step>
bool EachRow(TForm1& form, int top, int bottom, Step step) {
  for (int row = top; row <= bottom; ++row) {
    if (form.abortFlag) {
      Log("中断しました。");
      break;
    }
    const bool last = row == bottom;
    if (form.sg1.Cell(kColDate, row).empty()) {
      if (last) {
        OkBox(form, kNoRowText);
        form.EndPanel();
        return false;
      }
      Log("日付項目に情報がセットされていないのでスキップします。");
      continue;
    }
    const std::string day = DayFolderOf(form.sg1.Cell(kColDate, row));
    if (step(row, last, day, form.sg1.Cell(kColFileName, row)) == Next::End) return false;
  }
  return true;
}

void SetProgress(TForm1& form, const std::string& text) {
  form.progress.SetText(text);
  RedrawWindow(form.Panel1.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void MarkStatus(TForm1& form, int row, const std::string& day, const std::string& name, const std::string& status) {
  IniWriteString(CatalogueFolder() + day + ".ini", name, "STATUS", status);
  const size_t index = static_cast<size_t>(row - 1);
  if (index < form.Lists.Count()) form.Lists.SetCell(kColStatus, index, status);
}

// One row of the download: the store copy in whatever state it is, its
// workbook password removed, copied to SAVEPATH as "(comment)_name".
Next DownloadRow(TForm1& form, int row, bool last, const std::string& day, const std::string& name) {
  const int held = form.ftpGetFile(day, name + kLockSuffix);
  Log(day + "\\" + name);
  SetProgress(form, name + "<-ダウンロード中");
  std::string fetched;
  if (held == 0) {
    Log("ファイル編集中");
    fetched = name + kLockSuffix;
  } else if (form.ftpGetFile(day, name + kCompletedSuffix) == 0) {
    Log("完了状態");
    fetched = name + kCompletedSuffix;
  } else if (form.ftpGetFile(day, name) == 0) {
    Log("通常状態です。");
    fetched = name;
  } else {
    return AskToGoOn(form, last, name + " <-対象ファイルが存在しませんでした。",
                     name + " <-対象ファイルが存在しませんでした。続行しますか？");
  }

  const std::string work = WorkFolderPath(), copy = work + name;
  if (fetched != name) {
    // A copy of an earlier opening may be there under the plain name.
    DeleteWorkFile(copy);
    if (!MoveFileA((work + fetched).c_str(), copy.c_str())) {
      Log("実ファイル名へのコピーに失敗");
      OkBox(form, kWriteFailed);
      form.EndPanel();
      return Next::End;
    }
  }

  const size_t index = static_cast<size_t>(row - 1);
  if (index < form.Lists.Count()) {
    const std::string date = form.Lists.Cell(kColDate, index), time = form.Lists.Cell(kColTime, index);
    if (ReportViewerOf(name) == ReportViewer::Workbook && date.size() == 10 && time.size() == 8) {
      SetProgress(form, "対象ファイルパスワード解除中");
      std::string password;
      if (office::fncMakePwd(WithoutChar(date, '/') + WithoutChar(time, ':'), password)) {
        Log(copy + "<-パスワード解除");
        ReportWindowRows rows(form);
        // A workbook that does not open with it goes as it is.
        ReportRowOperation(form, rows, ReportRowOperation::Kind::Open).fncXlsPwdChg(copy, password, "", 0);
      }
    }
  }

  // The comment cell may come from a catalogue that nobody cleaned.
  const std::string comment = WithoutNameCharacters(form.sg1.Cell(kColComment, row));
  const std::string target = PathInFolder(gMgr.SAVEPATH, "(" + comment + ")_" + name);
  const bool copied = CopyFileA(copy.c_str(), target.c_str(), FALSE) != FALSE;
  DeleteWorkFile(copy);
  if (!copied) {
    Log("ダウンロード失敗->" + gMgr.SAVEPATH + name);
    OkBox(form, kWriteFailed);
    form.EndPanel();
    return Next::End;
  }
  Log("ファイルダウンロード完了->" + gMgr.SAVEPATH + name);
  return Next::Row;
}

// One row of the delete: a locked report stays; otherwise the report (N or
// N.CMP) goes, and only then its tag file and its row.
Next DeleteRow(TForm1& form, int row, bool last, const std::string& day, const std::string& name, bool& refused) {
  const int held = form.ftpGetFile(day, name + kLockSuffix);
  Log(day + "\\" + name);
  SetProgress(form, name + "<-削除中");
  const std::string work = WorkFolderPath();
  if (held == 0) {
    Log("ファイル編集中");
    DeleteWorkFile(work + name + kLockSuffix);
    return AskToGoOn(form, last, name + " <-編集中のため削除できませんでした。",
                     name + " <-編集中のため削除できません。続行しますか？");
  }
  std::string stored = name;
  if (form.ftpGetFile(day, name + kCompletedSuffix) == 0) {
    Log("完了状態のため、" + name + ".CMPファイルを削除します。");
    stored = name + kCompletedSuffix;
    DeleteWorkFile(work + stored);
  } else {
    Log("通常状態です。" + name + "ファイルを削除します。");
  }
  if (form.ftpDelFile(day, stored) != 0) {
    // The report is still on the store: its tag file and its row stay.
    Log(stored + "<-削除できませんでした。");
    refused = true;
    return AskToGoOn(form, last, name + " <-削除できませんでした。", name + " <-削除できませんでした。続行しますか？");
  }
  const std::optional<std::string> tag = form.GetTagFileName(day + "tag", TagBaseOf(name));
  if (!tag)
    Log(name + "<-タグ情報が取得できないためタグファイルが残っている可能性があります");
  else if (tag->empty())
    Log(name + "<-タグファイルなし");
  else if (form.ftpDelFile(day + "tag", *tag) != 0)
    Log(*tag + "<-タグファイル削除失敗");
  MarkStatus(form, row, day, name, "0");
  Log("削除完了");
  return Next::Row;
}

}  // namespace

void TForm1::SpeedButton3Click() {
  SaveDialog1.Options = OFN_HIDEREADONLY | OFN_NOVALIDATE | OFN_ENABLESIZING;
  SaveDialog1.Filter = nullptr;
  SaveDialog1.DefaultExt = nullptr;
  SaveDialog1.InitialDir = gMgr.SAVEPATH;
  SaveDialog1.FileName = kIdeographicSpace;
  SaveDialog1.Title = "ケストロ管理画面(ダウンロード保存先の指定 ファイル名不要)";
  SaveDialog1.OnFolderChange = [this] { SaveDialog1.SetFileNameText(kIdeographicSpace); };
  const bool chosen = SaveDialog1.Execute(Handle());
  const std::string folder = chosen ? WithTrailingBackslash(FolderOf(SaveDialog1.FileName)) : "";
  if (folder.empty()) return;
  gMgr.SAVEPATH = folder;
  gMgr.unread.erase("SAVEPATH");
  IniWriteString(ManagerIniPath(), kManagerSection, "SAVEPATH", folder);

  const char* endLine = "## ファイルダウンロード終了";
  Log("## ファイルダウンロード開始");
  try {
    int top, bottom;
    if (!SelectedRows(*this, top, bottom)) return;
    panelMsg.SetText(kBusyText);
    StartPanel();
    auto step = [this](int row, bool last, const std::string& day, const std::string& name) {
      return DownloadRow(*this, row, last, day, name);
    };
    if (!EachRow(*this, top, bottom, step)) return;
    EndPanel();
    ListDisp();
    Log(endLine);
    OkBox(*this, "ダウンロードしました。");
  } catch (...) {
    Failed(*this, endLine, "ファイルダウンロードに失敗しました。");
  }
}

void TForm1::SpeedButton2Click() {
  const char* endLine = "## ファイル削除終了";
  Log("## ファイル削除開始");
  try {
    int top, bottom;
    if (!SelectedRows(*this, top, bottom)) return;
    if (!ContinueBox(*this, "選択されたファイルを削除します。よろしいですか？")) {
      Log("キャンセルしました。");
      return;
    }
    panelMsg.SetText(kBusyText);
    StartPanel();
    bool refused = false;
    auto step = [this, &refused](int row, bool last, const std::string& day, const std::string& name) {
      return DeleteRow(*this, row, last, day, name, refused);
    };
    if (!EachRow(*this, top, bottom, step)) return;
    EndPanel();
    ListDisp();
    Log(endLine);
    // Never "deleted" while a report the store refused to delete is still there.
    OkBox(*this, refused ? "削除できなかったファイルがあります。" : "削除しました。");
  } catch (...) {
    Failed(*this, endLine, "ファイル削除に失敗しました。");
  }
}

void TForm1::SpeedButton10Click() {
  const char* endLine = "## 編集中ファイル強制解除終了";
  Log("## 編集中ファイル強制解除開始");
  try {
    int top, bottom;
    if (!SelectedRows(*this, top, bottom)) return;
    if (bottom < 1) bottom = 1;
    if (top != bottom) {
      OkBox(*this, "解除できるのは安全のため1件のみとなります。");
      Log("解除できるのは安全のため1件のみとなります。");
      return;
    }
    if (!ContinueBox(*this, "選択されたファイルの編集中状態を解除します。よろしいですか？")) {
      Log("キャンセルしました。");
      return;
    }
    panelMsg.SetText(kBusyText);
    StartPanel();
    const int row = top;
    if (sg1.Cell(kColDate, row).empty()) {
      OkBox(*this, kNoRowText);
      EndPanel();
      return;
    }
    const std::string day = DayFolderOf(sg1.Cell(kColDate, row)), name = sg1.Cell(kColFileName, row);
    const int held = ftpGetFile(day, name + kLockSuffix);
    Log(day + "\\" + name);
    if (held != 0) {
      Log("指定ファイルは編集中ではありません。");
      OkBox(*this, "指定ファイルは編集中ではありません。");
    } else {
      Log("ファイル編集中");
      DeleteWorkFile(WorkFolderPath() + name + kLockSuffix);
      if (ftpReNameFile(day, name + kLockSuffix, name) == 0) {
        MarkStatus(*this, row, day, name, "1");
        Log("編集中を解除しました。");
        OkBox(*this, "編集中ファイルを強制解除しました。");
      } else {
        Log("編集中解除に失敗しました。");
        OkBox(*this, "編集中ファイルの強制解除に失敗しました。");
      }
    }
    EndPanel();
    ListDisp();
    Log(endLine);
  } catch (...) {
    Failed(*this, endLine, "編集中ファイル強制解除に失敗しました。");
  }
}
