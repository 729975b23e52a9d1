// What the client's topmost working forms (registration, settings, list)
// share: creation by client size, the white background with its button
// bar colour, the log line with the form's caption, the message box, the
// busy state of a button's work and the status panels.
#pragma once
#include <windows.h>

#include <string>

#include "forms/Form.h"
#include "forms/StatusBar.h"

class ClientForm : public forms::Form {
 public:
  ClientForm(std::string className, std::string caption, COLORREF barColour);
  ~ClientForm() override;
  ClientForm(const ClientForm&) = delete;
  ClientForm& operator=(const ClientForm&) = delete;

  // Writes "<caption>," + text to the syslog.
  void Log(const std::string& text) const;

 protected:
  // Creates the hidden form, captioned with a system menu and topmost, its
  // client area width x height; FormCreate runs inside.
  bool CreateForClient(int width, int height);
  // WM_ERASEBKGND: the client area in white.
  void EraseWhite(HDC dc) const;
  // A static control's background: the bar colour on the button bar, white
  // elsewhere; the brush to return.
  LRESULT ColourStatic(HDC dc, bool onBar) const;
  HBRUSH WhiteBrush() const { return whiteBrush_; }
  HBRUSH BarBrush() const { return barBrush_; }
  // An OK box with the program's title, topmost.
  void ShowMessage(const std::string& text);
  // Disables the form for a button's work and repaints the button bar at
  // once, so that its buttons show the state; logs the line unless empty.
  void BeginWork(const forms::Window& bar, const std::string& logLine);
  // Panel 0 empty, the version centred in panel 1 (50 pixels) and the
  // notice right-aligned in panel 2 (the last 220 pixels).
  static void ShowVersionPanels(const forms::StatusBar& bar, const char* notice);

 private:
  COLORREF barColour_;
  HBRUSH whiteBrush_;
  HBRUSH barBrush_;
};
