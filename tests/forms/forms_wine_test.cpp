#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/ImageView.h"
#include "forms/MessageBox.h"
#include "forms/Panel.h"
#include "forms/Timer.h"

TEST(WineEnvironment, AnsiCodePageIs932) { EXPECT_EQ(GetACP(), 932u); }

TEST(SingleInstance, SecondClaimOfTheSameNameFails) {
  EXPECT_TRUE(forms::AcquireSingleInstance("KestroFormsTestMutex"));
  EXPECT_FALSE(forms::AcquireSingleInstance("KestroFormsTestMutex"));
}

TEST(MessageBoxRoutine, UnderTestTheBoxIsRecordedAndAnswered) {
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  std::string log = std::string(path) + "kestro_msgbox_test.txt";
  DeleteFileA(log.c_str());
  SetEnvironmentVariableA("KESTRO_MSGBOX_LOG", log.c_str());
  _putenv_s("KESTRO_MSGBOX_LOG", log.c_str());
  _putenv_s("KESTRO_MSGBOX_REPLY", "");
  EXPECT_EQ(forms::ShowMessageBox(nullptr, "続行しますか？", "確認", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  EXPECT_EQ(forms::ShowMessageBox(nullptr, "x", "y", MB_OK), IDOK);
  _putenv_s("KESTRO_MSGBOX_REPLY", "OK");
  EXPECT_EQ(forms::ShowMessageBox(nullptr, "x", "y", MB_OKCANCEL | MB_DEFBUTTON2), IDOK);
  _putenv_s("KESTRO_MSGBOX_LOG", "");
  _putenv_s("KESTRO_MSGBOX_REPLY", "");
  std::ifstream in(log, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  std::string expected = std::string("確認\t続行しますか？\t") + std::to_string(MB_OKCANCEL | MB_DEFBUTTON2) + "\r\n";
  EXPECT_EQ(all.str().substr(0, expected.size()), expected);
  DeleteFileA(log.c_str());
}

namespace {
class CountingForm : public forms::Form {
 public:
  CountingForm() : Form("TKestroTestForm", "test") {}
  bool allowClose = true;
  int closeQueries = 0, closes = 0;

 protected:
  void FormCloseQuery(bool& canClose) override { ++closeQueries; canClose = allowClose; }
  void FormClose() override { ++closes; }
};
}  // namespace

TEST(FormAndTimer, TimerTicksWhileMessagesAreProcessedAndCloseAsksFirst) {
  CountingForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(FindWindowA("TKestroTestForm", "test"), form.Handle());
  forms::Timer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetInterval(10);
  timer.SetEnabled(true);
  DWORD start = GetTickCount();
  while (ticks < 3 && GetTickCount() - start < 3000) {
    Sleep(1);
    forms::Application::Instance().ProcessMessages();
  }
  timer.SetEnabled(false);
  EXPECT_GE(ticks, 3);

  form.allowClose = false;
  form.Send(WM_CLOSE);
  EXPECT_EQ(form.closeQueries, 1);
  EXPECT_EQ(form.closes, 0);
  form.allowClose = true;
  form.Send(WM_CLOSE);
  EXPECT_EQ(form.closes, 1);
}

namespace {
// Records what its custom controls tell it and gives them a green background.
class ParentForm : public forms::Form {
 public:
  ParentForm() : Form("TKestroControlsTestForm", "controls") {}
  std::vector<std::pair<int, int>> commands;  // id, code
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  ~ParentForm() override { DeleteObject(green); }

 protected:
  bool HandleMessage(UINT msg, WPARAM w, LPARAM, LRESULT& result) override {
    if (msg == WM_COMMAND) commands.emplace_back(LOWORD(w), HIWORD(w));
    if (msg != WM_CTLCOLORSTATIC) return msg == WM_COMMAND;
    result = reinterpret_cast<LRESULT>(green);
    return true;
  }
};

COLORREF PixelOf(HWND control, int x, int y) {
  UpdateWindow(control);
  HDC dc = GetDC(control);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(control, dc);
  return colour;
}
}  // namespace

TEST(CustomControls, PanelImageAndImageViewPaintAndReportThroughTheirParent) {
  ParentForm form;
  ASSERT_TRUE(form.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 400, 300));
  forms::Panel panel;
  ASSERT_TRUE(panel.Create(form, "", 0, 0, 200, 200, 10));
  HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 150, 150, 40, 20, panel,
                                reinterpret_cast<HMENU>(11), GetModuleHandleA(nullptr), nullptr);
  forms::Image image;
  ASSERT_TRUE(image.Create(panel, 10, 10, 60, 60, 12));
  // Two red pictures: a bitmap for the image, a memory DC for the view.
  HDC screen = GetDC(nullptr);
  HBITMAP red = CreateCompatibleBitmap(screen, 20, 20), shown = CreateCompatibleBitmap(screen, 20, 20);
  ReleaseDC(nullptr, screen);
  HDC memory = CreateCompatibleDC(nullptr);
  RECT all{0, 0, 20, 20};
  HBRUSH redBrush = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(memory, red);
  FillRect(memory, &all, redBrush);
  SelectObject(memory, shown);
  FillRect(memory, &all, redBrush);
  image.SetBitmap(red, 20, 20);  // centred: 20..40 of 60
  forms::ImageView view;
  ASSERT_TRUE(view.Create(form, 250, 10, 13));
  view.SetPicture(memory, 20, 20);
  std::vector<std::string> mouse;
  view.OnMouseDown = [&](forms::MouseButton b, int x, int y) {
    mouse.push_back("down " + std::to_string(static_cast<int>(b)) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  view.OnMouseUp = [&](forms::MouseButton, int x, int y) { mouse.push_back("up " + std::to_string(x) + "," + std::to_string(y)); };

  EXPECT_EQ(PixelOf(image, 30, 30), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(image, 5, 5), RGB(0, 255, 0));   // the parent's brush around the picture
  EXPECT_EQ(PixelOf(panel, 100, 100), RGB(0, 255, 0));
  EXPECT_EQ(PixelOf(view, 10, 10), RGB(255, 0, 0));
  EXPECT_EQ(view.ClientRect().right, 20);

  SendMessageA(button, BM_CLICK, 0, 0);   // a child of the panel: handed on to the form
  image.Send(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
  panel.Send(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(form.commands, (std::vector<std::pair<int, int>>{{11, BN_CLICKED}, {12, STN_DBLCLK}, {10, STN_DBLCLK}}));

  view.Send(WM_RBUTTONDOWN, 0, MAKELPARAM(3, 4));
  EXPECT_EQ(GetCapture(), view.Handle());
  view.Send(WM_RBUTTONUP, 0, MAKELPARAM(-2, 7));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(mouse, (std::vector<std::string>{"down 1 3,4", "up -2,7"}));

  panel.Destroy();  // the image goes with it and is no longer reached
  EXPECT_FALSE(IsWindow(image));
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(red);
  DeleteObject(shown);
  DeleteObject(redBrush);
}
