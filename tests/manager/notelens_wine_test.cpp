// The comment editor noteLens.exe as the manager starts it: the comment as
// the raw command tail, hidden start-up, the work folder as current folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Folder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\') + 1);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class NoteLensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work = Folder() + "notelens_work\\";
    CreateDirectoryA(work.c_str(), nullptr);
    DeleteFileA((work + "comment.tmp").c_str());
    SetEnvironmentVariableA("NOTELENS_ANSWER", nullptr);
  }
  void TearDown() override {
    if (process.hProcess) {
      if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
  }
  // Started as the manager starts it; returns its window once it is shown.
  HWND Start(const std::string& comment) {
    std::string command = "\"" + Folder() + "noteLens.exe\" " + comment;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, work.c_str(),
                        &startup, &process))
      return nullptr;
    // Other tests run noteLens at the same time: only this process's window.
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50)) {
      for (HWND window = FindWindowA("TTagInformation", "タグ情報"); window;
           window = FindWindowExA(nullptr, window, "TTagInformation", "タグ情報")) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process.dwProcessId && IsWindowVisible(window)) return window;
      }
    }
    return nullptr;
  }
  bool Ended() { return WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0; }

  std::string work;
  PROCESS_INFORMATION process{};
};

TEST_F(NoteLensTest, OkWritesTheTypedCommentAsTheFirstLine) {
  HWND window = Start("要確認 です");
  ASSERT_NE(window, nullptr);
  HWND edit = FindWindowExA(window, nullptr, "EDIT", nullptr);
  ASSERT_NE(edit, nullptr);
  char shown[128] = {};
  SendMessageA(edit, WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown));  // across processes
  EXPECT_STREQ(shown, "要確認 です");  // the whole tail, blank included
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("対応済み"));
  SendMessageA(edit, EM_SETSEL, 100, 100);
  for (char c : std::string("ok2")) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
  SendMessageA(FindWindowExA(window, nullptr, "BUTTON", "OK"), BM_CLICK, 0, 0);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(ReadAll(work + "comment.tmp"), "\x91\xce\x89\x9e\x8d\xcf\x82\xdd" "ok2\r\n");  // code page 932
}

TEST_F(NoteLensTest, CloseAndCancelLeaveNoAnswer) {
  HWND window = Start("");
  ASSERT_NE(window, nullptr);
  char shown[128] = {'x'};
  SendMessageA(FindWindowExA(window, nullptr, "EDIT", nullptr), WM_GETTEXT, sizeof shown,
               reinterpret_cast<LPARAM>(shown));
  EXPECT_STREQ(shown, "");
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(GetFileAttributesA((work + "comment.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  process = {};

  window = Start("x");
  ASSERT_NE(window, nullptr);
  SendMessageA(FindWindowExA(window, nullptr, "BUTTON", "キャンセル"), BM_CLICK, 0, 0);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(GetFileAttributesA((work + "comment.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
