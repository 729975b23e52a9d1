// The list form: reports waiting in the local report store over a range of
// days, to be posted again, deleted or opened for viewing.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "forms/Animate.h"
#include "forms/DateTimePicker.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/MessageFilter.h"
#include "forms/Panel.h"
#include "forms/SpeedButton.h"
#include "forms/StatusBar.h"
#include "forms/StringGrid.h"

class TForm4 : public forms::Form {
 public:
  TForm4();
  ~TForm4() override;

  // Creates the window hidden (client area 738 x 524).
  bool Create();
  // Shows the form topmost and active.
  void ShowList();

  bool fncInit();
  bool fncGetList();
  bool fncFileShow();
  bool fncDelGrid(forms::StringGrid& grid, int row);

  void btnDispClick();
  void btnSendClick();
  void btnOpenClick();
  void grdListDblClick();
  void btnDeleteClick();
  void btnHintClick();
  void btnCloseClick();
  bool ShowAnimation();
  void HideAnimation();

  // Writes "一覧画面," + text to the syslog.
  void Log(const std::string& text) const;

  forms::Panel imgBtnBar1, imgBtnBar2, pnlDates;
  forms::SpeedButton btnSend, btnOpen, btnDelete, btnHint, btnClose, btnDisp;
  forms::Label lblRange, lblFindS, lblFindE;
  forms::DateTimePicker dtpFindS, dtpFindE;
  forms::StringGrid grdList;
  forms::StatusBar sbrMsg;
  forms::Panel pnlAnimate;
  forms::Label lblAnimate, progress;
  forms::Animate Animate1;

 protected:
  void FormCreate() override;
  void FormShow() override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  struct Picker {
    forms::MessageFilter filter;
    HWND control = nullptr;
  };

  void CreateControls();
  void SetUpGrid();
  void AttachPicker(Picker& picker, HWND control);
  bool KeyDown(UINT msg, WPARAM key, HWND control);
  void FocusEnter(Picker& picker);
  void FocusExit(Picker& picker);
  void grdListDrawCell(HDC dc, int col, int row, const RECT& rect, unsigned state);
  bool OnCommand(WORD id, WORD code);
  void ShowMessage(const std::string& text);
  // The grid holds only its one empty data row.
  bool GridEmpty() const;
  // Opens the row's file; false ends the run (the reason is on the status bar).
  bool OpenRow(int row);
  // The viewer's process for the command line, waited for; false when it
  // did not start.
  bool RunViewer(const std::string& commandLine, bool hidden);
  void RemoveRows(const std::vector<int>& rows);
  void BeginButtonWork(const std::string& logLine);

  Picker pickers_[2];
  HWND focused_ = nullptr;
  HBRUSH whiteBrush_ = nullptr, focusBrush_ = nullptr, barBrush_ = nullptr;
};

extern TForm4* Form4;
