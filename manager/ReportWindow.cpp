#include "manager/ReportWindow.h"

#include "common/ExceptionText.h"
#include "forms/Application.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerUtilities.h"
#include "transfer/TTmxFtp.h"

TForm1* Form1 = nullptr;

namespace {

constexpr int kClientWidth = 1016;
constexpr int kClientHeight = 703;

}  // namespace

TForm1::TForm1() : Form("TForm1", "ケストロ管理画面（KestroMgr）") {}

void TForm1::FormCreate() {
  gSearched = 0;
  gShutdown = 0;
  gServerRoot = kStoreRoot;
  fncWriteSysLog("Form1起動");
  fncWriteSysLog(gMgr.server + ";" + gMgr.user + ";" + gMgr.password + ";" + gMgr.BASEDATE);
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
  Move(0, 0, frame.right - frame.left, frame.bottom - frame.top);
  try {
    fncCleanUpSysLog("????????.txt", gMgr.VALIDDAY);
    fncCleanUpSysLog("FTP????????.txt", gMgr.VALIDDAY);
  } catch (...) {
    fncWriteSysLog("Clean up syslog ERROR=" + ExceptionMessage());  // VALIDDAY is not a number
  }
  fncCleanUpTemp();
}

void TForm1::FormShow() {
  SetText(Caption());
  if (TmxFtp) {
    TmxFtp->host = gMgr.server;
    TmxFtp->userid = gMgr.user;
    TmxFtp->passwd = gMgr.password;
    TmxFtp->TimeOut = kManagerTimeOut;
  }
  fncWriteSysLog(Caption());
}

void TForm1::FormClose() {
  fncCleanUpTemp();
  forms::Application::Instance().Terminate();
}

bool TForm1::HandleMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
  if (msg == WM_QUERYENDSESSION) {
    gShutdown = 1;
    fncWriteSysLog("Shutdown要求取得");
  }
  return false;  // the default processing answers that Windows may go on
}
