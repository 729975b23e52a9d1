#include "manager/ReportWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "common/ExceptionText.h"
#include "common/FileSystem.h"
#include "common/portable/HintCommand.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerUtilities.h"
#include "manager/ManagerWork.h"
#include "manager/ReportOpening.h"
#include "transfer/TTmxFtp.h"

TForm1* Form1 = nullptr;

namespace {

constexpr int kClientWidth = 1016;
constexpr int kClientHeight = 703;

// Colours as $BBGGRR, the order of COLORREF.
constexpr COLORREF kWindowColour = 0x353535;
constexpr COLORREF kGridColour = 0xECFFFF;
constexpr COLORREF kGridFixedColour = 0xDD0000;
constexpr COLORREF kTitleColour = 0xFF0000;
constexpr COLORREF kCompletedColour = 0xAAAAAA;
constexpr COLORREF kLockedColour = 0x00FFFF;
constexpr COLORREF kImportantColour = 0xECD9FF;
constexpr COLORREF kSelectedColour = 0x800000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kRed = 0x0000FF;

constexpr char kAllItems[] = "全て";
constexpr char kImportantOnly[] = "重要のみ";
constexpr char kNotImportant[] = "重要以外";
constexpr char kCompletedOnly[] = "完了のみ";
constexpr char kNotCompleted[] = "完了以外";
constexpr char kVersionText[] = "2.1";

enum ControlId {
  kButtonBase = 1000,  // SpeedButtonN has kButtonBase + N
  kPicker1Id = 1101,
  kPicker2Id,
  kCheckBox1Id,
  kCombo1Id,
  kCombo2Id,
  kCombo3Id,
  kCombo4Id,
  kEdit1Id,
  kGridId,
  kStatusId,
  kPanelId,
  kAnimateId,
  kGaugeId,
};

struct Column {
  const char* title;
  int width;
};
constexpr Column kColumns[] = {{"日付", 80},         {"時刻", 80},   {"重要", 40},     {"完了", 40},
                               {"ファイル種別", 40}, {"プロジェクト", 100}, {"作成者", 80}, {"サイズ", 70},
                               {"名称（コメント）", 300}, {"ファイル名", 300}};

struct ButtonInfo {
  int number;
  const char* caption;
  const char* hint;
};
// The tool row, left to right.
constexpr ButtonInfo kToolButtons[] = {
    {1, "画像開く", "選択したポストを開きます。"},
    {3, "ﾀﾞｳﾝﾛｰﾄﾞ", "選択したポストをダウンロードします。"},
    {2, "削除", "選択したポストを削除します。"},
    {4, "一覧表", "一覧をExcelに出力します。"},
    {16, "XLS画像出力", "選択イメージをXLSに一括出力"},
    {10, "編集中ﾌｧｲﾙの強制解除", "編集中のままのポストを解除します。"},
    {11, "ﾌﾟﾛｼﾞｪｸﾄﾘｽﾄの編集", "サーバーのプロジェクトリストを編集します。"},
    {13, "ｶﾀﾛｸﾞの保存", "カタログをサーバーに保存します。"},
    {12, "ｶﾀﾛｸﾞの復元", "カタログをサーバーから復元します。"},
    {14, "バージョンアップ", "最新版に更新します。"},
    {7, "ヒント", "操作説明を表示します。"},
    {6, "終了", "管理画面を終了します。"},
};

// The day of a BASEDATE text ("yyyy/mm/dd", "yyyy-mm-dd" or "yyyymmdd").
bool ParseBaseDate(const std::string& text, int& y, int& m, int& d) {
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9') digits += c;
  if (digits.size() != 8) return false;
  y = std::atoi(digits.substr(0, 4).c_str());
  m = std::atoi(digits.substr(4, 2).c_str());
  d = std::atoi(digits.substr(6, 2).c_str());
  return !DaysOfRange(digits, digits).empty();
}

std::string TodayText() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  char text[16];
  std::snprintf(text, sizeof text, "%04u%02u%02u", st.wYear, st.wMonth, st.wDay);
  return text;
}

// Case-sensitive search on character boundaries of the system code page,
// so that a double-byte character never matches half of another.
bool ContainsText(const std::string& text, const std::string& part) {
  if (part.empty()) return true;
  for (size_t at = 0; at + part.size() <= text.size();) {
    if (text.compare(at, part.size(), part) == 0) return true;
    at += IsDBCSLeadByte(static_cast<BYTE>(text[at])) && at + 1 < text.size() ? 2 : 1;
  }
  return false;
}

}  // namespace

TForm1::TForm1() : Form("TForm1", "ケストロ管理画面（KestroMgr）") {}

TForm1::~TForm1() {
  if (backBrush_) DeleteObject(backBrush_);
}

forms::SpeedButton* TForm1::Button(int number) {
  forms::SpeedButton* buttons[] = {&SpeedButton1,  &SpeedButton2,  &SpeedButton3,  &SpeedButton4,
                                   &SpeedButton5,  &SpeedButton6,  &SpeedButton7,  &SpeedButton8,
                                   &SpeedButton9,  &SpeedButton10, &SpeedButton11, &SpeedButton12,
                                   &SpeedButton13, &SpeedButton14, &SpeedButton15, &SpeedButton16};
  return number >= 1 && number <= 16 ? buttons[number - 1] : nullptr;
}

void TForm1::CreateControls() {
  const HWND self = Handle();
  backBrush_ = CreateSolidBrush(kWindowColour);
  whiteBrush_ = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));

  // Search row.
  labels_[0].Create(self, "対象期間", 8, 12, 56, 16);
  DateTimePicker1.Create(self, 66, 8, 110, 22, kPicker1Id);
  labels_[1].Create(self, "～", 180, 12, 16, 16);
  DateTimePicker2.Create(self, 198, 8, 110, 22, kPicker2Id);
  CheckBox1.Create(self, "期間内全更新", 318, 9, 110, 20, kCheckBox1Id);
  checkHint_.Create(self, CheckBox1.Handle());
  checkHint_.SetTip("チェックを外すと、当日分のみ最新情報が更新されます。");
  SpeedButton5.Create(self, "ﾎﾟｽﾄの検索", 436, 5, 110, 28, kButtonBase + 5, "指定日付で検索しなおします。");

  // Filter row.
  labels_[2].Create(self, "プロジェクト", 8, 44, 64, 16);
  ComboBox1.Create(self, 74, 40, 130, 240, kCombo1Id, CBS_DROPDOWNLIST);
  labels_[3].Create(self, "作成者", 212, 44, 40, 16);
  ComboBox2.Create(self, 254, 40, 110, 240, kCombo2Id, CBS_DROPDOWNLIST);
  labels_[4].Create(self, "重要", 372, 44, 28, 16);
  ComboBox3.Create(self, 402, 40, 90, 120, kCombo3Id, CBS_DROPDOWNLIST);
  labels_[5].Create(self, "完了", 500, 44, 28, 16);
  ComboBox4.Create(self, 530, 40, 90, 120, kCombo4Id, CBS_DROPDOWNLIST);
  labels_[6].Create(self, "コメント", 628, 44, 48, 16);
  Edit1.Create(self, 678, 40, 150, 22, kEdit1Id);
  Edit1.SetLimitText(100);
  editHint_.Create(self, Edit1.Handle());
  editHint_.SetTip("指定文字が含まれるものを検索");
  SpeedButton8.Create(self, "絞込み", 836, 37, 80, 28, kButtonBase + 8, "指定した条件で一覧を絞り込みます。");
  SpeedButton9.Create(self, "やり直し", 922, 37, 80, 28, kButtonBase + 9, "絞込み前の一覧に戻します。");

  // Tool row: each button as wide as its caption in the buttons' font
  // needs; the gaps shrink should the row not fit the window otherwise.
  constexpr int kToolCount = static_cast<int>(sizeof kToolButtons / sizeof kToolButtons[0]);
  int widths[kToolCount];
  int total = 0;
  const HDC dc = GetDC(self);
  const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  for (int i = 0; i < kToolCount; ++i) {
    SIZE text{};
    GetTextExtentPoint32A(dc, kToolButtons[i].caption, lstrlenA(kToolButtons[i].caption), &text);
    widths[i] = std::max(56, static_cast<int>(text.cx) + 16);
    total += widths[i];
  }
  SelectObject(dc, oldFont);
  ReleaseDC(self, dc);
  const int gap = std::min(4, std::max(0, (kClientWidth - 16 - total) / (kToolCount - 1)));
  int x = 8;
  for (int i = 0; i < kToolCount; ++i) {
    const ButtonInfo& info = kToolButtons[i];
    Button(info.number)->Create(self, info.caption, x, 72, widths[i], 28, kButtonBase + info.number, info.hint);
    x += widths[i] + gap;
  }

  Label10.Create(self, "対象期間選択後、「ﾎﾟｽﾄの検索」→対象画像ダブルクリック（画像開くでもOK）", 8, 108, 600, 16);
  Label11.Create(self, "コメント欄のダブルクリックはコメントの編集機能となります。", 8, 126, 600, 16);

  // The grid between the labels and the status bar.
  StatusBar1.Create(self, kStatusId);
  StatusBar1.SetParts({600, 700, 750});
  RECT bar;
  GetWindowRect(StatusBar1.Handle(), &bar);
  const int gridTop = 146;
  const int gridHeight = kClientHeight - (bar.bottom - bar.top) - gridTop - 2;
  sg1.Create(self, 4, gridTop, kClientWidth - 8, gridHeight, kGridId);
  SetWindowLongPtrA(sg1.Handle(), GWL_STYLE, GetWindowLongPtrA(sg1.Handle(), GWL_STYLE) | WS_CLIPSIBLINGS);
  sg1.SetColCount(10);
  sg1.SetRowCount(2);
  sg1.SetFixedRows(1);
  sg1.SetDefaultRowHeight(16);
  sg1.SetColor(kGridColour);
  sg1.SetFixedColor(kGridFixedColour);
  sg1.SetColSizing(true);
  for (int c = 0; c < 10; ++c) {
    sg1.SetColWidth(c, kColumns[c].width);
    sg1.SetCell(c, 0, kColumns[c].title);
  }
  sg1.OnDrawCell = [this](HDC dc, int col, int row, const RECT& rect, unsigned state) {
    sg1DrawCell(dc, col, row, rect, state);
  };
  sg1.OnSelectCell = [this](int col, int row) { sg1SelectCell(col, row); };
  sg1.OnDblClick = [this] {
    // The grid reports a change of cell only; a double-click on the cell
    // that was already current must still act on it.
    sg1SelectCell(sg1.Col(), sg1.Row());
    sg1DblClick();
  };

  // The progress panel, centred over the grid.
  const int panelWidth = 420, panelHeight = 190;
  Panel1.Create(self, "", (kClientWidth - panelWidth) / 2, gridTop + (gridHeight - panelHeight) / 2, panelWidth,
                panelHeight, kPanelId, WS_BORDER);
  const HWND panel = Panel1.Handle();
  static_cast<forms::Control&>(panelMsg).Create(panel, "STATIC", "", WS_VISIBLE | SS_CENTER, 10, 10,
                                                panelWidth - 22, 18, -1);
  Animate1.Create(panel, (panelWidth - 272) / 2, 32, 272, 60, kAnimateId);
  static_cast<forms::Control&>(progress).Create(panel, "STATIC", "", SS_CENTER, 10, 100, panelWidth - 22, 18, -1);
  Gauge1.Create(panel, 20, 124, panelWidth - 42, 16, kGaugeId, 0);
  SpeedButton15.Create(panel, "中断", (panelWidth - 90) / 2, 148, 90, 28, kButtonBase + 15, "処理を中断します。");
  Panel1.Show(SW_HIDE);

  CreateIcons();
}

// Icon 0 important (a red mark), icon 1 completed (a green tick), on white.
void TForm1::CreateIcons() {
  ImageList1.Create(16, 16);
  HDC screen = GetDC(nullptr);
  for (int icon = 0; icon < 2; ++icon) {
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(dc, picture);
    RECT all{0, 0, 16, 16};
    FillRect(dc, &all, whiteBrush_);
    if (icon == 0) {
      HBRUSH red = CreateSolidBrush(RGB(220, 0, 0));
      HGDIOBJ oldBrush = SelectObject(dc, red);
      HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
      Ellipse(dc, 1, 1, 16, 16);
      SelectObject(dc, oldPen);
      SelectObject(dc, oldBrush);
      DeleteObject(red);
      RECT bar{7, 3, 10, 10}, dot{7, 11, 10, 14};
      FillRect(dc, &bar, whiteBrush_);
      FillRect(dc, &dot, whiteBrush_);
    } else {
      HPEN green = CreatePen(PS_SOLID, 3, RGB(0, 150, 0));
      HGDIOBJ oldPen = SelectObject(dc, green);
      MoveToEx(dc, 2, 8, nullptr);
      LineTo(dc, 6, 12);
      LineTo(dc, 14, 3);
      SelectObject(dc, oldPen);
      DeleteObject(green);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList1.AddMasked(picture, kWhite);
    DeleteObject(picture);
  }
  ReleaseDC(nullptr, screen);
}

void TForm1::FormCreate() {
  CreateControls();
  gSearched = 0;
  gShutdown = 0;
  StatusBar1.SetPanelText(1, kVersionText, forms::StatusBar::Align::Center);
  gServerRoot = kStoreRoot;
  fncWriteSysLog("Form1起動");
  fncWriteSysLog(gMgr.server + ";" + gMgr.user + ";" + gMgr.password + ";" + gMgr.BASEDATE);
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
  Move(0, 0, frame.right - frame.left, frame.bottom - frame.top);
  SYSTEMTIME today;
  GetLocalTime(&today);
  int y, m, d;
  if (ParseBaseDate(gMgr.BASEDATE, y, m, d))
    DateTimePicker1.SetDate(y, m, d);
  else
    DateTimePicker1.SetDate(today.wYear, today.wMonth, today.wDay);
  DateTimePicker2.SetDate(today.wYear, today.wMonth, today.wDay);
  firstShownDay_ = DateTimePicker1.Date();
  CheckBox1.SetChecked(true);
  ListClear();
  selectedRow = 0;
  selectedCol = 0;
  searchItemClear();
  try {
    fncCleanUpSysLog("????????.txt", gMgr.VALIDDAY);
    fncCleanUpSysLog("FTP????????.txt", gMgr.VALIDDAY);
  } catch (...) {
    fncWriteSysLog("Clean up syslog ERROR=" + ExceptionMessage());
  }
  fncCleanUpTemp();
  xlsAvailable = fucXlsFind() == 1;
}

void TForm1::FormShow() {
  std::string caption = Caption();
  SetText(caption);
  const char* missing = gMgr.server.empty() ? "FTPサーバーのIPアドレスが設定されていません。終了します。"
                        : gMgr.user.empty() ? "FTPサーバーにアクセスするためのログインIDが設定されていません。終了します。"
                                            : nullptr;
  if (missing) {
    fncWriteSysLog(missing);
    forms::ShowMessageBox(Handle(), missing, kManagerCaption, MB_OK);
    forms::Application::Instance().Terminate();
    PostQuitMessage(0);
    return;
  }
  if (TmxFtp) {
    TmxFtp->host = gMgr.server;
    TmxFtp->userid = gMgr.user;
    TmxFtp->passwd = gMgr.password;
    TmxFtp->TimeOut = kManagerTimeOut;
  }
  if (gMgr.SAVE == 1)
    caption += "   【接続先】 " + gMgr.server + "   【ユーザー】 " + gMgr.user;
  else
    caption += "   【保存先】 " + gMgr.FILESAVEPATH;
  SetText(caption);
  SpeedButton4.Enable(xlsAvailable);
  SpeedButton16.Enable(xlsAvailable);
  fncWriteSysLog(caption);
}

bool TForm1::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  static const UINT gridTextMessage = RegisterWindowMessageA("KestroMgrGridText");
  switch (msg) {
    case WM_QUERYENDSESSION:
      ShutDownMessage();
      return false;  // the default processing answers that Windows may go on
    case WM_ENDSESSION:
      // The session ends once this returns: the closing work runs now,
      // without the question. A cancelled end asks again at the next exit.
      if (!w) {
        gShutdown = 0;
      } else if (IsVisible()) {
        ShutDownMessage();
        if (runningRows) runningRows->SessionEnding();
        Close();
      }
      result = 0;
      return true;
    case WM_ERASEBKGND: {
      RECT r = ClientRect();
      FillRect(reinterpret_cast<HDC>(w), &r, backBrush_);
      result = 1;
      return true;
    }
    case WM_CTLCOLORSTATIC: {
      const HWND control = reinterpret_cast<HWND>(l);
      const HDC dc = reinterpret_cast<HDC>(w);
      SetBkMode(dc, TRANSPARENT);
      if (control == Panel1.Handle() || GetParent(control) == Panel1.Handle()) {
        SetTextColor(dc, kBlack);
        result = reinterpret_cast<LRESULT>(whiteBrush_);
      } else {
        SetTextColor(dc, control == Label11.Handle() ? kRed : kWhite);
        SetBkColor(dc, kWindowColour);
        result = reinterpret_cast<LRESULT>(backBrush_);
      }
      return true;
    }
    case WM_SIZE:
      StatusBar1.Resize();
      return false;
    case WM_COMMAND:
      if (HIWORD(w) != BN_CLICKED || !Command(LOWORD(w))) return false;
      result = 0;
      return true;
    default:
      if (msg == gridTextMessage && msg != 0) {
        WriteGridText();
        result = 1;
        return true;
      }
      return false;
  }
}

bool TForm1::Command(int id) {
  const int number = id - kButtonBase;
  if (!Button(number)) return false;
  if (!Button(number)->IsEnabled()) return true;
  // The abort button works during the work; the exit button's close asks
  // for itself whether work runs.
  if (number == 15) {
    SpeedButton15Click();
    return true;
  }
  if (number == 6) {
    SpeedButton6Click();
    return true;
  }
  ManagerWork work(Button(number)->Text());
  if (!work) return true;
  switch (number) {
    case 5: SpeedButton5Click(); break;
    case 7: SpeedButton7Click(); break;
    case 8: SpeedButton8Click(); break;
    case 9: SpeedButton9Click(); break;
    case 1: SpeedButton1Click(); break;
    case 11: SpeedButton11Click(); break;
    case 12: SpeedButton12Click(); break;
    case 13: SpeedButton13Click(); break;
    case 2: SpeedButton2Click(); break;
    case 3: SpeedButton3Click(); break;
    case 10: SpeedButton10Click(); break;
    case 14: SpeedButton14Click(); break;
    case 4: SpeedButton4Click(); break;
    case 16: SpeedButton16Click(); break;
  }
  return true;
}

void TForm1::SpeedButton5Click() {
  gSearched = 1;
  const std::string first = DateTimePicker1.Date(), last = DateTimePicker2.Date();
  if (last < first) {
    forms::ShowMessageBox(Handle(), "日付範囲に間違いがあります。", kManagerCaption, MB_OK);
    return;
  }
  fncWriteSysLog("リスト取得開始");
  panelMsg.SetText("サーバーと通信中です。お待ちください・・");
  StartPanel();
  try {
    if (CheckBox1.Checked())
      ftpGetLists(first, last);
    else if (last == TodayText())
      ftpGetLists(last, last);
    fncWriteSysLog("FTPリスト取得完了");
    catalogueToList();
    fncWriteSysLog("リストをグローバルリストへセット完了");
    ListDisp();
  } catch (const std::exception& e) {
    fncWriteSysLog(std::string("★異常検出 ") + e.what());
  }
  EndPanel();
}

void TForm1::SpeedButton9Click() {
  if (!gSearched) return;
  if (DateTimePicker2.Date() < DateTimePicker1.Date()) {
    forms::ShowMessageBox(Handle(), "日付範囲に間違いがあります。", kManagerCaption, MB_OK);
    return;
  }
  catalogueToList();
  ListDisp();
}

void TForm1::SpeedButton8Click() {
  if (Lists.Count() == 0)
    forms::ShowMessageBox(Handle(), "［情報更新］による一覧表示を行ってから実行してください。", kManagerCaption,
                          MB_OK);
  ListNarrow();
  ListDisp();
}

void TForm1::SpeedButton7Click() {
  const std::string help = gExeDir + "doc\\hint.html";
  if (!FileExists(help)) {
    forms::ShowMessageBox(Handle(), "DOCフォルダが見つかりません。", kManagerCaption, MB_OK);
    return;
  }
  std::string commandLine = HintCommandLine(help);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  fncWriteSysLog(commandLine);
}

void TForm1::SpeedButton15Click() {
  abortFlag = 1;
  fncWriteSysLog("中断ボタン押下");
}

void TForm1::StartPanel() {
  for (int n = 1; n <= 16; ++n)
    if (n != 15) Button(n)->Enable(false);
  DateTimePicker1.Enable(false);
  DateTimePicker2.Enable(false);
  sg1.Enable(false);
  SetWindowPos(Panel1.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  Animate1.Stop();
  const std::string clip = gExeDir + "download.avi";
  bool opened = FileExists(clip) && Animate1.Open(clip);
  if (!opened) {
    HMODULE shell = GetModuleHandleA("shell32.dll");
    opened = shell && Animate1.OpenResource(shell, forms::kShellCopyFilesClip);
  }
  Animate1.Show(opened ? SW_SHOW : SW_HIDE);
  if (opened) Animate1.Play(-1);
  progress.SetText("");
  progress.Show(SW_SHOW);
  abortFlag = 0;
  RedrawWindow(Panel1.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TForm1::EndPanel() {
  Animate1.Stop();
  Panel1.Show(SW_HIDE);
  sg1.Enable(true);
  for (int n = 1; n <= 16; ++n)
    if (n != 15) Button(n)->Enable(xlsAvailable || (n != 4 && n != 16));
  DateTimePicker1.Enable(true);
  DateTimePicker2.Enable(true);
  progress.SetText("");
  progress.Show(SW_HIDE);
}

void TForm1::ListClear() { Lists.Clear(); }

void TForm1::searchItemClear() {
  for (forms::ComboBox* box : {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4}) box->Clear();
  ComboBox1.Add(kAllItems);
  ComboBox2.Add(kAllItems);
  for (const char* item : {kAllItems, kImportantOnly, kNotImportant}) ComboBox3.Add(item);
  for (const char* item : {kAllItems, kCompletedOnly, kNotCompleted}) ComboBox4.Add(item);
  for (forms::ComboBox* box : {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4}) box->SetItemIndex(0);
  Edit1.SetText("");
}

void TForm1::ListDisp() {
  fncWriteSysLog("一覧表示開始");
  bool hidden = false;
  for (size_t r = 0; r < Lists.Count() && !hidden; ++r) hidden = Lists.Cell(kColStatus, r) == "0";
  if (hidden) {
    CatalogueLists shown;
    for (size_t r = 0; r < Lists.Count(); ++r)
      if (Lists.Cell(kColStatus, r) != "0") shown.Append(Lists.RowAt(r));
    Lists = std::move(shown);
  }
  const size_t n = Lists.Count();
  sg1.Send(WM_SETREDRAW, FALSE);
  if (n > 0) {
    searchItemClear();
    sg1.SetRowCount(static_cast<int>(n) + 1);
    std::set<std::string> projects, creators;
    for (size_t r = 0; r < n; ++r) {
      for (int c = 0; c < 10; ++c) sg1.SetCell(c, static_cast<int>(r) + 1, Lists.Cell(c, r));
      const std::string& project = Lists.Cell(kColProject, r);
      if (!project.empty() && projects.insert(project).second) ComboBox1.Add(project);
      const std::string& creator = Lists.Cell(kColOperation, r);
      if (!creator.empty() && creators.insert(creator).second) ComboBox2.Add(creator);
    }
    StatusBar1.SetPanelText(0, std::to_string(n) + "件表示しました。");
  } else {
    sg1.SetRowCount(2);
    for (int c = 0; c < 10; ++c) sg1.SetCell(c, 1, "");
    StatusBar1.SetPanelText(0, "");
  }
  sg1.SetTopRow(1);
  sg1.Send(WM_SETREDRAW, TRUE);
  sg1.Invalidate(false);
  fncWriteSysLog("一覧表示終了");
}

void TForm1::ListNarrow() {
  fncWriteSysLog("一覧絞込み開始");
  const std::string project = ComboBox1.Text(), creator = ComboBox2.Text(), important = ComboBox3.Text(),
                    completed = ComboBox4.Text(), comment = Edit1.Text();
  CatalogueLists kept;
  for (size_t r = 0; r < Lists.Count(); ++r) {
    if (project != kAllItems && Lists.Cell(kColProject, r) != project) continue;
    if (creator != kAllItems && Lists.Cell(kColOperation, r) != creator) continue;
    const bool isImportant = Lists.Cell(kColImportant, r) == kImportantText;
    if ((important == kImportantOnly && !isImportant) || (important == kNotImportant && isImportant)) continue;
    const bool isCompleted = Lists.Cell(kColCompleted, r) == kCompletedText;
    if ((completed == kCompletedOnly && !isCompleted) || (completed == kNotCompleted && isCompleted)) continue;
    if (!comment.empty() && !ContainsText(Lists.Cell(kColComment, r), comment)) continue;
    kept.Append(Lists.RowAt(r));
  }
  Lists = std::move(kept);
  fncWriteSysLog("一覧絞込み終了");
}

TForm1::CellLook TForm1::LookOf(int col, int row, unsigned state) const {
  CellLook look{sg1.Color(), kBlack, false, -1};
  if (state & forms::kGridFixed) return {kTitleColour, kWhite, false, -1};
  if (row >= 1 && static_cast<size_t>(row - 1) < Lists.Count()) {
    const size_t r = static_cast<size_t>(row - 1);
    const bool completed = Lists.Cell(kColCompleted, r) == kCompletedText;
    const bool important = Lists.Cell(kColImportant, r) == kImportantText;
    if (completed)
      look.back = kCompletedColour;
    else if (Lists.Cell(kColStatus, r) == "2")
      look.back = kLockedColour;
    else if (important)
      look.back = kImportantColour;
    if (col == 3 && completed) look.icon = 1;
    if (col == 2 && important) look.icon = 0;
    look.bold = Lists.Cell(kColRead, r) != "1";
  }
  if (state & forms::kGridSelected) {
    look.back = kSelectedColour;
    look.text = kWhite;
  }
  return look;
}

void TForm1::sg1DrawCell(HDC dc, int col, int row, const RECT& rect, unsigned state) {
  const CellLook look = LookOf(col, row, state);
  HBRUSH brush = CreateSolidBrush(look.back);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
  if (look.icon >= 0) {
    ImageList1.Draw(dc, look.icon, rect.left + 10, rect.top);
    return;
  }
  HGDIOBJ oldFont = look.bold ? SelectObject(dc, sg1.BoldFont()) : nullptr;
  SetTextColor(dc, look.text);
  forms::StringGrid::DrawCellText(dc, rect, sg1.Cell(col, row));
  if (oldFont) SelectObject(dc, oldFont);
}

// For the tests: with KESTRO_GRID_TEXT naming a file, the message
// "KestroMgrGridText" writes the grid there, one row a line: the ten cells,
// then the row's background ($BBGGRR), bold (0/1) and the icons of columns
// 2 and 3, tab-separated; the last line is status panel 0.
void TForm1::WriteGridText() const {
  const char* path = std::getenv("KESTRO_GRID_TEXT");
  if (!path || !*path) return;
  std::string text;
  for (int row = 0; row < sg1.RowCount(); ++row) {
    for (int c = 0; c < 10; ++c) text += sg1.Cell(c, row) + "\t";
    const CellLook look = LookOf(0, row, row == 0 ? unsigned{forms::kGridFixed} : 0u);
    char tail[64];
    std::snprintf(tail, sizeof tail, "%06lX\t%d\t%d\t%d\r\n", static_cast<unsigned long>(look.back), look.bold ? 1 : 0,
                  LookOf(2, row, 0).icon, LookOf(3, row, 0).icon);
    text += tail;
  }
  text += StatusBar1.PanelText(0) + "\r\n";
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}
