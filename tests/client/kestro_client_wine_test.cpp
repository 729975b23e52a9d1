// Starts the built Kestro.exe and drives it from outside, as the shell would.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <string>

#include "snaptrap/SnapTrap.h"
#include "tests/client/KestroProcessSupport.h"
#include "tests/client/WineTestFiles.h"

namespace {

constexpr UINT kTrayMessage = 1126;

// Unbuffered, so that the progress shows even when the run is cut short.
const int kUnbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0);

// The hook library's call log ends with the StopHook of the close.
bool EndsWithStopHook(const std::string& callLog) {
  const std::string text = ReadAll(callLog), last = "StopHook\r\n";
  return text.size() >= last.size() && text.compare(text.size() - last.size(), last.size(), last) == 0;
}

class KestroProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    hookLog_ = std::string(temp) + "kestro_client_hook.txt";
    boxLog_ = std::string(temp) + "kestro_client_boxes.txt";
    DeleteFileA(hookLog_.c_str());
    DeleteFileA(boxLog_.c_str());
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));  // every run starts as a first start
    SetEnvironmentVariableA("SNAPTRAP_CALL_LOG", hookLog_.c_str());
    SetEnvironmentVariableA("KESTRO_MSGBOX_LOG", boxLog_.c_str());
  }
  void TearDown() override {
    EndKestro(first_);
    EndKestro(second_);
    DeleteFileA(hookLog_.c_str());
    DeleteFileA(boxLog_.c_str());
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  }

  static bool Start(PROCESS_INFORMATION& process) { return StartKestro(process); }

  // Starts the client and waits until its main form and tray icon are there.
  HWND StartClient() {
    if (!Start(first_)) return nullptr;
    HWND window = nullptr;
    WaitFor([&] { return (window = FindWindowA("TForm1", "Kestro")) != nullptr && TrayIconExists(window); }, 20000);
    return window;
  }

  static bool TrayIconExists(HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
  }

  // Right button up on the tray icon; the menu window once it shows.
  static HWND PopMenu(HWND window) {
    WaitFor([] { HWND open = FindWindowA("#32768", nullptr); return !open || !IsWindowVisible(open); }, 5000);
    if (!PostMessageA(window, kTrayMessage, 0, WM_RBUTTONUP)) return nullptr;
    HWND menu = nullptr;
    WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr && IsWindowVisible(menu); }, 10000);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
  }

  bool Exited(DWORD timeoutMs) const { return WaitForSingleObject(first_.hProcess, timeoutMs) == WAIT_OBJECT_0; }

  PROCESS_INFORMATION first_{}, second_{};
  std::string hookLog_, boxLog_;
};

}  // namespace

TEST_F(KestroProcessTest, StartsOnceIntoTheTrayAndEndsFromTheTrayMenu) {
  HWND window = StartClient();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(TrayIconExists(window));
  std::string log = ReadAll(TodayLog());
  EXPECT_NE(log.find(",(KESTRO),Kestro,FormCreate()---------------------------------------\r\n"), std::string::npos);
  EXPECT_NE(log.find(",(KESTRO),Kestro,FormCreate()=" + DataFolder() + "\r\n"), std::string::npos);
  EXPECT_NE(log.find(",(KESTRO),Kestro,SetIco()Icon=2\r\n"), std::string::npos);

  // A second copy ends by itself while the first one runs.
  ASSERT_TRUE(Start(second_));
  EXPECT_EQ(WaitForSingleObject(second_.hProcess, 15000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 1;
  GetExitCodeProcess(second_.hProcess, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(Exited(0));
  EXPECT_EQ(ReadAll(boxLog_), "");

  // Right button up on the icon pops the menu. Its third item opens the hint
  // page, which is not installed next to the test programs.
  ASSERT_EQ(GetFileAttributesA((ProgramFolder() + "doc\\clienthint.html").c_str()), INVALID_FILE_ATTRIBUTES);
  HWND menu = PopMenu(window);
  ASSERT_NE(menu, nullptr);
  for (int i = 0; i < 3; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  const std::string box = "Kestro\tヒントファイルが見つかりません\t" + std::to_string(MB_OK | MB_TOPMOST) + "\r\n";
  EXPECT_TRUE(WaitFor([&] { return ReadAll(boxLog_) == box; }, 10000)) << ReadAll(boxLog_);
  DeleteFileA(boxLog_.c_str());
  EXPECT_FALSE(Exited(0));

  // The line above the last item is a separator: the keys pass over it.
  menu = PopMenu(window);
  ASSERT_NE(menu, nullptr);
  PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitFor([] { return ReadAll(TodayLog()).find("Kestro,itmCancelClick()\r\n") != std::string::npos; },
                      10000));
  EXPECT_FALSE(Exited(0));

  // The last item ends the program.
  menu = PopMenu(window);
  ASSERT_NE(menu, nullptr);
  PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(Exited(15000));
  EXPECT_FALSE(TrayIconExists(window));
  EXPECT_TRUE(EndsWithStopHook(hookLog_)) << ReadAll(hookLog_);
  log = ReadAll(TodayLog());
  EXPECT_NE(log.find("Kestro,itmEndClick()\r\n"), std::string::npos);
  EXPECT_NE(log.find("Kestro,FormCloseQuery()\r\n"), std::string::npos);
  EXPECT_NE(log.find("Kestro,FormClose()----------------------------------------\r\n"), std::string::npos);
  EXPECT_EQ(ReadAll(boxLog_), "");
}

TEST_F(KestroProcessTest, SessionEndClosesAtOnce) {
  HWND window = StartClient();
  ASSERT_NE(window, nullptr);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer));
  EXPECT_EQ(answer, 1u);
  ASSERT_TRUE(Exited(10000));
  EXPECT_TRUE(EndsWithStopHook(hookLog_)) << ReadAll(hookLog_);
  std::string log = ReadAll(TodayLog());
  size_t shutdown = log.find("Kestro,*** ShutDownMessage() ***\r\n");
  ASSERT_NE(shutdown, std::string::npos);
  EXPECT_NE(log.find("Kestro,FormClose()", shutdown), std::string::npos);
}

TEST_F(KestroProcessTest, TrayMessagesOtherThanRightButtonUpOpenNoMenu) {
  HWND window = StartClient();
  ASSERT_NE(window, nullptr);
  PostMessageA(window, kTrayMessage, 0, WM_MOUSEMOVE);
  PostMessageA(window, kTrayMessage, 0, WM_LBUTTONDOWN);
  ASSERT_TRUE(HandledPostedMessages(window)) << ReadLog();
  HWND menu = FindWindowA("#32768", nullptr);
  EXPECT_FALSE(menu && IsWindowVisible(menu));
  EXPECT_FALSE(Exited(0));
  SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000, nullptr);
  EXPECT_TRUE(Exited(10000));
}

TEST_F(KestroProcessTest, ACaptureOfTheHookLibraryReachesTheRunningClient) {
  HWND window = StartClient();
  ASSERT_NE(window, nullptr);
  // The client put its window into "KestroMapFile"; the library's capture
  // path, run here without a key press, finds it there.
  std::string name = CaptureWhenReady();
  ASSERT_FALSE(name.empty());
  EXPECT_TRUE(WaitFor([&] { return ReadAll(TodayLog()).find("Kestro,WMSnapChot()GetName=" + name) != std::string::npos; },
                      10000));
  // The timer takes it up: the file is examined and dated.
  EXPECT_TRUE(WaitFor([&] { return ReadAll(TodayLog()).find("Kestro,fncSetTemp()Size=") != std::string::npos; }, 10000));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Exited(10000));
}

// The manager reads Kestro.ini shared for reading only: a client that starts
// meanwhile tries its write again and comes up once the file is free.
TEST_F(KestroProcessTest, StartsWhileAnotherProgramReadsTheSettingsFile) {
  const std::string ini = DataFolder() + "Kestro.ini";
  SHCreateDirectoryExA(nullptr, DataFolder().c_str(), nullptr);
  FILE* seed = std::fopen(ini.c_str(), "wb");
  ASSERT_NE(seed, nullptr);
  std::fputs("[KESTRO]\r\nOPERATION=held\r\n", seed);
  std::fclose(seed);
  HANDLE reader = CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(Start(first_));
  const std::string retry = "Kestro,fncSysWrite()設定ファイルが使用中のため再試行します=" + ini + "\r\n";
  const bool retried = WaitFor([&] { return ReadAll(TodayLog()).find(retry) != std::string::npos; }, 20000);
  CloseHandle(reader);
  ASSERT_TRUE(retried) << ReadAll(TodayLog());
  HWND window = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (window = FindWindowA("TForm1", "Kestro")) != nullptr && TrayIconExists(window); }, 20000));
  EXPECT_FALSE(Exited(0)) << ReadAll(TodayLog());
  const std::string written = ReadAll(ini);
  EXPECT_NE(written.find("OPERATION=held\r\n"), std::string::npos) << written;
  EXPECT_NE(written.find("NUM=1\r\n"), std::string::npos) << written;
  EXPECT_EQ(ReadAll(TodayLog()).find("設定ファイルに書き込めません"), std::string::npos);
}
