#include "client/TextDialog.h"

#include "forms/InputMethod.h"

TFrmSetString* FrmSetString = nullptr;

namespace {
constexpr int kMemoId = 100;
constexpr int kOkId = 101;
constexpr int kCancelId = 102;
}  // namespace

TFrmSetString::TFrmSetString() : ModalForm("TFrmSetString", "文字入力") {}

bool TFrmSetString::Create() {
  return ModalForm::Create(WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, 240, 160);
}

void TFrmSetString::FormCreate() {
  // Wraps at its width: no horizontal scrolling.
  Memo1.Control::Create(window_, "EDIT", "",
                        WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                        16, 12, 189, 73, kMemoId);
  SpeedButton1.Create(window_, "OK", 16, 94, 90, 24, kOkId);
  SpeedButton2.Create(window_, "CANCEL", 115, 94, 90, 24, kCancelId);
  CenterOnScreen();
}

int TFrmSetString::Execute(HWND owner) {
  int result = ShowModal(owner);
  return result == kOk ? kOk : kCancel;
}

void TFrmSetString::FormShow() {
  Memo1.SetFocus();
  forms::SetInputMethodOpen(Memo1, true);
}

std::vector<std::string> TFrmSetString::Lines() const {
  std::vector<std::string> lines;
  if (Memo1.Text().empty()) return lines;
  const int count = Memo1.LineCount();
  for (int i = 0; i < count; ++i) {
    const int start = static_cast<int>(Memo1.Send(EM_LINEINDEX, i));
    const int length = static_cast<int>(Memo1.Send(EM_LINELENGTH, start));
    // The length counts characters; a double-byte one takes two bytes here.
    std::string line(static_cast<size_t>(length) * 2 + 2, '\0');
    *reinterpret_cast<WORD*>(&line[0]) = static_cast<WORD>(line.size());
    const int copied = static_cast<int>(Memo1.Send(EM_GETLINE, i, reinterpret_cast<LPARAM>(&line[0])));
    line.resize(static_cast<size_t>(copied));
    lines.push_back(line);
  }
  return lines;
}

bool TFrmSetString::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(l) != Memo1.Handle()) return false;
      SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_INFOBK));
      SetTextColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_INFOTEXT));
      result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
      return true;
    case WM_COMMAND:
      if (LOWORD(w) == kOkId) SpeedButton1Click();
      else if (LOWORD(w) == kCancelId || LOWORD(w) == IDCANCEL) SpeedButton2Click();
      else return false;
      result = 0;
      return true;
    default:
      return false;
  }
}
