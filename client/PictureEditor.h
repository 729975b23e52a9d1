// The picture editor "プレビュー": marks up the picture of the current
// capture (mask, check icon, numbered icon, frame, framed text, arrow,
// crop), with up to five undo steps, and on a confirmed close writes it
// back over the capture file.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "client/EditorPicture.h"
#include "client/portable/EditorGeometry.h"
#include "client/portable/EditorUndo.h"
#include "forms/ImageView.h"
#include "forms/ModalForm.h"
#include "forms/PopupMenu.h"
#include "forms/ToolTip.h"

class TForm5 : public forms::ModalForm {
 public:
  enum Tool { kMask = 1, kCheckIcon, kNumberedIcon, kFrame, kFramedText, kArrow, kCrop };
  // Positions of the items of pm1.
  enum MenuIndex {
    kItemN1 = 0, kItemN2 = 1, kItemN3 = 2, kItemN10 = 4, kItemN12 = 5, kItemN13 = 6, kItemN15 = 8,
    kItemN11 = 10, kItemN5 = 11, kItemN7 = 13, kItemN8 = 14, kMenuItems = 15
  };

  TForm5();
  bool Create();

  // Opens the editor modally on the picture of the capture file. When the
  // file holds no picture the user is told so and false is returned.
  bool OpenFor(HWND owner, const std::string& capturePath);
  // Called after a confirmed close has replaced the capture file: the
  // registration form refits its preview from that file (FitPreview).
  std::function<void(const std::string& savedPath)> OnSaved;
  // Item 14: shows the settings form modelessly, topmost.
  std::function<void()> OnShowSettings;

  // Loads the capture as the picture to edit and as the picture that undo
  // all brings back; false with a message when it is not readable.
  bool LoadCapture(const std::string& capturePath, std::string* error);

  void imgVewMouseDown(forms::MouseButton button, int x, int y);
  void imgVewMouseMove(int x, int y);
  void imgVewMouseUp(forms::MouseButton button, int x, int y);
  void N1Click() { SelectTool(kMask); }
  void N2Click() { SelectTool(kCheckIcon); }
  void N3Click() { SelectTool(kNumberedIcon); }
  void N10Click() { SelectTool(kFrame); }
  void N12Click() { SelectTool(kFramedText); }
  void N13Click() { SelectTool(kArrow); }
  void N15Click() { SelectTool(kCrop); }
  void N11Click();
  void N5Click();
  void N7Click();
  void N8Click();
  // Pushes an undo snapshot of the picture shown; throws on failure.
  void fncBackupImage();

  int CurrentTool() const { return tool_; }
  int UndoCount() const { return undo_.Count(); }
  int SerialNumber() const { return serial_; }
  EditorPoint PressPoint() const { return press_; }
  bool SaveOnClose() const { return saveOnClose_; }
  const EditorPicture& Picture() const { return picture_; }
  bool ItemEnabled(int index) const;
  std::string ItemCaption(int index) const;
  const std::string& Hint() const { return hint_; }
  bool BandShown() const { return imgVew.BandShown(); }

  forms::ImageView imgVew;
  forms::PopupMenu pm1;

 protected:
  void FormCreate() override;
  void FormShow() override;
  void FormCloseQuery(bool& canClose) override;
  void FormClose() override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;
  // Opens pm1 at a screen point (tests replace it).
  virtual void PopupMenuAt(POINT screen);

 private:
  struct DrawSettings;

  void CreateMenu();
  void SelectTool(int tool);
  void SetItemEnabled(int index, bool enabled);
  void SetSerialCaption();
  void ShowPicture();
  void UpdateScrollBars();
  void Scroll(int bar, int request);
  bool Ask(const std::string& text, const std::string& caption) const;
  void ShowError(const std::string& message) const;

  // The edit sequence shared by the tools.
  void RunTool(EditorPoint release);
  bool Confirm(int tool) const;
  void Edit(const std::function<void(EditorPicture&)>& draw);
  void Crop(const EditorRect& area);
  void StampNumberedIcon(EditorPicture& work, EditorPoint at);
  void DrawFramedText(EditorPicture& work, EditorPoint release, const DrawSettings& settings) const;

  void SaveCapture();

  EditorPicture picture_;  // shown by imgVew
  EditorPicture opening_;  // the picture as the editor opened
  EditorPicture checkIcon_, lensIcon_;
  EditorUndo undo_;
  std::string capturePath_;
  int tool_ = kMask;
  int serial_ = 1;
  EditorPoint press_{-1, -1};
  bool mouseDown_ = false;
  bool saveOnClose_ = false;
  std::array<UINT, kMenuItems> itemIds_{};
  std::string hint_;
  forms::ToolTip hintTip_;
  int scrollX_ = 0, scrollY_ = 0;
};

extern TForm5* Form5;
