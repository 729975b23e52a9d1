// The registration form: turns the current capture into a report. It shows
// a preview of the capture, takes the report's fields in one of two layouts
// (image style or report style, setting STYLE), and saves and posts the
// report. The object lives for the whole run; the capture timer uses its
// fetch and post operations while it is hidden.
#pragma once
#include "client/ReportPosting.h"  // first: it brings winsock2.h before windows.h

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "client/ClientForm.h"
#include "client/PostAnimation.h"
#include "client/RegistrationHandoff.h"
#include "forms/Animate.h"
#include "forms/Button.h"
#include "forms/ComboBox.h"
#include "forms/Edit.h"
#include "forms/FocusColour.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/Memo.h"
#include "forms/MessageFilter.h"
#include "forms/Panel.h"
#include "forms/Picture.h"
#include "forms/StatusBar.h"
#include "forms/ToolTip.h"

class TTmxFtp;

class TForm3 : public ClientForm, public RegistrationHandoff {
 public:
  explicit TForm3(TTmxFtp& ftp);
  ~TForm3() override;

  // Creates the window (hidden) and runs FormCreate with the start-time
  // fetches of downloader.ini and the project list.
  bool Create();

  // RegistrationHandoff: what the capture timer uses.
  int fncGetProject() override;
  PostOutcome fncSendFile(bool saveFirst) override;
  bool IsShown() const override { return IsVisible(); }
  bool StoreBusy() const override { return poster_.Busy(); }
  void ShowForCapture() override;

  // Store operations, forwarded to the poster (overridable for tests).
  virtual bool fncSendFile(bool saveFirst, std::string& folder, std::string& name);
  virtual bool fncGetDownloder();
  virtual bool fncSaveFile(std::string& folder, std::string& name);
  ReportPoster& Poster() { return poster_; }

  bool fncInit();
  // Layout of the current STYLE; also called by the settings form.
  bool fncPosSet();
  // Checks the fields of the current layout and stores them.
  bool fncChkData();

  void btnSendClick();
  void btnSaveClick();
  void btnHintClick();
  void btnCloseClick();
  void DblClick();
  bool ShowAnimation();
  void HideAnimation();

  // Loads the capture file into the held picture and fits the preview into
  // its 400 x 300 box (also after the picture editor saved the capture).
  // Throws std::runtime_error when the file holds no readable picture.
  bool LoadPreview();
  forms::Picture& PreviewPicture() { return picture_; }

  // Controls, named as on the form.
  forms::Panel imgBtnBar;
  forms::Button btnSend, btnSave, btnHint, btnClose;
  forms::Label Label15;
  forms::Panel pnl1, pnl2, pnl3;
  forms::Image imgVew;
  forms::ComboBox cboProject, cboProject2;
  forms::Edit txtPresen, txtOutbreak, txtPc, txtPc2, txtTitle, txtTitle2;
  forms::Memo memDetails, memOperation;
  forms::StatusBar sbrMsg;
  forms::Panel pnlAnimate;
  forms::Label lblAnimate, progress;
  forms::Animate Animate1;

  static constexpr int kPreviewWidth = 400;
  static constexpr int kPreviewHeight = 300;
  static constexpr COLORREF kFocusColour = RGB(0xFF, 0xE8, 0xE8);  // $E8E8FF

 protected:
  void FormCreate() override;
  void FormShow() override;
  void FormCloseQuery(bool& canClose) override;
  void FormClose() override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  // A field of the form with its key and focus handling.
  struct Field {
    forms::MessageFilter filter;
    HWND control = nullptr;  // the field (the combo box for a combo)
    HWND input = nullptr;    // the window that takes the keys and colours
    enum class Kind { Edit, Memo, Combo } kind = Kind::Edit;
  };

  void CreateControls();
  void CreateImageStyleFields();
  void CreateReportStyleFields();
  void AttachField(Field& field, HWND control, Field::Kind kind, HWND input = nullptr);
  bool KeyDown(Field& field, UINT msg, WPARAM key);
  bool txtTitleKeyPress(WPARAM key);
  // Text the input method commits into txtTitle2 keeps to the same limit.
  bool txtTitleImeResult(LPARAM flags, LRESULT& result);
  // Alt+F4 is swallowed by every control of the form, not only its fields.
  void GuardAltF4();
  void memChange(const forms::Memo& memo);
  int MemoLineLimit(HWND memo) const;
  bool SetMemoText(const Field& field, LPARAM text, LRESULT& result);
  void MoveFocusOn(HWND from);
  void SetStatusPanels();
  void SetOuterWidth(int width);
  void FillProjectList(const forms::ComboBox& combo);
  // Disables the form for a button's work, repaints the bar, logs the line
  // and clears status panel 0.
  void BeginButtonWork(const std::string& logLine);
  LRESULT ShutDownMessage(WPARAM w, LPARAM l);
  bool OnCommand(WORD id, WORD code);

  ReportPoster poster_;
  forms::Picture picture_;
  forms::ToolTip imgVewHint_;
  Field fields_[10];
  std::vector<std::unique_ptr<forms::MessageFilter>> altF4Guards_;
  forms::Label imageCaptions_[3], reportCaptions_[7];
  forms::FocusColour focus_{kFocusColour};
  PostAnimation animation_{pnlAnimate, lblAnimate, progress, Animate1};
  bool changingMemo_ = false;
  std::string shownCapture_;  // the capture of this showing, until it is dropped
  bool shownSaved_ = false;   // its report was saved in this showing
};

extern TForm3* Form3;
