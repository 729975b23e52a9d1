// SNAPTRAP.DLL under Wine: captures land complete in <data>temp\ and are
// announced with message 1125 to the window in "KestroMapFile", also in the
// running Kestro.exe.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "JpegInspection.h"
#include "snaptrap/SharedWindowBlock.h"
#include "snaptrap/SnapTrap.h"
#include "common/portable/CaptureName.h"
#include "tests/client/KestroProcessSupport.h"
#include "tests/client/WineTestFiles.h"

namespace {

const char kReceiverClass[] = "SnapTrapTestReceiver";
const char kBlueClass[] = "SnapTrapTestBlue";

std::string WorkFolder() {
  char common[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, common, CSIDL_COMMON_APPDATA, FALSE);
  return std::string(common) + "\\Veltrana\\kestro\\temp\\";
}

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string ReadFileText(const std::string& path) {
  std::string text;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[256];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    std::fclose(file);
  }
  return text;
}

void WriteFileText(const std::string& path, const std::string& text) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, file) << path;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

std::int32_t NumberAt(const SYSTEMTIME& time) {
  return snaptrap::CaptureNumberForTime(time.wHour, time.wMinute, time.wSecond);
}

SYSTEMTIME SecondsLater(SYSTEMTIME time, int seconds) {
  FILETIME file;
  SystemTimeToFileTime(&time, &file);
  ULARGE_INTEGER value;
  value.LowPart = file.dwLowDateTime;
  value.HighPart = file.dwHighDateTime;
  value.QuadPart += static_cast<ULONGLONG>(seconds) * 10000000ULL;
  file.dwLowDateTime = value.LowPart;
  file.dwHighDateTime = value.HighPart;
  FileTimeToSystemTime(&file, &time);
  return time;
}

bool IsBlue(unsigned long rgb) {
  return ((rgb >> 16) & 0xFF) < 40 && ((rgb >> 8) & 0xFF) < 40 && (rgb & 0xFF) > 200;
}

void SendKey(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

void PressPrintScreen() {
  SendKey(VK_SNAPSHOT, false);
  SendKey(VK_SNAPSHOT, true);
}

bool gProbeSawKey = false;
LRESULT CALLBACK ProbeKey(int code, WPARAM w, LPARAM l) {
  gProbeSawKey = gProbeSawKey || reinterpret_cast<const KBDLLHOOKSTRUCT*>(l)->vkCode == VK_F24;
  return CallNextHookEx(nullptr, code, w, l);
}

// Whether keys sent with SendInput reach a low-level keyboard hook here at
// all: a probe hook of ours, with a key nobody uses.
bool InjectedKeysReachHooks() {
  HHOOK probe = SetWindowsHookExA(WH_KEYBOARD_LL, ProbeKey, GetModuleHandleA(nullptr), 0);
  SendKey(VK_F24, false);
  SendKey(VK_F24, true);
  WaitFor([] { return gProbeSawKey; }, 2000);
  if (probe) UnhookWindowsHookEx(probe);
  return gProbeSawKey;
}
const char kNoInjectedKeys[] = "keys sent with SendInput reach no low-level keyboard hook on this display";

bool EndsWith(const std::string& text, const char* tail) {
  const size_t n = std::strlen(tail);
  return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

class SnapTrapTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA plain = {};
    plain.lpfnWndProc = DefWindowProcA;
    plain.hInstance = GetModuleHandleA(nullptr);
    plain.lpszClassName = kReceiverClass;
    RegisterClassA(&plain);
    WNDCLASSA blue = plain;
    blue.lpszClassName = kBlueClass;
    blue.hbrBackground = CreateSolidBrush(RGB(0, 0, 255));
    RegisterClassA(&blue);
  }

  void SetUp() override {
    folder_ = WorkFolder();
    before_ = FilesIn(folder_);
    receiver_ = CreateWindowExA(0, kReceiverClass, "receiver", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, receiver_);
    // Made as the client makes it; the library only reads it.
    block_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, snaptrap::kSharedBlockName);
    ASSERT_NE(nullptr, block_);
    PutWindowInBlock(receiver_);
  }

  void TearDown() override {
    StopHook();
    if (block_) {
      PutWindowInBlock(nullptr);
      CloseHandle(block_);
    }
    if (receiver_) DestroyWindow(receiver_);
    for (const std::string& name : FilesIn(folder_))
      if (!before_.count(name)) DeleteFileA((folder_ + name).c_str());
  }

  void PutWindowInBlock(HWND window) {
    void* view = MapViewOfFile(block_, FILE_MAP_ALL_ACCESS, 0, 0, 4);
    ASSERT_NE(nullptr, view);
    const std::uint32_t value = snaptrap::SharedBlockValue(window);
    std::memcpy(view, &value, sizeof value);
    UnmapViewOfFile(view);
  }

  // Runs this thread's messages until a capture message reaches the
  // receiver or the time is up.
  bool WaitForCapture(snaptrap::CaptureId* id, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.hwnd == receiver_ && message.message == SNAPTRAP_CAPTURE_MESSAGE) {
          id->number = static_cast<std::int32_t>(message.wParam);
          id->sequence = static_cast<std::int32_t>(message.lParam);
          return true;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      Sleep(10);
    } while (GetTickCount() - start < milliseconds);
    return false;
  }

  // A 320 x 240 blue window in front of everything; nullptr when it cannot
  // become the foreground window.
  HWND ShowBlueWindow() {
    HWND blue = CreateWindowExA(WS_EX_TOPMOST, kBlueClass, "blue", WS_POPUP | WS_VISIBLE, 50, 60, 320, 240,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!blue) return nullptr;
    SetForegroundWindow(blue);
    UpdateWindow(blue);
    snaptrap::CaptureId ignored;
    WaitForCapture(&ignored, 300);  // lets the window paint
    if (GetForegroundWindow() == blue) return blue;
    DestroyWindow(blue);
    return nullptr;
  }

  void ExpectBlueWindowPicture(const snaptrap::CaptureId& id) {
    const JpegInspection jpeg = InspectJpegFile(folder_ + snaptrap::CaptureFileName(id));
    ASSERT_TRUE(jpeg.readable) << jpeg.error;
    EXPECT_EQ(320, jpeg.width);
    EXPECT_EQ(240, jpeg.height);
    EXPECT_TRUE(IsBlue(jpeg.RgbAt(160, 120))) << std::hex << jpeg.RgbAt(160, 120);
  }

  std::set<std::string> NewFiles() {
    std::set<std::string> added;
    for (const std::string& name : FilesIn(folder_))
      if (!before_.count(name)) added.insert(name);
    return added;
  }

  std::string folder_;
  std::set<std::string> before_;
  HWND receiver_ = nullptr;
  HANDLE block_ = nullptr;
};

TEST_F(SnapTrapTest, WholeScreenIsWrittenCompleteThenAnnounced) {
  SYSTEMTIME started;
  GetLocalTime(&started);
  ASSERT_TRUE(SnapTrapTestCapture(FALSE));
  SYSTEMTIME finished;
  GetLocalTime(&finished);

  snaptrap::CaptureId id;
  ASSERT_TRUE(WaitForCapture(&id, 0));
  if (started.wDay == finished.wDay) {
    EXPECT_GE(id.number, NumberAt(started));
    EXPECT_LE(id.number, NumberAt(finished));
  }
  EXPECT_GE(id.sequence, 1);
  const std::string name = snaptrap::CaptureFileName(id);
  // Only the announced file is left: the temporary one was renamed.
  EXPECT_EQ(std::set<std::string>{name}, NewFiles());

  const JpegInspection jpeg = InspectJpegFile(folder_ + name);
  ASSERT_TRUE(jpeg.readable) << jpeg.error;
  EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), jpeg.width);
  EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), jpeg.height);
  EXPECT_EQ(3, jpeg.components);
  EXPECT_FALSE(jpeg.progressive);
  EXPECT_TRUE(jpeg.baselineMarker);
  EXPECT_EQ(90, jpeg.quality);
}

TEST_F(SnapTrapTest, WaitingCapturesAreNeverReplaced) {
  // Files already named for this second and the next one, as if the client
  // had not handled them yet.
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::vector<std::string> waiting;
  for (int later = 0; later <= 1; ++later)
    for (int sequence = 1; sequence <= 3; ++sequence)
      waiting.push_back(snaptrap::CaptureFileName({NumberAt(SecondsLater(now, later)), sequence}));
  for (const std::string& name : waiting) WriteFileText(folder_ + name, "waiting");

  snaptrap::CaptureId first, second;
  ASSERT_TRUE(SnapTrapTestCapture(FALSE));
  ASSERT_TRUE(WaitForCapture(&first, 0));
  ASSERT_TRUE(SnapTrapTestCapture(FALSE));
  ASSERT_TRUE(WaitForCapture(&second, 0));

  const std::string firstName = snaptrap::CaptureFileName(first);
  const std::string secondName = snaptrap::CaptureFileName(second);
  EXPECT_NE(firstName, secondName);
  for (const std::string& name : waiting) {
    EXPECT_NE(name, firstName);
    EXPECT_NE(name, secondName);
    EXPECT_EQ("waiting", ReadFileText(folder_ + name)) << name;
  }
  EXPECT_TRUE(InspectJpegFile(folder_ + firstName).readable);
  EXPECT_TRUE(InspectJpegFile(folder_ + secondName).readable);
}

TEST_F(SnapTrapTest, ActiveWindowCaptureHoldsThatWindowOnly) {
  HWND blue = ShowBlueWindow();
  if (!blue) GTEST_SKIP() << "the test window could not become the foreground window";

  ASSERT_TRUE(SnapTrapTestCapture(TRUE));
  snaptrap::CaptureId id;
  ASSERT_TRUE(WaitForCapture(&id, 0));
  ExpectBlueWindowPicture(id);

  // The whole screen shows the window where it is, the right way up.
  ASSERT_TRUE(SnapTrapTestCapture(FALSE));
  ASSERT_TRUE(WaitForCapture(&id, 0));
  DestroyWindow(blue);
  const JpegInspection screen = InspectJpegFile(folder_ + snaptrap::CaptureFileName(id));
  ASSERT_TRUE(screen.readable) << screen.error;
  const int x = 50 + 160 - GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int y = 60 + 120 - GetSystemMetrics(SM_YVIRTUALSCREEN);
  EXPECT_TRUE(IsBlue(screen.RgbAt(x, y))) << std::hex << screen.RgbAt(x, y);
  EXPECT_FALSE(IsBlue(screen.RgbAt(x, screen.height - 1 - y)));
}

TEST_F(SnapTrapTest, NoCaptureWithoutAClientWindow) {
  PutWindowInBlock(nullptr);
  EXPECT_FALSE(SnapTrapTestCapture(FALSE));
  HWND gone = CreateWindowExA(0, kReceiverClass, "gone", 0, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  DestroyWindow(gone);
  PutWindowInBlock(gone);
  EXPECT_FALSE(SnapTrapTestCapture(FALSE));
  EXPECT_TRUE(NewFiles().empty());
}

TEST_F(SnapTrapTest, PrintScreenKeysCaptureUntilStopHook) {
  if (!InjectedKeysReachHooks()) GTEST_SKIP() << kNoInjectedKeys;
  char callLog[MAX_PATH];
  GetTempPathA(MAX_PATH, callLog);
  std::strcat(callLog, "snaptrap_calls.txt");
  DeleteFileA(callLog);
  SetEnvironmentVariableA("SNAPTRAP_CALL_LOG", callLog);

  EXPECT_TRUE(StopHook());  // before any start: harmless
  ASSERT_TRUE(StartHook(receiver_));
  ASSERT_TRUE(StartHook(receiver_));
  PressPrintScreen();
  snaptrap::CaptureId id;
  const bool captured = WaitForCapture(&id, 3000);
  if (captured) {
    const JpegInspection jpeg = InspectJpegFile(folder_ + snaptrap::CaptureFileName(id));
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), jpeg.width);
    snaptrap::CaptureId extra;
    EXPECT_FALSE(WaitForCapture(&extra, 300)) << "the second StartHook hooked the keys again";

    // This thread stands for a client stuck in one long handler: for 3 s it
    // handles no messages. The capture must not wait for it, and its message
    // is queued for when the thread returns to its loop.
    const std::set<std::string> earlier = NewFiles();
    const DWORD pressed = GetTickCount();
    PressPrintScreen();
    std::string written;
    DWORD took = 0;
    while (GetTickCount() - pressed < 3000) {
      for (const std::string& name : NewFiles())
        if (written.empty() && !earlier.count(name) && EndsWith(name, ".jpg")) {
          written = name;
          took = GetTickCount() - pressed;
        }
      Sleep(10);
    }
    ASSERT_FALSE(written.empty()) << "no capture while the starting thread was busy";
    std::printf("capture file %s after %lu ms of a busy thread\n", written.c_str(), took);
    EXPECT_LT(took, 1000u);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, receiver_, SNAPTRAP_CAPTURE_MESSAGE, SNAPTRAP_CAPTURE_MESSAGE,
                             PM_REMOVE));
    EXPECT_EQ(written, snaptrap::CaptureFileName({static_cast<std::int32_t>(message.wParam),
                                                  static_cast<std::int32_t>(message.lParam)}));
    EXPECT_TRUE(InspectJpegFile(folder_ + written).readable);

    // Alt+PrintScreen takes the active window. Alt is sent only while our
    // own window is in front, so that no other window enters its menu.
    HWND blue = ShowBlueWindow();
    if (blue && GetForegroundWindow() == blue) {
      SendKey(VK_MENU, false);
      PressPrintScreen();
      SendKey(VK_MENU, true);
      snaptrap::CaptureId active;
      EXPECT_TRUE(WaitForCapture(&active, 3000));
      ExpectBlueWindowPicture(active);
    }
    if (blue) DestroyWindow(blue);
  }
  EXPECT_TRUE(StopHook());
  PressPrintScreen();
  EXPECT_FALSE(WaitForCapture(&id, 500));
  SetEnvironmentVariableA("SNAPTRAP_CALL_LOG", nullptr);
  EXPECT_EQ("StopHook\r\nStartHook\r\nStartHook\r\nStopHook\r\n", ReadFileText(callLog));
  DeleteFileA(callLog);
  EXPECT_TRUE(captured) << "PrintScreen gave no capture";
}

TEST_F(SnapTrapTest, StopHookDuringCapturesLeavesOnlyAnnouncedWholeFiles) {
  if (!InjectedKeysReachHooks()) GTEST_SKIP() << kNoInjectedKeys;
  ASSERT_TRUE(StartHook(receiver_));
  for (int i = 0; i < 5; ++i) PressPrintScreen();
  // Stop as soon as the first capture is being written.
  bool started = false;
  for (const DWORD begin = GetTickCount(); !started && GetTickCount() - begin < 3000; Sleep(1))
    started = !NewFiles().empty();
  const DWORD stopping = GetTickCount();
  EXPECT_TRUE(StopHook());
  const DWORD stopTook = GetTickCount() - stopping;
  ASSERT_TRUE(started) << "PrintScreen gave no capture";
  EXPECT_LT(stopTook, 2000u);

  Sleep(300);
  std::set<std::string> announced;
  MSG message;
  while (PeekMessageA(&message, receiver_, SNAPTRAP_CAPTURE_MESSAGE, SNAPTRAP_CAPTURE_MESSAGE, PM_REMOVE))
    announced.insert(snaptrap::CaptureFileName(
        {static_cast<std::int32_t>(message.wParam), static_cast<std::int32_t>(message.lParam)}));
  const std::set<std::string> left = NewFiles();
  EXPECT_EQ(announced, left) << "every file left is an announced capture, nothing else";
  for (const std::string& name : left) EXPECT_TRUE(InspectJpegFile(folder_ + name).readable) << name;
}

// The real client: its start hooks the keys, a PrintScreen reaches it as a
// capture, and its close stops the hook.
TEST(SnapTrapInKestro, PrintScreenReachesTheRunningClient) {
  if (!InjectedKeysReachHooks()) GTEST_SKIP() << kNoInjectedKeys;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string callLog = std::string(temp) + "snaptrap_kestro_calls.txt";
  const std::string data = DataFolder().substr(0, DataFolder().size() - 1);
  DeleteFileA(callLog.c_str());
  RemoveTree(data);
  SetEnvironmentVariableA("SNAPTRAP_CALL_LOG", callLog.c_str());
  PROCESS_INFORMATION kestro{};
  const bool started = StartKestro(kestro);
  SetEnvironmentVariableA("SNAPTRAP_CALL_LOG", nullptr);
  ASSERT_TRUE(started);
  // A capture of the test entry is queued only once start-up is complete.
  const std::string ready = CaptureWhenReady();
  HWND window = FindWindowA("TForm1", "Kestro");
  EXPECT_FALSE(ready.empty());
  EXPECT_NE(nullptr, window);

  PressPrintScreen();
  const std::string line = "Kestro,WMSnapChot()GetName=";
  std::string keyed;
  WaitFor(
      [&] {
        const std::string log = ReadLog();
        for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) {
          const size_t from = at + line.size();
          const std::string name = log.substr(from, log.find("\r\n", from) - from);
          if (name != ready) keyed = name;
        }
        return !keyed.empty();
      },
      5000);
  EXPECT_FALSE(keyed.empty()) << "the PrintScreen key gave the client no capture";
  EXPECT_TRUE(EndsWith(keyed, ".jpg")) << keyed;

  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(kestro.hProcess, 10000));
  EndKestro(kestro);
  EXPECT_EQ("StartHook\r\nStopHook\r\n", ReadFileText(callLog));
  DeleteFileA(callLog.c_str());
  RemoveTree(data);
}

}  // namespace
