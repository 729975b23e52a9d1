// The hidden main form in-process: its tray icon across a lost shell icon.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "client/CaptureState.h"
#include "client/Global.h"
#include "client/MainForm.h"
#include "tests/client/WineTestFiles.h"

namespace {

NOTIFYICONDATAA Record(HWND window) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window;
  data.uID = 1;
  return data;
}

bool IconExists(HWND window) {
  NOTIFYICONDATAA data = Record(window);
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void RemoveIconAsAShellRestartDoes(HWND window) {
  NOTIFYICONDATAA data = Record(window);
  Shell_NotifyIconA(NIM_DELETE, &data);
}

}  // namespace

TEST(MainFormTray, IconStartsBusyAndIsAddedAgainWhenTheShellLostIt) {
  TForm1 form;
  Form1 = &form;
  ASSERT_TRUE(form.Create(WS_OVERLAPPEDWINDOW, 0, 400, 300));
  EXPECT_TRUE(IconExists(form.Handle()));
  EXPECT_EQ(gTrayState, kTrayBusy);

  form.MODIFYIcon(kTrayNormal);
  EXPECT_EQ(gTrayState, kTrayNormal);
  EXPECT_TRUE(IconExists(form.Handle()));

  RemoveIconAsAShellRestartDoes(form.Handle());
  ASSERT_FALSE(IconExists(form.Handle()));
  form.MODIFYIcon(kTrayError);
  EXPECT_TRUE(IconExists(form.Handle()));
  EXPECT_EQ(gTrayState, kTrayError);

  // Once the program is closing no icon is added any more.
  form.DelIco();
  EXPECT_FALSE(IconExists(form.Handle()));
  gClosing = true;
  form.SetIco(kTrayNormal);
  EXPECT_FALSE(IconExists(form.Handle()));
  // A late capture message reaches no queue.
  gStartComplete = true;
  SendMessageA(form.Handle(), 1125, 42, 7);
  EXPECT_TRUE(gCaptureQueue.Empty());
  gClosing = false;
  SendMessageA(form.Handle(), 1125, 42, 8);
  EXPECT_EQ(gCaptureQueue.Size(), 1u);  // the same message is queued while running
  gCaptureQueue.Clear();
  gStartComplete = false;
  Form1 = nullptr;
  RemoveTree(gDataDir.substr(0, gDataDir.size() - 1));
}
