// A top-level window whose events are virtual methods.
#pragma once
#include <string>

#include "forms/Window.h"

namespace forms {

class Form : public Window {
 public:
  Form(std::string className, std::string caption);
  ~Form() override;

  // Creates the window (hidden unless style has WS_VISIBLE) and runs FormCreate.
  bool Create(DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0, int width = 400, int height = 300);

  const std::string& ClassName() const { return className_; }
  const std::string& Caption() const { return caption_; }

  // Asks FormCloseQuery, then runs FormClose and hides the form; closing the
  // main form ends the application.
  bool Close();
  void CenterOnScreen();
  void BringToTop() const { SetPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

 protected:
  virtual void FormCreate() {}
  virtual void FormCloseQuery(bool& canClose) { (void)canClose; }
  virtual void FormClose() {}
  virtual void FormShow() {}
  // Any other message; return true when handled, with result set.
  virtual bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM w, LPARAM l);
  bool RegisterClassOnce();

  std::string className_;
  std::string caption_;
  bool closing_ = false;
};

}  // namespace forms
