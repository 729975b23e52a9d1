// Comment editing (the double-click on the comment column): the hand-off to
// the comment editor noteLens, the comment read-back that opening uses too,
// and the tag-file rule.
#include "manager/ReportOpening.h"

#include "common/FileSystem.h"
#include "common/portable/NameCharacters.h"
#include "common/portable/TextLines.h"
#include "forms/Application.h"
#include "manager/IniFiles.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerUtilities.h"
#include "manager/ReportWindow.h"
#include "manager/portable/CommentText.h"

#include <stdexcept>

namespace {

constexpr char kEditorClass[] = "TTagInformation";
constexpr char kEditorTitle[] = "タグ情報";
constexpr char kCommentFile[] = "comment.tmp";

}  // namespace

void TForm1::fncEditComment() {
  ReportWindowRows rows(*this);
  fncEditComment(rows);
}

void TForm1::fncEditComment(ReportRows& rows) {
  ReportRowOperation(*this, rows, ReportRowOperation::Kind::EditComment).Run();
}

void ReportRowOperation::StartCommentEditor(const std::string& comment) {
  // The comment is the whole rest of the line, as it is.
  std::string command = "\"" + gExeDir + "noteLens.exe\" " + comment;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  fncWriteSysLog(command);
  if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                     WorkFolderPath().c_str(), &startup, &process)) {
    fncWriteSysLog("起動成功");
    WaitProcessWithMessages(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    fncWriteSysLog("起動失敗");
  }
  fncWriteSysLog("起動処理終了");
}

void ReportRowOperation::CommentReadBack(int row) {
  if (HWND editor = FindWindowA(kEditorClass, kEditorTitle)) {
    fncWriteSysLog("タグ情報画面クローズ要求");
    PostMessageA(editor, WM_CLOSE, 0, 0);
    while (FindWindowA(kEditorClass, kEditorTitle)) {
      Sleep(50);
      forms::Application::Instance().ProcessMessages();
    }
    fncWriteSysLog("タグ情報画面クローズ完了");
  }
  const std::string answer = WorkFolderPath() + kCommentFile;
  if (FileExists(answer)) {
    fncWriteSysLog("タグファイル発見");
    std::string text;
    ReadWholeFile(answer, text);
    const std::vector<std::string> lines = SplitTextLines(text);
    if (lines.empty()) throw std::runtime_error("comment.tmp has no line");
    comment_ = CleanAnswerComment(lines.front());
  }
  fncWriteSysLog("タグクローズ->" + comment_);
  StoreComment(row, comment_);
}

void ReportRowOperation::StoreComment(int row, const std::string& comment) {
  rows_.Lists().SetCell(kColComment, static_cast<size_t>(row - 1), comment);
  rows_.SetCell(kColComment, row, comment);
  WriteCatalogue(row, "COMMENT", comment);
}

int ReportRowOperation::CreateTagFile(const std::string& tagName) {
  const std::string local = PathInFolder(WorkFolderPath(), tagName);
  IniWriteString(local, "note", "CREATE", fncGetComputerNameUpper());
  const int stored = form_.ftpPutFile(day_ + "tag", tagName);
  SetFileAttributesA(local.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(local.c_str());
  if (stored != 0) fncWriteSysLog(tagName + "<-タグファイル作成失敗");
  return stored;
}

void ReportRowOperation::TagFileRule(int row) {
  if (!tagListed_) {
    // The old tag is unknown: a new one would stand beside it. The row
    // shows what the store still holds.
    fncWriteSysLog(name_ + "<-タグ情報が取得できないためタグファイルを変更しません");
    if (rows_.Lists().Cell(kColComment, static_cast<size_t>(row - 1)) == shownComment_) return;
    StoreComment(row, shownComment_);
    OkBox(name_ + " <-コメントをサーバーに保存できませんでした。もう一度やり直してください。");
    return;
  }
  const std::string tagFolder = day_ + "tag";
  const std::string newTag = TagNameFor(name_, rows_.Lists().Cell(kColComment, static_cast<size_t>(row - 1)));
  if (tag_.empty() || name_.empty()) {
    CreateTagFile(newTag);
    return;
  }
  if (SameTagName(tag_, newTag)) return;
  if (form_.ftpReNameFile(tagFolder, tag_, newTag) == 0) return;
  // The report keeps exactly one tag file: the old one goes only once the
  // new one is on the store.
  if (CreateTagFile(newTag) == 0) form_.ftpDelFile(tagFolder, tag_);
}
