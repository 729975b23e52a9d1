#include <winsock2.h>  // before windows.h: the transfer client uses Winsock 2

#include "updater/SplashForm.h"

#include <shlobj.h>

#include <cstdio>
#include <stdexcept>

#include "common/ExceptionText.h"
#include "common/FileSystem.h"
#include "common/SystemUtilities.h"
#include "common/portable/FolderText.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"
#include "transfer/FtpLog.h"
#include "transfer/TTmxFtp.h"
#include "updater/Global.h"

TForm1* Form1 = nullptr;

namespace {

constexpr int kClientWidth = 318;
constexpr int kClientHeight = 107;
constexpr int kPanelWidth = 316;
constexpr int kPanelHeight = 105;
constexpr int kPanelId = 100;
constexpr int kTitleId = 101;
constexpr int kAnimateId = 102;
constexpr int kProgressId = 103;
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr char kEndText[] = "プログラムを終了します";

std::string ProgramFile() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::string SystemMessage(DWORD error) {
  char text[512] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
    message.pop_back();
  return message.empty() ? "エラー " + std::to_string(error) : message;
}

std::string Trimmed(const std::string& text) {
  const size_t from = text.find_first_not_of(" \t\r\n");
  if (from == std::string::npos) return "";
  return text.substr(from, text.find_last_not_of(" \t\r\n") - from + 1);
}

}  // namespace

TForm1::TForm1() : Form("TForm1", "ダウンローダー") { tmrEvent.OnTimer = [this] { tmrEventTimer(); }; }

TForm1::~TForm1() {
  tmrEvent.SetEnabled(false);
  if (titleFont_) DeleteObject(titleFont_);
  if (blueBrush_) DeleteObject(blueBrush_);
  if (whiteBrush_) DeleteObject(whiteBrush_);
  if (shell32_) FreeLibrary(shell32_);
}

bool TForm1::Create() {
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, WS_POPUP, FALSE, WS_EX_TOOLWINDOW);
  return Form::Create(WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, frame.right - frame.left, frame.bottom - frame.top);
}

void TForm1::Log(const std::string& message) const { fncWriteSysLog(Caption() + "," + message); }

void TForm1::ShowError(const std::string& message) const {
  forms::ShowMessageBox(Handle(), message, forms::Application::Instance().Title(), MB_OK | MB_TOPMOST);
}

void TForm1::CreateControls() {
  blueBrush_ = CreateSolidBrush(kBlue);
  whiteBrush_ = CreateSolidBrush(kWhite);
  pnlAnimate.Create(Handle(), "", 1, 1, kPanelWidth, kPanelHeight, kPanelId, 0);
  // A lowered inner bevel around the panel.
  SetWindowLongPtrA(pnlAnimate, GWL_EXSTYLE, GetWindowLongPtrA(pnlAnimate, GWL_EXSTYLE) | WS_EX_STATICEDGE);
  pnlAnimate.SetPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  const int inner = pnlAnimate.ClientRect().right;
  Label4.Create(pnlAnimate, "STATIC", "ダウンロード中です。しばらくお待ちください", WS_VISIBLE | SS_CENTER, 0, 6, inner, 16,
                kTitleId);
  LOGFONTA font{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  font.lfWeight = FW_BOLD;
  font.lfUnderline = TRUE;
  titleFont_ = CreateFontIndirectA(&font);
  Label4.SetFont(titleFont_);
  Animate1.Create(pnlAnimate, 12, 24, 293, 60, kAnimateId);
  progress.Create(pnlAnimate, "", 12, 88, inner - 24, 14, kProgressId);
}

void TForm1::FormCreate() {
  try {
    CreateControls();
    // Topmost, centred on the first monitor.
    BringToTop();
    RECT r = WindowRect();
    const int width = r.right - r.left, height = r.bottom - r.top;
    SetPos(nullptr, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2, GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2, 0,
           0, SWP_NOSIZE | SWP_NOZORDER);
    std::string common;
    fncGetSpecialFolder(CSIDL_COMMON_APPDATA, common);
    gDataDir = WithTrailingBackslash(common) + updater::kMakerFolder + "\\" + updater::kProductFolder + "\\";
    ftpLogDir = gDataDir;
    ftpVariant = transfer::FtpVariant::Updater;
    Log("FormCreate()---------------------------------------");
    gExePath = ProgramFile();
    gExeDir = WithTrailingBackslash(FolderOf(gExePath));
    gIniPath = gExeDir + updater::kIniFile;
    // The last version-up moved the updater aside, which has ended since,
    // or was cut short.
    RemoveInstallLeftovers();
    fncSysRead();
    fncInit();
    startComplete_ = true;
  } catch (...) {
    const std::string text = ExceptionMessage(updater::kUnknownError) + "\r\n" + kEndText;
    ShowError(text);
    Log("FormCreate()ERROR=" + text);
    forms::Application::Instance().Terminate();
  }
}

std::string TForm1::ReadSetting(const char* key) const {
  std::vector<char> buffer(1024);
  for (;;) {
    DWORD length = GetPrivateProfileStringA(updater::kIniSection, key, "", buffer.data(),
                                            static_cast<DWORD>(buffer.size()), gIniPath.c_str());
    if (length + 1 < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 4);
  }
}

void TForm1::fncSysRead() {
  try {
    Log("fncSysRead()");
    if (!FileExists(gIniPath)) throw std::runtime_error("システムファイルが確認できません");
    PROJECT = ReadSetting("PROJECT");
    SUBDIR = ReadSetting("SUBDIR");
    IP = ReadSetting("IP");
    EXE = ReadSetting("EXE");
    PARAM1 = ReadSetting("PARAM1");
    PARAM2 = ReadSetting("PARAM2");
    PARAM3 = ReadSetting("PARAM3");
    PARAM4 = ReadSetting("PARAM4");
    PARAM5 = ReadSetting("PARAM5");
    Log("fncSysRead()ディレクトリ=" + PROJECT);
    Log("fncSysRead()サブディレクトリ=" + SUBDIR);
    if (IP.empty()) IP = updater::kDefaultServer;
    Log("fncSysRead()ダウンロードFTPアドレス=" + IP);
    Log("fncSysRead()ダウンロード終了後起動ファイル=" + EXE);
    Log("fncSysRead()PARAM1=" + PARAM1);
    Log("fncSysRead()PARAM2=" + PARAM2);
    Log("fncSysRead()PARAM3=" + PARAM3);
    Log("fncSysRead()PARAM4=" + PARAM4);
    Log("fncSysRead()PARAM5=" + PARAM5);
  } catch (...) {
    throw std::runtime_error(ExceptionMessage());
  }
}

void TForm1::fncInit() {
  Log("fncInit()");
  tmrEvent.SetEnabled(false);
  tmrEvent.SetInterval(updater::kTimerInterval);
  shutdownFlag_ = 0;
}

void TForm1::fncSysWrite() {
  try {
    Log("fncSysWrite()");
    if (!FileExists(gIniPath)) throw std::runtime_error("システムファイルが確認できません");
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u/%02u/%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    if (!WritePrivateProfileStringA(updater::kIniSection, "UPDATE", stamp, gIniPath.c_str()))
      throw std::runtime_error(SystemMessage(GetLastError()));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, gIniPath.c_str());  // flush
  } catch (...) {
    throw std::runtime_error(ExceptionMessage());
  }
}

void TForm1::FormShow() { ShowAnimation(); }

void TForm1::ShowAnimation() {
  const RECT client = ClientRect();
  const RECT panel = pnlAnimate.WindowRect();
  const int width = panel.right - panel.left;
  pnlAnimate.SetPos(nullptr, (client.right - width) / 2, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  progress.SetText("");
  Animate1.Stop();
  pnlAnimate.Show(SW_SHOW);
  UpdateWindow(pnlAnimate);
  const std::string clip = gExeDir + updater::kAnimationFile;
  ownClip_ = FileExists(clip) && Animate1.Open(clip);
  if (ownClip_ || OpenShellClip()) Animate1.Play(-1);  // without a clip the splash stays still
}

bool TForm1::OpenShellClip() {
  if (!shell32_) shell32_ = LoadLibraryExA("shell32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  return shell32_ && Animate1.OpenResource(shell32_, forms::kShellCopyFilesClip);
}

void TForm1::LetGoOfOwnClip() {
  if (!ownClip_) return;
  Animate1.Stop();
  Animate1.CloseClip();
  ownClip_ = false;
  Log("fncDownload()アニメーション解放=" + gExeDir + updater::kAnimationFile);
  if (OpenShellClip()) Animate1.Play(-1);
}

void TForm1::HideAnimation() {
  Animate1.Stop();
  pnlAnimate.Show(SW_HIDE);
  progress.SetText("");
}

void TForm1::SetProgress(const std::string& text) {
  progress.SetText(text);
  UpdateWindow(progress);
}

void TForm1::tmrEventTimer() {
  tmrEvent.SetEnabled(false);
  if (!startComplete_) return;  // a failed start never downloads or starts anything
  Log("tmrEventTimer()");
  try {
    fncDownload();
    if (!Trimmed(EXE).empty()) {
      const std::string application = gExeDir + EXE;
      std::string command = "\"" + application + "\"";
      Log("tmrEventTimer()Apl=" + command);
      if (!FileExists(application)) throw std::runtime_error("起動ファイルが確認できません");
      SetProgress(EXE + " 起動");
      Sleep(100);
      STARTUPINFOA startup{};
      startup.cb = sizeof startup;
      PROCESS_INFORMATION process{};
      // The application name keeps a folder with blanks from being read as
      // a shorter program path.
      if (!CreateProcessA(application.c_str(), &command[0], nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                          nullptr, gExeDir.c_str(), &startup, &process)) {
        throw std::runtime_error("ファイルの起動に失敗しました");
      }
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
  } catch (...) {
    Log("tmrEventTimer()ERROR=" + ExceptionMessage());
  }
  Sleep(500);
  if (!closed_) Close();
}

void TForm1::FormCloseQuery(bool& canClose) {
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
  closed_ = true;
  try {
    tmrEvent.SetEnabled(false);
    Log("FormClose()----------------------------------------");
    application.CloseFormsBut(this);
    HideAnimation();
  } catch (...) {
    application.Terminate();
  }
}

LRESULT TForm1::ShutDownMessage() {
  Log("*** ShutDownMessage() ***");
  if (shutdownFlag_ != 1) {
    shutdownFlag_ = 1;
    Close();
  }
  return TRUE;
}

bool TForm1::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  switch (msg) {
    case WM_QUERYENDSESSION:
      result = ShutDownMessage();
      return true;
    case WM_ERASEBKGND: {
      RECT r = ClientRect();
      FillRect(reinterpret_cast<HDC>(w), &r, blueBrush_ ? blueBrush_ : GetSysColorBrush(COLOR_HIGHLIGHT));
      result = 1;
      return true;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(w);
      SetBkColor(dc, kWhite);
      SetTextColor(dc, reinterpret_cast<HWND>(l) == Label4.Handle() ? kGrey : GetSysColor(COLOR_WINDOWTEXT));
      result = reinterpret_cast<LRESULT>(whiteBrush_);
      return true;
    }
    default:
      return false;
  }
}
