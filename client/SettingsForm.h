// The settings form "設定画面": shows the settings variables, checks and
// stores the user's changes and rewrites Kestro.ini; it also opens the hint
// page and starts a version-up through the updater.
#pragma once
#include <windows.h>

#include <string>

#include "client/ClientForm.h"
#include "forms/Button.h"
#include "forms/CheckBox.h"
#include "forms/ComboBox.h"
#include "forms/Control.h"
#include "forms/Edit.h"
#include "forms/FocusColour.h"
#include "forms/Label.h"
#include "forms/MessageFilter.h"
#include "forms/Panel.h"
#include "forms/StatusBar.h"

// Control ids of the form (its controls are children of the form, the
// three bar buttons children of imgBtnBar).
enum SettingsControlId {
  kSetIdButtonBar = 400,
  kSetIdUpdate,
  kSetIdHint,
  kSetIdClose,
  kSetIdDownLoad,
  kSetIdProject = 410,
  kSetIdTerminal,
  kSetIdStyle0,
  kSetIdStyle1,
  kSetIdShow0,
  kSetIdShow1,
  kSetIdSave,
  kSetIdServer,
  kSetIdUserId,
  kSetIdPasswd,
  kSetIdDir,
  kSetIdMoji0,
  kSetIdMoji1,
  kSetIdMoji,
  kSetIdBrushColor,
  kSetIdWakuColor,
  kSetIdWakuType,
  kSetIdWakuWidth,
  kSetIdMojiSize,
  kSetIdMojiColor,
  kSetIdYajiColor,
  kSetIdStatus,
};

class TForm2 : public ClientForm {
 public:
  TForm2();
  ~TForm2() override;

  // Creates the hidden form (550 x 680 client pixels, topmost).
  bool Create();
  // Shows the form, topmost, without moving or sizing it.
  void ShowSettings();

  bool fncInit();
  // Checks the controls in their fixed order and stores them; false after
  // the first failure (status "入力エラー" and a box) or an error.
  bool fncChkData();
  // Background and text colour of a colour list after its item.
  void fncChangeColor(const forms::ComboBox& list);

  void btnUpdateClick();
  void btnCloseClick();
  void btnHintClick();
  void btnDownLoadClick();
  void chkSaveClick();

  forms::Panel imgBtnBar;
  forms::Button btnUpdate, btnHint, btnClose, btnDownLoad;
  forms::ComboBox cboProject;
  forms::Edit txtTerminal;
  forms::Control optStyle0, optStyle1, optShow0, optShow1, optMoji0, OptMoji1;
  forms::CheckBox chkSave;
  forms::Edit txtServer, txtUseID, txtPasswd, txtDir, txtMoji, txtMojiSize;
  forms::ComboBox cmbBrushColor, cmbWakuColor, cmbWakuType, cmbWakuWidth, cmbMojiColor, cmbYajiColor;
  forms::StatusBar sbrMsg;

  static constexpr int kClientWidth = 550;
  static constexpr int kClientHeight = 680;
  static constexpr COLORREF kFocusColour = RGB(0xFF, 0xE8, 0xE8);  // $E8E8FF
  static constexpr COLORREF kBandColour = RGB(0x6A, 0x6A, 0xFF);   // $FF6A6A

  struct ListColours {
    COLORREF back;
    COLORREF text;
  };

 protected:
  void FormCreate() override;
  void FormShow() override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  // A control with the form's key and focus handling.
  struct Field {
    forms::MessageFilter filter;
    HWND control = nullptr;  // the control (the combo box for the project)
    HWND input = nullptr;    // the window that takes the keys and colours
    bool edit = false;       // Esc undoes; the focus colour applies
    bool enterMoves = true;  // Enter moves on (all but txtMoji, txtMojiSize)
    char keys = 0;           // 'S' server characters, 'N' digits only
  };

  void CreateControls();
  void CreateRadio(forms::Control& radio, const std::string& caption, int x, int y, int width, int id);
  void CreateColourList(forms::ComboBox& list, int x, int y, int id, const char* const* items, int count);
  void CreateLabel(const std::string& caption, int x, int y, int width, HFONT font);
  void AttachField(Field& field, HWND control, HWND input, bool edit, bool enterMoves, char keys = 0);
  bool KeyDown(Field& field, UINT msg, WPARAM key);
  bool txtServerKeyPress(WPARAM key) const;
  bool txtMojiSizeKeyPress(WPARAM key) const;
  void FocusEnter(const Field& field);
  void FocusExit(const Field& field);
  void MoveFocusOn(HWND from, bool back);
  void SetRadio(const forms::Control& on, const forms::Control& off) const;
  bool Checked(const forms::Control& radio) const;
  void EnableSaveFields(bool ftp) const;
  bool OnCommand(WORD id, WORD code, HWND control);
  bool DrawItem(const DRAWITEMSTRUCT& draw);
  void DrawButton(const DRAWITEMSTRUCT& draw);
  void DrawColourItem(const DRAWITEMSTRUCT& draw);
  void PaintBand(HDC dc);

  // Colours a colour list shows now; a list without a selection keeps them.
  struct ColourList {
    HWND list = nullptr;
    ListColours colours{};
  };
  ColourList* ColourListOf(HWND list);

  Field fields_[15];
  ColourList colourLists_[4];
  forms::FocusColour focus_{kFocusColour};
  HFONT font_ = nullptr, boldFont_ = nullptr, smallFont_ = nullptr, bandFont_ = nullptr, buttonFont_ = nullptr;
  HWND redBoldNote_ = nullptr, redSmallNote_ = nullptr;
};

extern TForm2* Form2;
