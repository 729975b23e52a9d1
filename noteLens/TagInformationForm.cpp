#include "noteLens/TagInformationForm.h"

#include "forms/Application.h"

namespace {

enum { kIdComment = 101, kIdOk = IDOK, kIdCancel = IDCANCEL };
constexpr UINT_PTR kScriptTimer = 1;
constexpr char kAnswerFile[] = "comment.tmp";

}  // namespace

bool WriteCommentAnswer(const std::string& folder, const std::string& text) {
  const std::string path = folder + kAnswerFile;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string line = text + "\r\n";
  DWORD written = 0;
  const bool done = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
                    written == line.size();
  CloseHandle(file);
  return done;
}

TTagInformation::TTagInformation(std::string comment)
    : Form("TTagInformation", "タグ情報"), comment_(std::move(comment)) {}

void TTagInformation::FormCreate() {
  lblComment.Create(Handle(), "コメント", 12, 14, 80, 16);
  edtComment.Create(Handle(), 12, 34, 380, 22, kIdComment);
  edtComment.SetText(comment_);
  btnOk.Create(Handle(), "OK", 212, 70, 84, 26, kIdOk);
  btnCancel.Create(Handle(), "キャンセル", 308, 70, 84, 26, kIdCancel);
}

void TTagInformation::FormShow() {
  edtComment.SetFocus();
  edtComment.SelectAll();
  if (!scripted_.empty() && !scriptStarted_) {
    scriptStarted_ = true;
    SetTimer(Handle(), kScriptTimer, 300, nullptr);
  }
}

bool TTagInformation::HandleMessage(UINT msg, WPARAM w, LPARAM, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(w) == BN_CLICKED) {
    if (LOWORD(w) == kIdOk) btnOkClick();
    if (LOWORD(w) == kIdCancel) btnCancelClick();
    result = 0;
    return true;
  }
  if (msg == WM_TIMER && w == kScriptTimer) {
    KillTimer(Handle(), kScriptTimer);
    RunScriptedAnswer();
    result = 0;
    return true;
  }
  return false;
}

void TTagInformation::btnOkClick() {
  // The answer goes into the current folder, where the caller looks for it.
  WriteCommentAnswer("", edtComment.Text());
  Close();
}

void TTagInformation::btnCancelClick() { Close(); }

void TTagInformation::RunScriptedAnswer() {
  if (scripted_.rfind("OK:", 0) == 0) {
    edtComment.SetText(scripted_.substr(3));
    btnOk.Click();
  } else if (scripted_ == "OK") {
    btnOk.Click();
  } else if (scripted_ == "CANCEL") {
    btnCancel.Click();
  }
}
