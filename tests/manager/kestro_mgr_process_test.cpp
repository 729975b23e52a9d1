// The real kestroMgr.exe, started as a process and driven through its
// windows: settings defaults, the remembered server and user, the login
// against a real FTP server, the fetch of downloader.ini and the second copy.
#include <gtest/gtest.h>

#include <string>

#include "tests/manager/ManagerTestSupport.h"

using namespace mgrtest;

namespace {

constexpr char kOldUpdaterIni[] = "[DOWNLOADER]\r\nPROJECT=old\r\n";
constexpr char kStoreUpdaterIni[] = "[DOWNLOADER]\r\nPROJECT=kestro\r\nSERVER=store\r\n";

class KestroMgrProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    boxLog_ = UseBoxLog("kestro_mgr_boxes.txt");
    FreshDataFolder();
    updaterIni_ = ProgramFolder() + "downloader.ini";
    WriteBytes(updaterIni_, kOldUpdaterIni);
  }
  void TearDown() override {
    for (PROCESS_INFORMATION* p : {&first_, &second_}) EndKestro(*p);
    DeleteFileA(boxLog_.c_str());
    DeleteFileA(updaterIni_.c_str());
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  }
  static void ForceFolder(const std::string& folder) {
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
      CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
  }
  std::string Boxes() const { return ReadAll(boxLog_); }
  // Clicks the login button; the click returns once the login has ended.
  void Login(const LoginFields& fields, const std::string& password) {
    if (!password.empty()) SetTextOf(fields.password, password);
    SendMessageA(fields.login, BM_CLICK, 0, 0);
  }
  // Closes the report window, which ends the program.
  void CloseReportWindow(PROCESS_INFORMATION& process) {
    HWND report = ReportWindow(1000);
    ASSERT_NE(report, nullptr);
    PostMessageA(report, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Ended(process, 15000));
    EndKestro(process);
  }

  PROCESS_INFORMATION first_{}, second_{};
  std::string boxLog_, updaterIni_;
};

TEST_F(KestroMgrProcessTest, WithoutSettingsTheDefaultsAreWrittenAndTheSharedFolderLoginOpensTheReportWindow) {
  // Old logs and work files: the start removes the manager's, keeps the client's.
  ForceFolder(DataFolder() + "syslog\\");
  ForceFolder(DataFolder() + "Temp\\");
  ForceFolder(DataFolder() + "save\\");
  WriteBytes(DataFolder() + "syslog\\20000101.txt", "old\r\n");
  WriteBytes(DataFolder() + "syslog\\FTP20000101.txt", "old\r\n");
  WriteBytes(DataFolder() + "Temp\\tempFile.tmp", "stale");
  WriteBytes(DataFolder() + "Temp\\PRJ_PC0120061020103100001.jpg", "fetched");
  WriteBytes(DataFolder() + "Temp\\000001_123.jpg", "capture of the client");
  WriteBytes(DataFolder() + "save\\downloader.ini", kStoreUpdaterIni);

  ASSERT_TRUE(StartManager(first_));
  HWND login = LoginForm();
  ASSERT_NE(login, nullptr) << ReadLog();
  LoginFields fields = FieldsOf(login);
  ASSERT_TRUE(fields.server && fields.user && fields.password && fields.login);
  // SAVE 0: the three fields are disabled; the defaults are shown and written.
  EXPECT_FALSE(IsWindowEnabled(fields.server));
  EXPECT_FALSE(IsWindowEnabled(fields.user));
  EXPECT_FALSE(IsWindowEnabled(fields.password));
  EXPECT_EQ(TextOf(fields.server), "127.0.0.1");
  EXPECT_EQ(TextOf(fields.user), "anonymous");
  EXPECT_EQ(IniValue("KESTRO", "SERVER"), "127.0.0.1");
  EXPECT_EQ(IniValue("KESTRO", "USERID"), "anonymous");
  EXPECT_EQ(IniValue("KESTRO", "EXCELPWD"), "1");
  EXPECT_EQ(IniValue("KESTRO", "VALIDDAY"), "10");
  EXPECT_EQ(IniValue("KESTRO", "SAVE"), "<none>");
  EXPECT_EQ(IniValue("KESTRO", "FILESAVEPATH"), "<none>");
  EXPECT_EQ(IniValue("KESTROMGR", "SAVEPATH"), DocFolder());
  EXPECT_EQ(IniValue("KESTROMGR", "COMMENTPOS"), "I8");
  EXPECT_EQ(IniValue("KESTROMGR", "IMGPOS1"), "<none>");

  EXPECT_FALSE(Exists(DataFolder() + "syslog\\20000101.txt"));
  EXPECT_FALSE(Exists(DataFolder() + "syslog\\FTP20000101.txt"));
  EXPECT_FALSE(Exists(DataFolder() + "Temp\\tempFile.tmp"));
  EXPECT_FALSE(Exists(DataFolder() + "Temp\\PRJ_PC0120061020103100001.jpg"));
  EXPECT_TRUE(Exists(DataFolder() + "Temp\\000001_123.jpg"));
  const std::string relay = ReadAll(DataFolder() + "Temp\\Go.bat");
  EXPECT_EQ(relay.substr(0, relay.find("\r\n")), "echo [relay]>\"" + DataFolder() + "Temp\\Relay.ini\"");

  Login(fields, "");
  ASSERT_NE(ReportWindow(), nullptr) << ReadLog();
  EXPECT_FALSE(IsWindowVisible(login));
  EXPECT_EQ(ReadAll(updaterIni_), kStoreUpdaterIni);
  EXPECT_FALSE(Exists(DataFolder() + "Temp\\tempFile.tmp"));
  EXPECT_EQ(IniValue("KESTROMGR", "LASTTARGET"), "127.0.0.1");
  EXPECT_EQ(IniValue("KESTROMGR", "LASTUSERID"), "anonymous");
  EXPECT_EQ(IniValue("KESTROMGR", "ADDITIONALSERVERCOUNT"), "<none>");
  const std::string log = ReadLog();
  for (const char* line : {",(KestroMgr),ログイン画面起動\r\n", ",(KestroMgr),ログイン開始,127.0.0.1,anonymous\r\n",
                           ",(KestroMgr),ログイン成功\r\n", ",(KestroMgr),DeleteLog->"})
    EXPECT_NE(log.find(line), std::string::npos) << line;
  EXPECT_EQ(Boxes(), "");
  CloseReportWindow(first_);
}

TEST_F(KestroMgrProcessTest, ASharedFolderWithoutTrailingBackslashStillServesTheUpdaterSettings) {
  const std::string store = DataFolder() + "share表";
  ForceFolder(store + "\\");
  WriteBytes(store + "\\downloader.ini", kStoreUpdaterIni);
  WriteBytes(DataFolder() + "Kestro.ini", "[KESTRO]\r\nSAVE=2\r\nVALIDDAY=0\r\nFILESAVEPATH=" + store + "\r\n");
  ASSERT_TRUE(StartManager(first_));
  HWND login = LoginForm();
  ASSERT_NE(login, nullptr);
  EXPECT_TRUE(IsWindowEnabled(FieldsOf(login).server));  // only SAVE 0 disables them
  Login(FieldsOf(login), "");
  ASSERT_NE(ReportWindow(), nullptr) << ReadLog();
  EXPECT_EQ(ReadAll(updaterIni_), kStoreUpdaterIni);
  EXPECT_EQ(IniValue("KESTRO", "FILESAVEPATH"), store);  // not written back
  // VALIDDAY "0" keeps ten days: today's log stays, the value is logged once for both clean-ups.
  const std::string log = ReadLog(), note = "VALIDDAY=0<-正の整数ではないため10日とします。\r\n";
  EXPECT_TRUE(log.find(note) != std::string::npos && log.find(note) == log.rfind(note)) << log;
  CloseReportWindow(first_);
}

TEST_F(KestroMgrProcessTest, TheLastLoginWinsAWrongPasswordFailsAndANewServerIsAddedOnce) {
  const std::string host = EnvValue("KESTRO_TEST_FTP_HOST"), user = EnvValue("KESTRO_TEST_FTP_USER");
  ASSERT_FALSE(host.empty()) << "run through tests/servers/run_with_server.py";
  WriteBytes(FtpServerRoot() + "kestro\\downloader.ini", kStoreUpdaterIni);
  WriteBytes(DataFolder() + "Kestro.ini",
             "[KESTRO]\r\nSAVE=1\r\nSERVER=127.0.0.1\r\nUSERID=someone\r\nVALIDDAY=10\r\n"
             "[KESTROMGR]\r\nLASTTARGET=" + host + "\r\nLASTUSERID=" + user +
                 "\r\nADDITIONALSERVERCOUNT=1\r\nLISTSERVER1=127.0.0.1\r\nIMGPOS1=b5\r\n");

  ASSERT_TRUE(StartManager(first_));
  HWND login = LoginForm();
  ASSERT_NE(login, nullptr);
  LoginFields fields = FieldsOf(login);
  EXPECT_TRUE(IsWindowEnabled(fields.server));
  EXPECT_EQ(TextOf(fields.server), host);
  EXPECT_EQ(TextOf(fields.user), user);
  // [KESTRO] SERVER is listed once, though LISTSERVER1 names it too.
  EXPECT_EQ(SendMessageA(fields.server, CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(fields.server, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("127.0.0.1")), 0);

  // Enter walks server -> user -> password -> server and starts no login.
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  auto focusAfterEnter = [&](HWND field) {
    SendMessageA(field, WM_CHAR, '\r', 0);
    GetGUIThreadInfo(first_.dwThreadId, &info);
    return info.hwndFocus;
  };
  HWND serverEdit = FindWindowExA(fields.server, nullptr, "EDIT", nullptr);
  EXPECT_EQ(focusAfterEnter(serverEdit), fields.user);
  EXPECT_EQ(focusAfterEnter(fields.user), fields.password);
  EXPECT_EQ(focusAfterEnter(fields.password), serverEdit);
  EXPECT_EQ(TextOf(fields.user), user);
  EXPECT_EQ(ReadLog().find("ログイン開始"), std::string::npos);

  Login(fields, "wrong");
  EXPECT_NE(Boxes().find("TmxFTP\tFTPサーバーにログインできませんでした。\t0\r\n"), std::string::npos) << Boxes();
  EXPECT_TRUE(IsWindowVisible(login));
  EXPECT_TRUE(IsWindowEnabled(login));
  EXPECT_EQ(ReportWindow(500), nullptr);
  EXPECT_EQ(ReadAll(updaterIni_), kOldUpdaterIni);
  EXPECT_EQ(IniValue("KESTROMGR", "ADDITIONALSERVERCOUNT"), "1");
  EXPECT_NE(ReadLog().find(",(KestroMgr),ログイン失敗\r\n"), std::string::npos);

  Login(fields, EnvValue("KESTRO_TEST_FTP_PASS"));
  ASSERT_NE(ReportWindow(), nullptr) << ReadLog();
  EXPECT_EQ(ReadAll(updaterIni_), kStoreUpdaterIni);  // fetched from /kestro/downloader.ini
  EXPECT_EQ(IniValue("KESTROMGR", "ADDITIONALSERVERCOUNT"), "2");
  EXPECT_EQ(IniValue("KESTROMGR", "LISTSERVER2"), host);
  EXPECT_EQ(IniValue("KESTROMGR", "LASTTARGET"), host);
  EXPECT_EQ(IniValue("KESTROMGR", "LASTUSERID"), user);
  EXPECT_EQ(IniValue("KESTRO", "SERVER"), "127.0.0.1");
  EXPECT_EQ(IniValue("KESTRO", "USERID"), "someone");
  EXPECT_EQ(IniValue("KESTROMGR", "IMGPOS1"), "b5");
  CloseReportWindow(first_);

  // The next start lists the server; logging in to it again adds nothing.
  ASSERT_TRUE(StartManager(first_));
  login = LoginForm();
  ASSERT_NE(login, nullptr);
  fields = FieldsOf(login);
  EXPECT_EQ(SendMessageA(fields.server, CB_GETCOUNT, 0, 0), 2);
  Login(fields, EnvValue("KESTRO_TEST_FTP_PASS"));
  ASSERT_NE(ReportWindow(), nullptr) << ReadLog();
  EXPECT_EQ(IniValue("KESTROMGR", "ADDITIONALSERVERCOUNT"), "2");
  EXPECT_EQ(IniValue("KESTROMGR", "LISTSERVER3"), "<none>");
  CloseReportWindow(first_);
}

TEST_F(KestroMgrProcessTest, KeysThatCouldNotBeReadAreNotWrittenBack) {
  const std::string ini = DataFolder() + "Kestro.ini", kept = "SAVEPATH=D:\\out\\\r\nTANNAME=山田\r\nIMGPOS1=C3\r\n";
  WriteBytes(ini, "[KESTRO]\r\nSAVE=1\r\nSERVER=192.0.2.7\r\n[KESTROMGR]\r\n" + kept);
  // The client writes it during the whole start.
  HANDLE held = CreateFileA(ini.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(StartManager(first_));
  HWND login = LoginForm(90000);
  CloseHandle(held);
  ASSERT_TRUE(login) << Boxes();
  EXPECT_NE(ReadAll(ini).find("\r\nSERVER=192.0.2.7\r\n"), std::string::npos) << ReadAll(ini);
  LoginFields fields = FieldsOf(login);
  EXPECT_TRUE(IsWindowEnabled(fields.server));  // FTP mode, as SAVE could not be read
  SetTextOf(fields.server, EnvValue("KESTRO_TEST_FTP_HOST"));
  SetTextOf(fields.user, EnvValue("KESTRO_TEST_FTP_USER"));
  Login(fields, EnvValue("KESTRO_TEST_FTP_PASS"));
  SendMessageA(FindControl(ReportWindow(), "BUTTON", "終了"), BM_CLICK, 0, 0);
  ASSERT_TRUE(Ended(first_, 15000)) << ReadLog();
  EXPECT_NE(ReadAll(ini).find(kept), std::string::npos) << ReadAll(ini);  // the unread keys are not written
}

TEST_F(KestroMgrProcessTest, ASecondCopyShowsItsBoxAndEnds) {
  ASSERT_TRUE(StartManager(first_));
  HWND login = LoginForm();
  ASSERT_NE(login, nullptr);
  ASSERT_TRUE(StartManager(second_));
  ASSERT_TRUE(Ended(second_, 20000));
  EXPECT_EQ(Boxes(), "ケストロ管理画面\t既に起動しています。\t48\r\n");
  EXPECT_TRUE(IsWindowVisible(login));
  EXPECT_FALSE(Ended(first_, 0));
  PostMessageA(login, WM_CLOSE, 0, 0);  // closing the login form ends the program
  EXPECT_TRUE(Ended(first_, 15000));
}

}  // namespace
