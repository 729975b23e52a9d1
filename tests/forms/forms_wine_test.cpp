#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/MessageBox.h"
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
