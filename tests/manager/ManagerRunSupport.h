// A run of the real kestroMgr.exe from a folder of the test's own, with a
// stand-in command interpreter CMD.exe beside it (editor_cmd_stub), logged
// in to the FTP server of the test or to a shared folder, and its report
// window's buttons; and the fixture of tests that drive the report window.
#pragma once
#include <gtest/gtest.h>

#include "tests/manager/ReportWindowTestSupport.h"

namespace mgrtest {

class ManagerRun : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    runDir_ = std::string(temp) + "kestro mgr run\\";  // a blank, as under Program Files
    RemoveTree(runDir_.substr(0, runDir_.size() - 1));
    editorDir_ = runDir_ + "editor";
    ForceFolder(editorDir_ + "\\");
    // Linked: a test may run under a largest file size.
    ASSERT_TRUE(CreateHardLinkA((runDir_ + "kestroMgr.exe").c_str(), (ProgramFolder() + "kestroMgr.exe").c_str(), nullptr));
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "editor_cmd_stub.exe").c_str(), (runDir_ + "CMD.exe").c_str(), FALSE));
    boxLog_ = runDir_ + "boxes.txt";
    SetEnvironmentVariableA("KESTRO_MSGBOX_LOG", boxLog_.c_str());
    SetEnvironmentVariableA("KESTRO_MSGBOX_REPLY", "OK");
    SetEnvironmentVariableA("KESTRO_TEST_EDITOR_DIR", editorDir_.c_str());
    SetEnvironmentVariableA("KESTRO_TEST_SCRIPT_FILE", (FtpServerRoot() + "script.txt").c_str());
    SetEnvironmentVariableA("KESTRO_TEST_HANDOFF_MS", "5000");  // for a workbook CMD handed on
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
    ForceFolder(DataFolder());
  }
  void TearDown() override {
    if (process_.hProcess) {
      if (HWND report = ReportWindow(0)) PostMessageA(report, WM_CLOSE, 0, 0);
      Ended(process_, 10000);
    }
    EndKestro(process_);
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
    RemoveTree(runDir_.substr(0, runDir_.size() - 1));
  }

  static void ForceFolder(const std::string& folder) {
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
      CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
  }

  // FTP mode against the test's server, or the shared folder `store`.
  void WriteSettings(const std::string& store = "") {
    if (store.empty()) {
      WriteBytes(DataFolder() + "Kestro.ini", "[KESTRO]\r\nSAVE=1\r\nVALIDDAY=10\r\n[KESTROMGR]\r\nLASTTARGET=" +
                                                   EnvValue("KESTRO_TEST_FTP_HOST") + "\r\nLASTUSERID=" +
                                                   EnvValue("KESTRO_TEST_FTP_USER") + "\r\n");
    } else {
      WriteBytes(DataFolder() + "Kestro.ini", "[KESTRO]\r\nSAVE=2\r\nFILESAVEPATH=" + store +
                                                   "\r\nSERVER=share\r\nUSERID=someone\r\nVALIDDAY=10\r\n");
    }
  }

  // Starts the manager and logs in; the report window, or nullptr.
  HWND StartAndLogin() {
    const std::string exe = runDir_ + "kestroMgr.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, runDir_.c_str(), &startup,
                        &process_))
      return nullptr;
    HWND login = LoginForm();
    if (!login) return nullptr;
    LoginFields fields = FieldsOf(login);
    SetTextOf(fields.password, EnvValue("KESTRO_TEST_FTP_PASS"));
    SendMessageA(fields.login, BM_CLICK, 0, 0);
    return ReportWindow();
  }

  // Clicks the report window's button of that caption; its work runs on after the call.
  static bool Click(HWND report, const std::string& caption) {
    HWND button = FindControl(report, "BUTTON", caption);
    if (!button) return false;
    PostMessageA(button, BM_CLICK, 0, 0);
    return true;
  }

  std::string Boxes() const { return ReadAll(boxLog_); }
  bool WaitForBox(const std::string& text, DWORD timeoutMs = 60000) const {
    return WaitFor([&] { return Boxes().find(text) != std::string::npos; }, timeoutMs);
  }
  bool WaitForLog(const std::string& text, DWORD timeoutMs = 60000) const {
    return WaitFor([&] { return ReadLog().find(text) != std::string::npos; }, timeoutMs);
  }
  // What the editor was given on its n-th run, and what it writes then.
  std::string Seen(int run) const { return ReadAll(editorDir_ + "\\seen" + std::to_string(run) + ".txt"); }
  bool Ran(int run) const { return Exists(editorDir_ + "\\seen" + std::to_string(run) + ".txt"); }
  void WillWrite(int run, const std::string& text) const {
    WriteBytes(editorDir_ + "\\write" + std::to_string(run) + ".txt", text);
  }
  void WillSetScript(int run, const std::string& script) const {
    WriteBytes(editorDir_ + "\\script" + std::to_string(run) + ".txt", script);
  }
  std::string EditorCommands() const { return ReadAll(editorDir_ + "\\commands.txt"); }

  PROCESS_INFORMATION process_{};
  std::string runDir_, editorDir_, boxLog_;
};

// A test of the running manager: a new, empty data folder and the message
// boxes logged to a file of the given name and answered OK; the manager is
// ended and both removed afterwards.
class RunningManagerTest : public ::testing::Test {
 protected:
  explicit RunningManagerTest(const char* boxLogName) : boxLogName_(boxLogName) {}
  void SetUp() override {
    boxLog_ = UseBoxLog(boxLogName_);
    FreshDataFolder();
  }
  void TearDown() override {
    manager_.End();
    DeleteFileA(boxLog_.c_str());
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  }
  std::string Boxes() const { return ReadAll(boxLog_); }

  RunningManager manager_;
  std::string boxLog_;

 private:
  const char* boxLogName_;
};

}  // namespace mgrtest
