// The spreadsheet options form: before each picture workbook the reviewer
// picks the output kind, the picture size limit, the name printed on the A4
// forms, the print orientation and the paste cell. Closing checks the input
// and stores it in the manager's settings; invalid input keeps it open.
#pragma once
#include <windows.h>

#include <string>

#include "forms/Button.h"
#include "forms/ComboBox.h"
#include "forms/Control.h"
#include "forms/Edit.h"
#include "forms/Label.h"
#include "forms/ModalForm.h"

// Settings of the picture workbook that are not saved.
extern int gPrintOrient;         // 1 portrait, 2 landscape, 0 none chosen; 2 at start
extern int gOutputKind;          // 1 to 5
extern std::string gTemplateNo;  // "00" to "03"

// A radio button of the kind group.
class KindButton : public forms::Control {
 public:
  bool Create(HWND parent, const std::string& caption, int x, int y, int width, int height, int id, bool first) {
    return Control::Create(parent, "BUTTON", caption,
                           WS_VISIBLE | BS_AUTORADIOBUTTON | (first ? WS_GROUP | WS_TABSTOP : 0), x, y, width,
                           height, id);
  }
  bool Checked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
  void SetChecked(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

class TForm3 : public forms::ModalForm {
 public:
  TForm3();
  ~TForm3() override;

  forms::Edit txtImageX, txtImageY;  // size limit
  forms::Edit txtTanName;            // name printed on the A4 forms
  forms::ComboBox cmbPrintOrient;    // "A4たて", "A4よこ"
  forms::Edit txtImagePos;           // paste cell
  KindButton rb1, rb2, rb3, rb4, rb5;
  forms::Button SpeedButton1;        // "確　定"
  forms::Label Label7;               // where the A4 templates lie

  // Checks the button of the kind (1 to 5); its click handler runs only
  // when the button was not checked before.
  void CheckKind(int kind);
  // The kind whose button is checked (1 when none is).
  int CheckedKind() const;

 protected:
  void FormCreate() override;
  void FormCloseQuery(bool& canClose) override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  void CreateControls();
  void rb1Click() { KindClick(1); }
  void rb2Click() { KindClick(2); }
  void rb3Click() { KindClick(3); }
  void rb4Click() { KindClick(4); }
  void rb5Click() { KindClick(5); }
  // A checked button presets the size limit and the orientation of its
  // kind; every click shows the kind's stored paste cell.
  void KindClick(int kind);
  void SpeedButton1Click();
  KindButton& Button(int kind);
  // The box of a refused input; the focus goes to the field to mend.
  void Refuse(const char* message, const forms::Edit& field);
  void PaintLayouts(HDC dc) const;
  bool ColourStatic(HWND control, HDC dc, LRESULT& result) const;

  int lastKind_ = 0;  // the kind whose click handler ran last
  HFONT font_ = nullptr, smallFont_ = nullptr;
  HBRUSH backBrush_ = nullptr;
  forms::Label labels_[6];
  forms::Label notes_[2];     // grey notes beside the paste cell
  forms::Label lines_[11];    // descriptive lines under the kinds
};

extern TForm3* Form3;
