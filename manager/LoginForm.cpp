#include "manager/LoginForm.h"

#include <windows.h>

#include "common/FileSystem.h"
#include "common/ViewerLookup.h"
#include "forms/Application.h"
#include "forms/InputMethod.h"
#include "forms/MessageBox.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerWork.h"
#include "manager/ReportWindow.h"
#include "manager/portable/ManagerSettingsRules.h"
#include "transfer/FtpLog.h"
#include "transfer/TTmxFtp.h"

TForm2* Form2 = nullptr;

namespace {

enum ControlId { kServerId = 101, kUserId, kPasswordId, kLoginId, kCancelId, kBusyId };

constexpr int kClientWidth = 330;
constexpr int kClientHeight = 170;
constexpr char kUpdaterIni[] = "downloader.ini";
constexpr char kTempFile[] = "tempFile.tmp";

void ShowFtpBox(HWND owner, const char* text) { forms::ShowMessageBox(owner, text, "TmxFTP", MB_OK); }

}  // namespace

TForm2::TForm2() : Form("TForm2", "ケストロ管理ツールログイン") {}

void TForm2::CreateControls() {
  const HWND self = Handle();
  labelServer_.Create(self, "接続先", 16, 19, 100, 18);
  labelUser_.Create(self, "FTPユーザー名", 16, 53, 100, 18);
  labelPassword_.Create(self, "パスワード", 16, 87, 100, 18);
  ComboBox1.Create(self, 120, 16, 190, 160, kServerId, CBS_DROPDOWN | CBS_SORT);
  ComboBox1.SetLimitText(64);
  Edit1.Create(self, 120, 50, 190, 22, kUserId);
  Edit1.SetLimitText(32);
  MaskEdit1.Create(self, 120, 84, 190, 22, kPasswordId, ES_PASSWORD);
  MaskEdit1.Send(EM_SETPASSWORDCHAR, '*');
  MaskEdit1.SetLimitText(32);
  SpeedButton1.Create(self, "ログイン", 120, 124, 90, 28, kLoginId);
  SpeedButton2.Create(self, "キャンセル", 220, 124, 90, 28, kCancelId);
  Panel1.Create(self, "", 40, 40, 250, 70, kBusyId, WS_BORDER);
  static_cast<forms::Control&>(labelBusy_)
      .Create(Panel1.Handle(), "STATIC", "ログイン処理中です", WS_VISIBLE | SS_CENTER, 10, 25, 228, 18, -1);
  SetWindowPos(Panel1.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  Edit1.OnKeyPress = [this](char& key) { Edit1KeyPress(key); };
  MaskEdit1.OnKeyPress = [this](char& key) { MaskEdit1KeyPress(key); };
  comboEdit_.OnMessage = [this](UINT msg, WPARAM w, LPARAM, LRESULT& result) {
    if (msg != WM_CHAR) return false;
    char key = static_cast<char>(w);
    ComboBox1KeyPress(key);
    result = 0;
    return key == 0;
  };
  comboEdit_.Attach(ComboBox1.EditHandle());
}

void TForm2::FormCreate() {
  CreateControls();
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
  Move(0, 0, frame.right - frame.left, frame.bottom - frame.top);
  CenterOnScreen();

  gShutdown = 0;
  gSearched = 0;
  FixManagerFolders();
  ftpLogDir = gDataDir;
  ftpVariant = transfer::FtpVariant::Manager;
  fncWriteSysLog("ログイン画面起動");
  fncWriteSysLog("AppData=" + gDataDir);
  fncWriteSysLog("MyDoc=" + gMyDocDir);

  const LoginChoices choices = ReadManagerSettings(ManagerIniAccess(), gDataDir, gMyDocDir, gMgr);
  if (choices.defaultStore) ForceDirectories(gMgr.FILESAVEPATH);
  ComboBox1.Clear();
  for (const std::string& server : choices.servers) ComboBox1.Add(server);
  ComboBox1.SetText(choices.server);
  Edit1.SetText(choices.user);
  MaskEdit1.SetText("");
  ComboBox1.Enable(choices.fieldsEnabled);
  Edit1.Enable(choices.fieldsEnabled);
  MaskEdit1.Enable(choices.fieldsEnabled);
  for (HWND field : {ComboBox1.EditHandle(), Edit1.Handle(), MaskEdit1.Handle()})
    forms::SetInputMethodOpen(field, false);
}

void TForm2::FormShow() {
  // Go.bat asks the command interpreter for the viewer commands.
  fncSetRelay(gDataDir, kWorkFolder, nullptr);
}

std::vector<std::string> TForm2::ServerList() const {
  std::vector<std::string> list;
  const int count = ComboBox1.Count();
  for (int i = 0; i < count; ++i) {
    const LRESULT length = ComboBox1.Send(CB_GETLBTEXTLEN, i);
    if (length < 0) continue;
    std::string item(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = ComboBox1.Send(CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
    item.resize(got < 0 ? 0 : static_cast<size_t>(got));
    list.push_back(item);
  }
  return list;
}

void TForm2::Repaint() const {
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TForm2::EndBusy() {
  Panel1.Show(SW_HIDE);
  Enable(true);
}

void TForm2::SpeedButton1Click() {
  ManagerWork login("ログイン");
  if (!login) return;
  gMgr.password = MaskEdit1.Text();
  gMgr.server = ComboBox1.Text();
  gMgr.user = Edit1.Text();
  fncWriteSysLog("ログイン開始," + gMgr.server + "," + gMgr.user);
  const bool ftp = gMgr.SAVE == 1;
  if (ftp && gMgr.server.empty()) {
    ShowFtpBox(Handle(), "FTPサーバーのIPアドレスが指定されていません。");
    return;
  }
  if (ftp && gMgr.user.empty()) {
    ShowFtpBox(Handle(), "FTPサーバーにアクセスするためのログインIDが指定されていません。");
    return;
  }
  TmxFtp->host = gMgr.server;
  TmxFtp->userid = gMgr.user;
  TmxFtp->passwd = gMgr.password;
  TmxFtp->TimeOut = kManagerTimeOut;

  Panel1.Show(SW_SHOW);
  Enable(false);
  Repaint();
  if (ftp && TmxFtp->FtpLogin() < 0) {
    fncWriteSysLog("切断開始21");
    TmxFtp->FtpDisconnect();
    ShowFtpBox(Handle(), "FTPサーバーにログインできませんでした。");
    EndBusy();
    fncWriteSysLog("ログイン失敗");
    Repaint();
    return;
  }
  FetchUpdaterSettings();

  RememberLogin(ManagerIniAccess(), ServerList(), ComboBox1.Text(), Edit1.Text());
  gMgr.server = ComboBox1.Text();
  gMgr.user = Edit1.Text();
  gMgr.password = MaskEdit1.Text();
  fncWriteSysLog("ログイン成功");
  EndBusy();
  Show(SW_HIDE);
  if (Form1) Form1->Show(SW_SHOW);
}

void TForm2::FetchUpdaterSettings() {
  const std::string work = WorkFolderPath();
  const std::string temp = work + kTempFile;
  ForceDirectories(work);
  DeleteFileA(temp.c_str());
  bool fetched;
  if (gMgr.SAVE == 1) {
    TmxFtp->filename = "/" + gServerRoot + "/" + kUpdaterIni;
    TmxFtp->localFileName = temp;
    fetched = TmxFtp->FtpDownload() == 0;
  } else {
    const std::string source = gMgr.FILESAVEPATH + kUpdaterIni;
    fetched = FileExists(source) && CopyFileA(source.c_str(), temp.c_str(), FALSE) != FALSE;
  }
  // Without a store copy the local file stays as it is.
  if (fetched && !CopyFileA(temp.c_str(), (gExeDir + kUpdaterIni).c_str(), FALSE))
    fncWriteSysLog("Downloader.iniファイル書き込み失敗。");
  DeleteFileA(temp.c_str());
  if (gMgr.SAVE == 1) {
    fncWriteSysLog("切断開始22");
    TmxFtp->FtpDisconnect();
  }
}

void TForm2::SpeedButton2Click() {
  if (ManagerWork::RefuseClose()) return;
  Close();
  if (Form1) Form1->Close();
  forms::Application::Instance().Terminate();
}

// The program ends with this form: never under work, which would go on
// without its windows. A shutdown or the version-up ends it all the same.
void TForm2::FormCloseQuery(bool& canClose) {
  if (gShutdown != 1 && ManagerWork::RefuseClose()) canClose = false;
}

void TForm2::ComboBox1KeyPress(char& key) {
  if (key != '\r') return;
  key = 0;
  Edit1.SetFocus();
}

void TForm2::Edit1KeyPress(char& key) {
  if (key != '\r') return;
  key = 0;
  MaskEdit1.SetFocus();
}

void TForm2::MaskEdit1KeyPress(char& key) {
  if (key != '\r') return;
  key = 0;
  ComboBox1.SetFocus();
}

void TForm2::ShutDownMessage() {
  gShutdown = 1;
  fncWriteSysLog("Shutdown要求取得");
}

bool TForm2::HandleMessage(UINT msg, WPARAM w, LPARAM, LRESULT& result) {
  switch (msg) {
    case WM_QUERYENDSESSION:
      ShutDownMessage();
      return false;  // the default processing answers that Windows may go on
    case WM_ENDSESSION:
      if (!w) gShutdown = 0;  // cancelled: the next exit asks again
      return false;
    case WM_COMMAND:
      if (HIWORD(w) != BN_CLICKED) return false;
      if (LOWORD(w) == kLoginId) {
        SpeedButton1Click();
      } else if (LOWORD(w) == kCancelId) {
        SpeedButton2Click();
      } else {
        return false;
      }
      result = 0;
      return true;
    default:
      return false;
  }
}
