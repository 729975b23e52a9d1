#include "client/MainForm.h"

#include <shlobj.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "client/CaptureState.h"
#include "client/ClientSettings.h"
#include "client/Common.h"
#include "client/Global.h"
#include "client/ListForm.h"
#include "client/SettingsForm.h"
#include "client/TrayIcons.h"
#include "client/ViewedWorkbooks.h"
#include "common/ViewerLookup.h"
#include "common/portable/Cp932.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "snaptrap/SnapTrap.h"
#include "transfer/FtpLog.h"

TForm1* Form1 = nullptr;

namespace {

constexpr UINT kTrayId = 1;
constexpr char kTrayTip[] = "ケストロ";
constexpr int kBannerWidth = 30;
constexpr int kBannerHeight = 115;
constexpr int kMenuItemWidth = 140;
constexpr int kMenuItemHeight = 20;
constexpr int kMenuLineHeight = 15;
constexpr int kCaptionLeft = 40;
constexpr int kClearButtonId = 101;

// Veltrana\kestro\ under the shell folder of the id, with trailing "\".
std::string ProductFolder(int folderId) {
  std::string folder;
  fncGetSpecialFolder(folderId, folder);
  return WithTrailingBackslash(folder) + kestro::kMakerFolder + "\\" + kestro::kProductFolder + "\\";
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return ExtractFilePath(path);
}

}  // namespace

TForm1::TForm1() : Form("TForm1", "Kestro") {}

TForm1::~TForm1() {
  if (trayAdded_) DelIco();
  for (HICON icon : {imgIcon1, imgIcon2, imgIcon3})
    if (icon) DestroyIcon(icon);
  if (menuFont_) DeleteObject(menuFont_);
}

void TForm1::Log(const std::string& message) const { fncWriteSysLog(Caption() + "," + message); }

void TForm1::ShowError(const std::string& message) {
  forms::ShowMessageBox(Handle(), message, forms::Application::Instance().Title(), MB_OK | MB_TOPMOST);
}

void TForm1::CreateControls() {
  memDebug.Create(Handle(), 8, 8, 376, 160, 100);
  btnClear.Create(Handle(), "Clear", 8, 174, 75, 25, kClearButtonId);
  lblFull.Create(Handle(), "PrintScreen:フルスクリーン", 8, 208, 300, 18);
  lblActive.Create(Handle(), "Alt + PrintScreen:アクティブスクリーン", 8, 228, 300, 18);
  imgIcon1 = MakeTrayIcon(kTrayNormalColour);
  imgIcon2 = MakeTrayIcon(kTrayErrorColour);
  imgIcon3 = MakeTrayIcon(kTrayBusyColour);

  pmnIcon.SetOwnerDraw(true);
  pmnIcon.Add("設定画面を表示", [this] { itmSetteiClick(); });
  pmnIcon.Add("一覧画面を表示", [this] { itmListClick(); });
  pmnIcon.Add("ヒントを表示", [this] { itmHintClick(); });
  pmnIcon.Add("メニューを閉じる", [this] { itmCancelClick(); });
  pmnIcon.Add("-");
  pmnIcon.Add("ケストロの終了", [this] { itmEndClick(); });
  pmnIcon.OnMeasureItem = [this](const forms::PopupMenu::Item& item, MEASUREITEMSTRUCT& measure) {
    itmMeasureItem(item, measure);
  };
  pmnIcon.OnDrawItem = [this](const forms::PopupMenu::Item& item, const DRAWITEMSTRUCT& draw) {
    itmDrawItem(item, draw);
  };
}

void TForm1::FormCreate() {
  try {
    CreateControls();
    gDataDir = ProductFolder(CSIDL_COMMON_APPDATA);
    gDocDir = ProductFolder(CSIDL_PERSONAL);
    ftpLogDir = gDataDir;
    ftpVariant = transfer::FtpVariant::Client;
    Log("FormCreate()---------------------------------------");
    Log("FormCreate()=" + gDataDir);
    Log("FormCreate()=" + gDocDir);
    hookLibrary_ = LoadLibraryA("SNAPTRAP.DLL");
    CenterOnScreen();
    std::string name;
    fncGetComputerName(name);
    gComputerName = name.substr(0, Cp932CutLength(name, 100));
    gExeDir = ProgramFolder();
    gIniPath = gDataDir + kestro::kIniFile;
    fncSysRead();
    fncSysWrite();
    fncSetRelay(gDataDir, kestro::kTempFolder, [this](const std::string& line) { Log(line); });
    SetIco(kTrayBusy);
    // Workbooks that the last run left without their password for viewing.
    workbook::ViewedWorkbooks(Caption() + ",FormCreate()").ProtectLeft();
    if (!fncInit()) return;
    fncReadFile();
    fncSetPopup();
  } catch (...) {
    Log("FormCreate()ERROR=" + ExceptionMessage() + "\r\n" + "プログラムを終了します");
    forms::Application::Instance().Terminate();
  }
}

void TForm1::FormCloseQuery(bool& canClose) {
  tmrEvent.SetEnabled(false);
  try {
    Log("FormCloseQuery()");
    fncSysWrite();
  } catch (...) {
    Log("FormCloseQuery()ERROR=" + ExceptionMessage());
  }
  canClose = true;
}

void TForm1::FormClose() {
  forms::Application& application = forms::Application::Instance();
  try {
    Log("FormClose()----------------------------------------");
    gClosing = true;
    StopHook();
    if (hookLibrary_) {
      FreeLibrary(hookLibrary_);
      hookLibrary_ = nullptr;
    }
    DelIco();
    application.CloseFormsBut(this);
    // Messages processed above may still reach the lists; free them last.
    ReleaseLists();
  } catch (...) {
    application.Terminate();
  }
}

void TForm1::ReleaseLists() {
  gCaptureQueue.Clear();
  gProjectList.clear();
  gCaptureDetails.clear();
  gCaptureOperations.clear();
  banner_.reset();
}

bool TForm1::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case kestro::kTrayMessage:
      WMNotifyMessage(l);
      result = 0;
      return true;
    case WM_QUERYENDSESSION:
      result = ShutDownMessage();
      return true;
    case kestro::kCaptureMessage:
      if (!gClosing) WMSnapChot(w, l);  // a late capture after the lists are gone is ignored
      result = 0;
      return true;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      return pmnIcon.HandleMessage(msg, w, l, result);
    case WM_COMMAND:
      if (LOWORD(w) == kClearButtonId && HIWORD(w) == BN_CLICKED) {
        btnClearClick();
        result = 0;
        return true;
      }
      break;
    default:
      break;
  }
  return false;
}

void TForm1::FillTrayRecord(int state) {
  HICON icon = state == kTrayError ? imgIcon2 : state == kTrayBusy ? imgIcon3 : imgIcon1;
  trayRecord_.Set(Handle(), kTrayId, kestro::kTrayMessage, icon, kTrayTip);
}

void TForm1::SetIco(int state) {
  if (gClosing) return;
  try {
    Log("SetIco()Icon=" + std::to_string(state));
    FillTrayRecord(state);
    gTrayState = state;
    trayRecord_.Add();
    trayAdded_ = true;
  } catch (...) {
    Log("SetIco()ERROR=" + ExceptionMessage());
  }
}

void TForm1::MODIFYIcon(int state) {
  try {
    Log("MODIFYIcon()Icon=" + std::to_string(state));
    FillTrayRecord(state);
    gTrayState = state;
    if (!trayRecord_.Modify()) SetIco(state);  // the shell lost it (restarted): add it again
  } catch (...) {
    Log("MODIFYIcon()ERROR=" + ExceptionMessage());
  }
}

void TForm1::DelIco() {
  try {
    FillTrayRecord(gTrayState);
    trayRecord_.Delete();
    trayAdded_ = false;
  } catch (...) {
  }
}

void TForm1::WMNotifyMessage(LPARAM mouseMessage) {
  if (!gStartComplete || gClosing) return;
  try {
    if (mouseMessage == WM_LBUTTONDBLCLK) {
      itmSetteiClick();
    } else if (mouseMessage == WM_RBUTTONUP) {
      POINT cursor{};
      GetCursorPos(&cursor);
      SetForegroundWindow(Handle());
      forms::Application::Instance().ProcessMessages();
      pmnIcon.Popup(Handle(), cursor.x, cursor.y);
    }
  } catch (...) {
    Log("WMNotifyMessage()ERROR=" + ExceptionMessage());
  }
}

LRESULT TForm1::ShutDownMessage() {
  Log("*** ShutDownMessage() ***");
  if (!gClosing) {
    gClosing = true;
    Close();
  }
  return 1;
}

bool TForm1::fncSetPopup() {
  try {
    banner_ = std::make_unique<forms::Bitmap>();
    if (!banner_->Create(kBannerWidth, kBannerHeight)) throw std::runtime_error("メニューの画像を作成できません");
    HDC dc = banner_->Dc();
    RECT all{0, 0, kBannerWidth, kBannerHeight};
    HBRUSH back = CreateSolidBrush(RGB(0x6A, 0x6A, 0xFF));
    FillRect(dc, &all, back);
    DeleteObject(back);

    LOGFONTA font{};
    font.lfHeight = -MulDiv(16, GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfEscapement = 900;  // turned to run upwards
    font.lfOrientation = 900;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    lstrcpynA(font.lfFaceName, "Impact", LF_FACESIZE);
    banner_->SetFont(CreateFontIndirectA(&font));
    SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 2, 102, kestro::kMenuBanner, lstrlenA(kestro::kMenuBanner));

    if (!menuFont_) {
      NONCLIENTMETRICSA metrics{};
      metrics.cbSize = sizeof(metrics);
      if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        menuFont_ = CreateFontIndirectA(&metrics.lfMenuFont);
    }
    return true;
  } catch (...) {
    std::string message = ExceptionMessage();
    Log("fncSetPopup()ERROR=" + message);
    ShowError(message);
    return false;
  }
}

void TForm1::itmMeasureItem(const forms::PopupMenu::Item& item, MEASUREITEMSTRUCT& measure) {
  measure.itemWidth = kMenuItemWidth;
  measure.itemHeight = item.caption == "-" ? kMenuLineHeight : kMenuItemHeight;
}

void TForm1::itmDrawItem(const forms::PopupMenu::Item& item, const DRAWITEMSTRUCT& draw) {
  try {
    HDC dc = draw.hDC;
    RECT r = draw.rcItem;
    bool selected = (draw.itemState & ODS_SELECTED) != 0;
    int saved = SaveDC(dc);
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    // Each item shows its own slice of the one vertical banner.
    int right = std::min<int>(r.right, kBannerWidth);
    if (banner_ && right > r.left)
      BitBlt(dc, r.left, r.top, right - r.left, r.bottom - r.top, banner_->Dc(), r.left, r.top, SRCCOPY);
    if (item.caption != "-") {
      RECT text{kCaptionLeft, r.top, r.right, r.bottom};
      if (menuFont_) SelectObject(dc, menuFont_);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
      DrawTextA(dc, item.caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER);
    } else {
      int y = r.top + (r.bottom - r.top) / 2;
      HPEN gray = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_GRAYTEXT));
      HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
      SelectObject(dc, gray);
      MoveToEx(dc, r.left + 31, y, nullptr);
      LineTo(dc, r.right - 1, y);
      SelectObject(dc, light);
      MoveToEx(dc, r.left + 31, y + 1, nullptr);
      LineTo(dc, r.right - 1, y + 1);
      RestoreDC(dc, saved);
      saved = 0;
      DeleteObject(gray);
      DeleteObject(light);
    }
    if (saved) RestoreDC(dc, saved);
  } catch (...) {
    std::string message = ExceptionMessage();
    Log("itmDrawItem()ERROR=" + message);
    ShowError(message);
  }
}

void TForm1::itmSetteiClick() {
  Log("itmSetteiClick()");
  if (Form2) Form2->ShowSettings();
}

void TForm1::itmListClick() {
  Log("itmListClick()");
  if (Form4) Form4->ShowList();
}

void TForm1::itmHintClick() {
  Log("itmHintClick()");
  fncShowHint(Handle());
}

void TForm1::itmCancelClick() { Log("itmCancelClick()"); }

void TForm1::itmEndClick() {
  Log("itmEndClick()");
  if (!gStartComplete) {
    DelIco();
    forms::Application::Instance().Terminate();
    return;
  }
  gClosing = true;
  Close();
}

void TForm1::btnClearClick() { memDebug.Clear(); }
