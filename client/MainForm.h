// The hidden main form of the client: start-up, tray icon and tray menu.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "forms/Bitmap.h"
#include "forms/Button.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/Memo.h"
#include "forms/PopupMenu.h"
#include "forms/Timer.h"
#include "forms/TrayIcon.h"

class TForm1 : public forms::Form {
 public:
  TForm1();
  ~TForm1() override;

  // Tray icon in state 0 normal, 1 error, 2 busy.
  void SetIco(int state);
  void MODIFYIcon(int state);
  void DelIco();

  // Writes "Kestro," + message to the syslog.
  void Log(const std::string& message) const;

  // Capture hand-off (MainFormCapture.cpp).
  bool fncInit();
  void WMSnapChot(WPARAM w, LPARAM l);
  void tmrEventTimer();
  int fncSetTemp();
  bool fncDeleteTemp();
  bool fncReadFile();
  // Ticks that a missing capture file may block the queue before it is given up.
  static constexpr int kMissingCaptureTicks = 20;

  // The capture timer; switched on by the program block once every form exists.
  forms::Timer tmrEvent;
  forms::Memo memDebug;

 protected:
  void FormCreate() override;
  void FormCloseQuery(bool& canClose) override;
  void FormClose() override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  void CreateControls();
  void FillTrayRecord(int state);
  void WMNotifyMessage(LPARAM mouseMessage);
  LRESULT ShutDownMessage();
  void ReleaseLists();
  void DropCurrentCapture(bool deleteFile);
  // Queues the capture files an earlier run left in the work folder, oldest first.
  void QueueLeftCaptures();
  void DebugLine(const std::string& line);

  bool fncSetPopup();
  void itmMeasureItem(const forms::PopupMenu::Item& item, MEASUREITEMSTRUCT& measure);
  void itmDrawItem(const forms::PopupMenu::Item& item, const DRAWITEMSTRUCT& draw);
  void ShowError(const std::string& message);

  void itmSetteiClick();
  void itmListClick();
  void itmHintClick();
  void itmCancelClick();
  void itmEndClick();
  void btnClearClick();

  HICON imgIcon1 = nullptr, imgIcon2 = nullptr, imgIcon3 = nullptr;
  forms::PopupMenu pmnIcon;
  forms::TrayIcon trayRecord_;
  bool trayAdded_ = false;
  std::unique_ptr<forms::Bitmap> banner_;
  HFONT menuFont_ = nullptr;
  HMODULE hookLibrary_ = nullptr;
  std::string lastCleanUpDay_;
  bool captureWaitLogged_ = false;  // the wait of the queue's head for a store operation
  forms::Button btnClear;
  forms::Label lblFull, lblActive;
};

extern TForm1* Form1;
