// The registration form in the running Kestro.exe, driven from outside: a
// capture through SNAPTRAP.DLL opens it (first start: SHOW 1, image style,
// posting into the shared folder <data>save\).
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <string>

#include "snaptrap/SnapTrap.h"
#include "tests/client/KestroProcessSupport.h"
#include "tests/client/WineTestFiles.h"

namespace {

const int kUnbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0);

class RegistrationProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    boxLog_ = UseBoxLog("registration_process_boxes.txt");
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));  // a first start
  }
  void TearDown() override {
    EndKestro(process_);
    DeleteFileA(boxLog_.c_str());
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  }

  // Starts the client, takes a capture and returns the registration form.
  HWND StartAndCapture() {
    if (!StartKestro(process_)) return nullptr;
    if (!WaitFor([] { return FindWindowA("TForm1", "Kestro") != nullptr; }, 20000)) return nullptr;
    if (CaptureWhenReady().empty()) return nullptr;
    HWND form = nullptr;
    WaitFor([&] { return (form = FindWindowA("TForm3", "登録画面")) != nullptr && IsWindowVisible(form); }, 20000);
    return form && IsWindowVisible(form) ? form : nullptr;
  }
  bool Exited(DWORD timeoutMs) const { return WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0; }
  std::string Log() const { return ReadAll(DataFolder() + "syslog\\" + Today("%04d%02d%02d.txt")); }

  PROCESS_INFORMATION process_{};
  std::string boxLog_;
};

}  // namespace

TEST_F(RegistrationProcessTest, ACaptureIsPostedFromTheFormIntoTheStore) {
  HWND form = StartAndCapture();
  ASSERT_NE(form, nullptr);
  std::string capture = FindFile(DataFolder() + "temp\\*.jpg");
  ASSERT_FALSE(capture.empty());
  // The image-style panel holds the project combo, the terminal and the title.
  HWND panel = FindControl(form, "FormsPanel", "画像");
  ASSERT_NE(panel, nullptr);
  HWND terminal = FindWindowExA(panel, nullptr, "Edit", nullptr);
  HWND title = terminal ? FindWindowExA(panel, terminal, "Edit", nullptr) : nullptr;
  ASSERT_NE(title, nullptr);
  SendMessageA(title, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("外から"));

  HWND post = FindControl(form, "Button", "ポスト");
  ASSERT_NE(post, nullptr);
  SendMessageA(post, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(form); }, 20000));
  EXPECT_NE(ReadAll(boxLog_).find("Kestro\tポストしました\t"), std::string::npos) << ReadAll(boxLog_);

  std::string store = DataFolder() + "save\\" + Today("%04d%02d%02d");
  std::string report = FindFile(store + "\\*.jpg");
  ASSERT_FALSE(report.empty());
  EXPECT_EQ(FindFile(store + "tag\\*.tag"), report.substr(0, report.size() - 4) + "_外から.tag");
  EXPECT_TRUE(FindFile(DataFolder() + "temp\\" + capture).empty());
  EXPECT_NE(Log().find("登録画面,btnSendClick()Name=" + capture), std::string::npos);

  PostMessageA(FindWindowA("TForm1", "Kestro"), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Exited(15000));
}

TEST_F(RegistrationProcessTest, SessionEndAtTheOpenFormEndsTheClientWithoutQuestion) {
  HWND form = StartAndCapture();
  ASSERT_NE(form, nullptr);
  std::string capture = FindFile(DataFolder() + "temp\\*.jpg");
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(form, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 15000, &answer));
  EXPECT_EQ(answer, 1u);
  ASSERT_TRUE(Exited(15000));
  std::string log = Log();
  size_t formShutdown = log.find("登録画面,*** ShutDownMessage() ***");
  ASSERT_NE(formShutdown, std::string::npos);
  // The main form still closes: the settings are written and the hook stopped.
  EXPECT_NE(log.find("Kestro,FormCloseQuery()", formShutdown), std::string::npos);
  EXPECT_NE(log.find("Kestro,FormClose()", formShutdown), std::string::npos);
  EXPECT_EQ(log.find("FormCloseQuery()=保存(転送)未処理", formShutdown), std::string::npos);
  EXPECT_TRUE(ReadAll(boxLog_).empty()) << ReadAll(boxLog_);
  EXPECT_EQ(FindFile(DataFolder() + "temp\\*.jpg"), capture);  // the capture is not dropped at an end
}

TEST_F(RegistrationProcessTest, ASessionEndAtThePostedBoxStillDropsThePostedCapture) {
  SetEnvironmentVariableA("KESTRO_MSGBOX_LOG", nullptr);  // a real box, up until the end
  HWND form = StartAndCapture();
  ASSERT_NE(form, nullptr);
  const std::string capture = FindFile(DataFolder() + "temp\\*.jpg");
  PostMessageA(FindControl(form, "Button", "ポスト"), BM_CLICK, 0, 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowA("#32770", "Kestro")) && FindControl(box, "Static", "ポストしました"); },
                      20000)) << Log();
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(FindWindowA("TForm1", "Kestro"), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 15000, &answer);
  ASSERT_TRUE(Exited(15000)) << Log();
  EXPECT_TRUE(FindFile(DataFolder() + "temp\\" + capture).empty()) << Log();
}

TEST_F(RegistrationProcessTest, AltF4OnAButtonKeepsTheFormAndInputMethodCharactersKeepTheTitleLimit) {
  SetEnvironmentVariableA("KESTRO_MSGBOX_REPLY", "Cancel");  // a close question would keep the form
  HWND form = StartAndCapture();
  ASSERT_NE(form, nullptr);
  HWND panel = FindControl(form, "FormsPanel", "画像");
  ASSERT_NE(panel, nullptr);
  HWND terminal = FindWindowExA(panel, nullptr, "Edit", nullptr);
  HWND title = terminal ? FindWindowExA(panel, terminal, "Edit", nullptr) : nullptr;
  HWND hint = FindControl(form, "Button", "ヒント");
  ASSERT_NE(title, nullptr);
  ASSERT_NE(hint, nullptr);
  const std::string full(49, 'a');
  SendMessageA(title, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(full.c_str()));

  // Alt+F4 as a button gets it, then two characters of the input method:
  // the first makes the fiftieth character, the second is refused.
  const LPARAM altF4 = 0x20000000 | (0x3E << 16) | 1;
  PostMessageA(hint, WM_SYSKEYDOWN, VK_F4, altF4);
  PostMessageA(title, EM_SETSEL, 49, 49);
  PostMessageW(title, WM_IME_CHAR, 0x3042, 1);  // "あ"
  PostMessageW(title, WM_IME_CHAR, 0x3044, 1);  // "い"
  auto text = [](HWND window) {
    char buffer[256] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 5000,
                        nullptr);
    return std::string(buffer);
  };
  // (Wine hands a posted character on as some double-byte character: only
  // the count is checked.)
  EXPECT_TRUE(WaitFor([&] { return text(title).size() > full.size(); }, 10000)) << text(title);
  // A close that the key had asked for was posted before this.
  ASSERT_TRUE(HandledPostedMessages(FindWindowA("TForm1", "Kestro"))) << Log();
  EXPECT_EQ(text(title).substr(0, full.size()), full);
  EXPECT_EQ(text(title).size(), full.size() + 2);  // fifty characters, the last a double-byte one
  EXPECT_TRUE(IsWindowVisible(form));
  EXPECT_EQ(Log().find("登録画面,FormCloseQuery()"), std::string::npos);
  EXPECT_TRUE(ReadAll(boxLog_).empty()) << ReadAll(boxLog_);

  PostMessageA(FindWindowA("TForm1", "Kestro"), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Exited(15000));
}
