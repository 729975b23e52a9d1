#include <winsock2.h>  // before windows.h: the registration form brings the transfer client

#include "client/ListForm.h"

#include <stdexcept>

#include "client/CaptureState.h"
#include "client/Common.h"
#include "client/Global.h"
#include "client/RegistrationForm.h"
#include "client/ReportWorkbook.h"
#include "client/SettingsValues.h"
#include "client/ViewedWorkbooks.h"
#include "common/ViewerLookup.h"
#include "common/portable/Cp932.h"
#include "common/portable/ReportViewer.h"
#include "forms/Application.h"
#include "forms/InputMethod.h"
#include "forms/MessageBox.h"

TForm4* Form4 = nullptr;

namespace {

constexpr char kCaption[] = "一覧画面";
constexpr char kStatusNotice[] = "ダブルクリックで開きます ";
constexpr char kBadRange[] = "日付範囲が正しくありません";
constexpr char kNotOpenable[] = "このファイルは開けません";
constexpr char kStartFailed[] = "起動に失敗しました";
constexpr char kSpreadsheetOpen[] = "起動中のエクセルがあります。終了してください";
constexpr int kClientWidth = 738;
constexpr int kClientHeight = 524;
constexpr COLORREF kBarColour = RGB(0x6A, 0x6A, 0xFF);
constexpr COLORREF kFixedColour = RGB(0xEA, 0xEA, 0xEA);
constexpr COLORREF kEvenRowColour = RGB(0xEC, 0xFF, 0xFF);
constexpr COLORREF kSelectedColour = RGB(0x0A, 0x24, 0x6A);

enum ControlId {
  kIdBar1 = 400,
  kIdSend,
  kIdOpen,
  kIdDelete,
  kIdHint,
  kIdClose,
  kIdBar2 = 410,
  kIdDates,
  kIdFindS,
  kIdFindE,
  kIdDisp,
  kIdGrid,
  kIdStatus,
  kIdAnimatePanel,
  kIdAnimate,
};

enum Column { kColDate = 1, kColTime, kColType, kColProject, kColName };

// Characters of text from `from`, as many as stand there.
std::string Part(const std::string& text, size_t from, size_t count) {
  return from >= text.size() ? std::string() : text.substr(from, count);
}

std::string Without(std::string text, char c) {
  std::string kept;
  for (char ch : text)
    if (ch != c) kept += ch;
  return kept;
}

// The capture time in a report's base name: the 6 characters before the
// daily counter, hh:nn:ss.
std::string TimeOfName(const std::string& base) {
  size_t end = base.size() >= 3 ? base.size() - 3 : 0;
  size_t start = end >= 6 ? end - 6 : 0;
  std::string time = base.substr(start, end - start);
  return Part(time, 0, 2) + ":" + Part(time, 2, 2) + ":" + Part(time, 4, 2);
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// yyyymmdd of the day after.
std::string NextDay(const std::string& day) {
  int year = std::stoi(day.substr(0, 4)), month = std::stoi(day.substr(4, 2)), date = std::stoi(day.substr(6, 2));
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int last = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
  if (++date > last) {
    date = 1;
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  char text[16];
  wsprintfA(text, "%04d%02d%02d", year, month, date);
  return text;
}

std::string SlashedDay(const std::string& day) { return day.substr(0, 4) + "/" + day.substr(4, 2) + "/" + day.substr(6, 2); }

}  // namespace

TForm4::TForm4() : ClientForm("TForm4", kCaption, kBarColour) {}

TForm4::~TForm4() {
  for (Picker& picker : pickers_) picker.filter.Detach();
  if (Form4 == this) Form4 = nullptr;
  Destroy();
}

bool TForm4::Create() { return CreateForClient(kClientWidth, kClientHeight); }

void TForm4::ShowList() {
  Show(SW_SHOW);
  BringToTop();
  SetForegroundWindow(Handle());
}

// ---------------------------------------------------------------- controls

void TForm4::CreateControls() {
  HWND form = Handle();
  imgBtnBar1.Create(form, "", 0, 0, kClientWidth, 50, kIdBar1, WS_VISIBLE);
  btnSend.Create(imgBtnBar1, "ポスト", 8, 5, 70, 40, kIdSend, "選択したファイルをポストします");
  btnOpen.Create(imgBtnBar1, "開く", 82, 5, 70, 40, kIdOpen, "選択したファイルを開きます");
  btnDelete.Create(imgBtnBar1, "削除", 156, 5, 70, 40, kIdDelete, "選択したファイルを削除します");
  btnHint.Create(imgBtnBar1, "ヒント", 230, 5, 70, 40, kIdHint);
  btnClose.Create(imgBtnBar1, "閉じる", 304, 5, 70, 40, kIdClose);
  for (const forms::Button* button : {&btnSend, &btnOpen, &btnDelete, &btnHint, &btnClose})
    SetWindowLongPtrA(*button, GWL_STYLE, GetWindowLongPtrA(*button, GWL_STYLE) | BS_FLAT);

  imgBtnBar2.Create(form, "", 0, 50, kClientWidth, 40, kIdBar2, WS_VISIBLE);
  lblRange.Create(imgBtnBar2, "表示日付範囲", 8, 12, 90, 18);
  pnlDates.Create(imgBtnBar2, "", 100, 4, 420, 32, kIdDates, WS_VISIBLE);
  lblFindS.Create(pnlDates, "開始日付", 6, 8, 60, 18);
  dtpFindS.Create(pnlDates, 68, 4, 120, 24, kIdFindS);
  lblFindE.Create(pnlDates, "終了日付", 206, 8, 60, 18);
  dtpFindE.Create(pnlDates, 268, 4, 120, 24, kIdFindE);
  btnDisp.Create(imgBtnBar2, "表示", 530, 6, 70, 28, kIdDisp);
  SetWindowLongPtrA(btnDisp, GWL_STYLE, GetWindowLongPtrA(btnDisp, GWL_STYLE) | BS_FLAT);

  grdList.Create(form, 2, 92, 733, 410, kIdGrid);
  sbrMsg.Create(form, kIdStatus);

  animation_.Create(form, 180, kIdAnimatePanel, kIdAnimate);
}

void TForm4::SetUpGrid() {
  static const char* const kTitles[] = {"", "日付", "時刻", "ファイル", "プロジェクト", "ファイル名"};
  static const int kWidths[] = {0, 90, 80, 80, 120, 400};
  grdList.SetColCount(6);
  grdList.SetRowCount(2);
  grdList.SetFixedRows(1);
  grdList.SetDefaultRowHeight(16);
  grdList.SetColSizing(true);
  grdList.SetFixedColor(kFixedColour);
  for (int col = 0; col < 6; ++col) {
    grdList.SetColWidth(col, kWidths[col]);
    grdList.SetCell(col, 0, kTitles[col]);
  }
  grdList.OnDrawCell = [this](HDC dc, int col, int row, const RECT& rect, unsigned state) {
    grdListDrawCell(dc, col, row, rect, state);
  };
  grdList.OnDblClick = [this] { grdListDblClick(); };
}

void TForm4::AttachPicker(Picker& picker, HWND control) {
  picker.control = control;
  forms::SetInputMethodOpen(control, false);
  picker.filter.OnMessage = [this, &picker](UINT msg, WPARAM w, LPARAM, LRESULT& result) {
    result = 0;
    switch (msg) {
      case WM_SETFOCUS:
        focus_.Enter(picker.control);
        forms::SetInputMethodOpen(picker.control, false);
        return false;
      case WM_KILLFOCUS:
        focus_.Exit(picker.control);
        return false;
      case WM_ERASEBKGND: {
        if (focus_.Focused() != picker.control) return false;
        RECT r;
        GetClientRect(picker.control, &r);
        FillRect(reinterpret_cast<HDC>(w), &r, focus_.Brush());
        result = 1;
        return true;
      }
      default:
        return KeyDown(msg, w, picker.control);
    }
  };
  picker.filter.Attach(control);
}

// ---------------------------------------------------------------- events

void TForm4::FormCreate() {
  Form4 = this;
  SetPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  CreateControls();
  // Both pickers start at today (the control's own default).
  AttachPicker(pickers_[0], dtpFindS);
  AttachPicker(pickers_[1], dtpFindE);
  SetUpGrid();
  HideAnimation();
}

void TForm4::FormShow() {
  Log("FormShow()");
  fncInit();
  dtpFindS.SetFocus();  // a failure to focus is of no matter
  CenterOnScreen();
  btnSend.Enable(true);
}

bool TForm4::fncInit() {
  try {
    sbrMsg.Resize();
    ShowVersionPanels(sbrMsg, kStatusNotice);
    return true;
  } catch (...) {
    Log("fncInit()ERROR=" + ExceptionMessage());
    return false;
  }
}

void TForm4::BeginButtonWork(const std::string& logLine) {
  Enable(false);
  Log(logLine);
  sbrMsg.SetPanelText(0, "");
}

void TForm4::btnDispClick() {
  BeginWork(imgBtnBar2, "btnDispClick()Name=" + gCurrentCapture);
  sbrMsg.SetPanelText(0, "");
  fncGetList();
  Enable(true);
}

bool TForm4::fncGetList() {
  try {
    Log("fncGetList()");
    const std::string start = dtpFindS.Date(), end = dtpFindE.Date();
    if (start > end) {
      sbrMsg.SetPanelText(0, kBadRange);
      return false;
    }
    const std::string& store = gSettings.LOCALDIR;
    SendMessageA(grdList, WM_SETREDRAW, FALSE, 0);
    grdList.SetRowCount(2);
    for (int col = 0; col < grdList.ColCount(); ++col) grdList.SetCell(col, 1, "");
    int n = 1;
    for (std::string day = start; day <= end; day = NextDay(day)) {
      WIN32_FIND_DATAA found;
      HANDLE search = FindFirstFileA((store + day + "\\*.*").c_str(), &found);
      if (search == INVALID_HANDLE_VALUE) continue;
      do {
        const std::string file = found.cFileName;
        if (file == "." || file == "..") continue;
        std::string base, extension, upper;
        fncSplitFileName(file, base, extension);
        size_t underscore = Cp932FindLast(base, '_');
        if (grdList.RowCount() <= n) grdList.SetRowCount(n + 1);
        grdList.SetCell(0, n, "");
        grdList.SetCell(kColDate, n, SlashedDay(day));
        grdList.SetCell(kColTime, n, TimeOfName(base));
        grdList.SetCell(kColType, n, fncMapString(extension, LCMAP_UPPERCASE, upper));
        grdList.SetCell(kColProject, n, underscore == std::string::npos ? "" : base.substr(0, underscore));
        grdList.SetCell(kColName, n, file);
        Log("fncGetList()Row=" + grdList.Cell(kColDate, n) + "," + grdList.Cell(kColTime, n) + "," +
            grdList.Cell(kColType, n) + "," + grdList.Cell(kColProject, n) + "," + file);
        ++n;
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    grdList.SetRowCount(n == 1 ? 2 : n);
    SendMessageA(grdList, WM_SETREDRAW, TRUE, 0);
    grdList.Invalidate();
    grdList.SetSelection(1, 1);
    Log("fncGetList()Count=" + std::to_string(n - 1));
    return true;
  } catch (...) {
    SendMessageA(grdList, WM_SETREDRAW, TRUE, 0);
    grdList.Invalidate();
    std::string message = ExceptionMessage();
    Log("fncGetList()ERROR=" + message);
    ShowMessage(message);
    return false;
  }
}

bool TForm4::GridEmpty() const { return grdList.RowCount() <= 2 && grdList.Cell(kColName, 1).empty(); }

void TForm4::RemoveRows(const std::vector<int>& rows) {
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) fncDelGrid(grdList, *row);
}

void TForm4::btnSendClick() {
  BeginButtonWork("btnSendClick()");
  try {
    if (GridEmpty()) {
      Enable(true);
      return;
    }
    int answer = forms::ShowMessageBox(Handle(), "選択されたファイルをポストします\r\nよろしいですか？",
                                       forms::Application::Instance().Title(), MB_OKCANCEL | MB_DEFBUTTON2 | MB_TOPMOST);
    if (answer != IDOK) {
      Log("btnSendClick()=キャンセル押下");
      Enable(true);
      return;
    }
    Log("btnSendClick()=ＯＫ押下");
    ShowAnimation();
    std::vector<int> posted;
    bool failed = false, complete = true;
    try {
      for (int row = grdList.SelectionTop(); row <= grdList.SelectionBottom(); ++row) {
        std::string name = grdList.Cell(kColName, row);
        std::string day = Without(grdList.Cell(kColDate, row), '/');
        if (name.empty()) {
          sbrMsg.SetPanelText(0, "ファイルが確認できません");
          complete = false;
          break;
        }
        Log("btnSendClick()Path=" + gSettings.LOCALDIR + day + "\\" + name);
        // The first failure ends the run: its row and the rows after it stay.
        if (!Form3 || !Form3->fncSendFile(false, day, name)) {
          failed = true;
          Log("btnSendClick()Failed=" + name);
          break;
        }
        posted.push_back(row);
      }
    } catch (...) {
      HideAnimation();
      throw;
    }
    if (complete) {
      RemoveRows(posted);
      sbrMsg.SetPanelText(0, failed ? "ポストに失敗しました" : "ポストしました");
    }
    HideAnimation();
  } catch (...) {
    Log("btnSendClick()ERROR=" + ExceptionMessage());
  }
  Enable(true);
}

void TForm4::btnDeleteClick() {
  BeginButtonWork("btnDeleteClick()");
  try {
    if (!GridEmpty()) {
      int answer =
          forms::ShowMessageBox(Handle(), "選択されたファイルを削除します\r\nよろしいですか？",
                                forms::Application::Instance().Title(), MB_OKCANCEL | MB_DEFBUTTON2 | MB_TOPMOST);
      if (answer != IDOK) {
        Log("btnDeleteClick()=キャンセル押下");
      } else {
        Log("btnDeleteClick()=ＯＫ押下");
        std::vector<int> deleted;
        bool lastOk = false, complete = true;
        for (int row = grdList.SelectionTop(); row <= grdList.SelectionBottom(); ++row) {
          std::string name = grdList.Cell(kColName, row);
          std::string day = Without(grdList.Cell(kColDate, row), '/');
          if (name.empty()) {
            sbrMsg.SetPanelText(0, "ファイルの確認ができません");
            complete = false;
            break;
          }
          const std::string path = gSettings.LOCALDIR + day + "\\" + name;
          Log("btnDeleteClick()Path=" + path);
          lastOk = fncDeleteFile(path);
          if (!lastOk) {
            sbrMsg.SetPanelText(0, "ファイルの削除に失敗しました");
            break;
          }
          deleted.push_back(row);
          workbook::ViewedWorkbooks viewed(std::string(kCaption) + ",btnDeleteClick()");
          viewed.Forget(gSettings.LOCALDIR, day, name);
          std::string tag;
          if (fncFindLocalFile(day + "tag", name, tag)) {
            const std::string tagPath = gSettings.LOCALDIR + day + "tag\\" + tag;
            Log("btnDeleteClick()Tag=" + tagPath);
            lastOk = fncDeleteFile(tagPath);
          }
        }
        if (complete) {
          RemoveRows(deleted);
          sbrMsg.SetPanelText(0, lastOk ? "削除しました" : "ファイルの削除に失敗しました");
        }
      }
    }
  } catch (...) {
    Log("btnDeleteClick()ERROR=" + ExceptionMessage());
  }
  Enable(true);
}

void TForm4::btnOpenClick() {
  Log("btnOpenClick()");
  Enable(false);
  fncFileShow();
  BringToTop();
  Enable(true);
}

void TForm4::grdListDblClick() {
  Log("grdListDblClick()");
  Enable(false);
  fncFileShow();
  BringToTop();
  Enable(true);
}

bool TForm4::fncFileShow() {
  try {
    sbrMsg.SetPanelText(0, "");
    if (GridEmpty()) return true;
    bool skipped = false;
    for (int row = grdList.SelectionTop(); row <= grdList.SelectionBottom(); ++row) {
      if (ProgramEnding()) {
        Log("fncFileShow()終了のため残りのファイルは開きません");
        break;
      }
      if (ReportViewerOf(grdList.Cell(kColName, row)) == ReportViewer::None) {
        // Only reports are opened: nothing else in the store is ever run.
        Log("fncFileShow()ERROR=" + std::string(kNotOpenable) + ":" + grdList.Cell(kColName, row));
        sbrMsg.SetPanelText(0, kNotOpenable);
        skipped = true;
        continue;
      }
      if (!OpenRow(row)) return false;
    }
    if (!skipped) sbrMsg.SetPanelText(0, "");
    return true;
  } catch (...) {
    std::string message = ExceptionMessage();
    Log("fncFileShow()ERROR=" + message);
    ShowMessage(message);
    return false;
  }
}

bool TForm4::OpenRow(int row) {
  const std::string name = grdList.Cell(kColName, row);
  const std::string day = Without(grdList.Cell(kColDate, row), '/');
  const std::string path = gSettings.LOCALDIR + day + "\\" + name;
  const bool isWorkbook = ReportViewerOf(name) == ReportViewer::Workbook;
  const bool workbookFile = isWorkbook && workbook::fucXlsFind();
  workbook::ViewedWorkbooks viewed(std::string(kCaption) + ",fncFileShow()");

  if (workbookFile) {
    forms::Application::Instance().ProcessMessages();
    if (!workbook::fucXlsProcess()) {
      sbrMsg.SetPanelText(0, kSpreadsheetOpen);
      throw std::runtime_error(kSpreadsheetOpen);
    }
    // Protected with the capture time in its name; noted until protected again.
    viewed.UnprotectForViewing(gSettings.LOCALDIR, day, name);
  }

  bool started = false;
  try {
    if (isWorkbook) {
      Log("fncFileShow()\"CMD /C\" \"" + path + "\"");
      started = RunViewer("\"CMD\" \"/C\" \"" + path + "\"", true);
    } else {
      std::string command =
          fncGetRelay(gDataDir, kestro::kTempFolder, "htmlfile", [this](const std::string& line) { Log(line); });
      // Without a viewer nothing starts: the picture file itself would run as a program.
      if (!command.empty()) {
        command += " \"" + path + "\"";
        Log("fncFileShow()" + command);
        started = RunViewer(command, false);
      }
    }
  } catch (...) {
    // Whatever happened, the workbook is not left without its protection.
    if (workbookFile) {
      try {
        viewed.ProtectAgain(false, gSettings.LOCALDIR, day, name);
      } catch (...) {
        Log("fncFileShow()ERROR=" + ExceptionMessage());
      }
    }
    throw;
  }
  if (!started) {
    Log("fncFileShow()ERROR=" + std::string(kStartFailed));
    sbrMsg.SetPanelText(0, kStartFailed);
    if (workbookFile) viewed.ProtectAgain(false, gSettings.LOCALDIR, day, name);
    return false;
  }
  // A workbook still open in its viewer cannot be saved again: the next start protects it.
  if (workbookFile && !ProgramEnding()) viewed.ProtectAgain(true, gSettings.LOCALDIR, day, name);
  return true;
}

bool TForm4::ProgramEnding() { return gClosing || forms::Application::Instance().Terminated(); }

bool TForm4::RunViewer(const std::string& commandLine, bool hidden) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(hidden ? SW_HIDE : SW_SHOWNORMAL);
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  const std::string folder = gDataDir + kestro::kTempFolder;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, folder.c_str(),
                      &startup, &process))
    return false;
  Log("fncFileShow()OK");
  sbrMsg.SetPanelText(0, "起動中");
  forms::Application& application = forms::Application::Instance();
  while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
    application.ProcessMessages();
    // The program ends (quit, session end, version-up): the viewer stays.
    if (ProgramEnding()) {
      Log("fncFileShow()終了のため待機を中止します");
      break;
    }
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return true;
}

bool TForm4::fncDelGrid(forms::StringGrid& grid, int row) {
  bool ok = true;
  SendMessageA(grid, WM_SETREDRAW, FALSE, 0);
  try {
    Log("fncDelGrid()");
    if (row < grid.RowCount()) {
      if (row == 1 && grid.RowCount() == 2) {
        for (int col = 0; col < grid.ColCount(); ++col) grid.SetCell(col, 1, "");
      } else {
        for (int below = row; below + 1 < grid.RowCount(); ++below)
          for (int col = 0; col < grid.ColCount(); ++col) grid.SetCell(col, below, grid.Cell(col, below + 1));
        grid.SetRowCount(grid.RowCount() - 1);
      }
    }
  } catch (...) {
    Log("fncDelGrid()ERROR=" + ExceptionMessage());
    ok = false;
  }
  SendMessageA(grid, WM_SETREDRAW, TRUE, 0);
  grid.Invalidate();
  UpdateWindow(grid);
  return ok;
}

void TForm4::btnHintClick() {
  Log("btnHintClick()");
  fncShowHint(Handle());
}

void TForm4::btnCloseClick() {
  Log("btnCloseClick()");
  Close();
}

bool TForm4::ShowAnimation() { return animation_.Show(Handle(), kClientWidth); }

void TForm4::HideAnimation() { animation_.Hide(); }

// ---------------------------------------------------------------- keys, focus, painting

bool TForm4::KeyDown(UINT msg, WPARAM key, HWND control) {
  if (msg == WM_KEYDOWN && key == VK_RETURN) {
    forms::FocusNext(Handle(), control);
    return true;
  }
  return msg == WM_CHAR && key == '\r';
}

void TForm4::grdListDrawCell(HDC dc, int col, int row, const RECT& rect, unsigned state) {
  COLORREF back = (state & forms::kGridFixed)      ? grdList.FixedColor()
                  : (state & forms::kGridSelected) ? kSelectedColour
                  : row % 2 == 0                   ? kEvenRowColour
                                                   : grdList.Color();
  HBRUSH brush = CreateSolidBrush(back);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
  bool selected = (state & forms::kGridSelected) && !(state & forms::kGridFixed);
  SetTextColor(dc, selected ? RGB(0xFF, 0xFF, 0xFF) : RGB(0, 0, 0));
  RECT text{rect.left + 2, rect.top, rect.right, rect.bottom};
  const std::string& value = grdList.Cell(col, row);
  DrawTextA(dc, value.c_str(), static_cast<int>(value.size()), &text, DT_NOPREFIX | DT_SINGLELINE | DT_TOP);
}

// ---------------------------------------------------------------- messages

bool TForm4::OnCommand(WORD id, WORD code) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case kIdSend: btnSendClick(); return true;
    case kIdOpen: btnOpenClick(); return true;
    case kIdDelete: btnDeleteClick(); return true;
    case kIdHint: btnHintClick(); return true;
    case kIdClose: btnCloseClick(); return true;
    case kIdDisp: btnDispClick(); return true;
    default: return false;
  }
}

bool TForm4::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (!OnCommand(LOWORD(w), HIWORD(w))) return false;
      result = 0;
      return true;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(w);
      HWND control = reinterpret_cast<HWND>(l);
      bool bar = control == imgBtnBar1.Handle() || control == imgBtnBar2.Handle() || control == lblRange.Handle();
      result = ColourStatic(dc, bar);
      if (control == lblRange.Handle()) SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
      return true;
    }
    case WM_ERASEBKGND:
      EraseWhite(reinterpret_cast<HDC>(w));
      result = 1;
      return true;
    case WM_SIZE:
      sbrMsg.Resize();
      return false;
    default:
      return false;
  }
}
