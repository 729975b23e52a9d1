// The list form: reports waiting in the local report store over a range of
// days, to be posted again, deleted or opened for viewing.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "client/ClientForm.h"
#include "client/PostAnimation.h"
#include "forms/Animate.h"
#include "forms/DateTimePicker.h"
#include "forms/FocusColour.h"
#include "forms/Label.h"
#include "forms/MessageFilter.h"
#include "forms/Panel.h"
#include "forms/SpeedButton.h"
#include "forms/StatusBar.h"
#include "forms/StringGrid.h"

class TForm4 : public ClientForm {
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
  void grdListDrawCell(HDC dc, int col, int row, const RECT& rect, unsigned state);
  bool OnCommand(WORD id, WORD code);
  // The grid holds only its one empty data row.
  bool GridEmpty() const;
  // Opens the row's file; false ends the run (the reason is on the status bar).
  bool OpenRow(int row);
  // The viewer's process for the command line, waited for until it ends or
  // the program does; false when it did not start.
  bool RunViewer(const std::string& commandLine, bool hidden);
  // Asked to close, by the user, the session's end or a version-up.
  static bool ProgramEnding();
  void RemoveRows(const std::vector<int>& rows);
  void BeginButtonWork(const std::string& logLine);

  static constexpr COLORREF kFocusColour = RGB(0xFF, 0xE8, 0xE8);  // $E8E8FF

  Picker pickers_[2];
  forms::FocusColour focus_{kFocusColour};
  PostAnimation animation_{pnlAnimate, lblAnimate, progress, Animate1};
};

extern TForm4* Form4;
