// The report window's four store operations against a real FTP server and
// against a shared folder, and the manager's INI access with its retries.
#include "tests/transfer/FtpTestSupport.h"

#include <vector>

#include "common/FileSystem.h"
#include "forms/MessageBox.h"
#include "manager/IniFiles.h"
#include "manager/ManagerSettings.h"
#include "manager/ReportWindow.h"
#include "transfer/FtpLog.h"

using namespace ftptest;

namespace {

const std::string kDay = "20061020";
const std::string kReport = "PRJ_PC0120061020103100001.jpg";

class ReportStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string base = LocalFolder() + "store\\";
    ForceDirectories(base);
    EmptyFolder(base);
    gDataDir = base + "data\\";
    ForceDirectories(gDataDir);
    work = gDataDir + "Temp\\";
    gServerRoot = "kestro";
    ftpLogDir = gDataDir;
    ftpVariant = transfer::FtpVariant::Manager;
    ftp.reset(new TTmxFtp());
    ASSERT_TRUE(ftp->Create());
    TmxFtp = ftp.get();
    ftp->host = Env("KESTRO_TEST_FTP_HOST");
    ftp->userid = Env("KESTRO_TEST_FTP_USER");
    ftp->passwd = Env("KESTRO_TEST_FTP_PASS");
    ftp->TimeOut = kManagerTimeOut;
    boxes.clear();
    forms::SetMessageBoxHook([this](const forms::MessageBoxRecord& box) {
      boxes.push_back(box);
      return IDOK;
    });
  }
  void TearDown() override {
    forms::SetMessageBoxHook(nullptr);
    TmxFtp = nullptr;
    ftp.reset();
  }
  void UseFtp() {
    ASSERT_FALSE(Env("KESTRO_TEST_FTP_HOST").empty()) << "run through tests/servers/run_with_server.py";
    gMgr.SAVE = 1;
    store = ServerKestro();
    EmptyFolder(store);
  }
  void UseSharedFolder() {
    gMgr.SAVE = 0;
    store = LocalFolder() + "store\\share\\";
    ForceDirectories(store);
    gMgr.FILESAVEPATH = store;
  }
  std::string SysLog() const {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char name[32];
    snprintf(name, sizeof name, "syslog\\%04d%02d%02d.txt", now.wYear, now.wMonth, now.wDay);
    return ReadFileBytes(gDataDir + name);
  }
  bool Logged(const std::string& message) const {
    return SysLog().find(",(KestroMgr)," + message + "\r\n") != std::string::npos;
  }

  // The four operations on one report and its tag file in the current mode,
  // including the failures that must leave both sides as they were.
  void RunStoreRoad(const std::string& report, const std::string& comment) {
    ForceDirectories(store + kDay);
    WriteFileBytes(store + kDay + "\\" + report, RandomBytes(30000, 7));
    ASSERT_EQ(form.ftpGetFile(kDay, report), 0) << SysLog();
    EXPECT_EQ(ReadFileBytes(work + report), ReadFileBytes(store + kDay + "\\" + report));
    EXPECT_FALSE(FileExists(work + "tempFile.tmp"));
    EXPECT_TRUE(Logged("ダウンロード完了2"));

    // A failed fetch keeps the earlier local copy and leaves no work file.
    WriteFileBytes(work + "missing.jpg", "earlier copy");
    EXPECT_EQ(form.ftpGetFile(kDay, "missing.jpg"), -2);
    EXPECT_EQ(ReadFileBytes(work + "missing.jpg"), "earlier copy");
    EXPECT_FALSE(FileExists(work + "tempFile.tmp"));

    // The empty folder is the store root.
    WriteFileBytes(store + "projectlist.txt", "営業\r\n開発\r\n");
    ASSERT_EQ(form.ftpGetFile("", "projectlist.txt"), 0);
    EXPECT_EQ(ReadFileBytes(work + "projectlist.txt"), "営業\r\n開発\r\n");

    // Lock, then release: the rename never replaces nor invents a file.
    const std::string locked = report + ".UPD";
    ASSERT_EQ(form.ftpReNameFile(kDay, report, locked), 0) << SysLog();
    EXPECT_FALSE(FileExists(store + kDay + "\\" + report));
    EXPECT_TRUE(FileExists(store + kDay + "\\" + locked));
    EXPECT_EQ(form.ftpReNameFile(kDay, report, "other.jpg"), -2);
    EXPECT_FALSE(FileExists(store + kDay + "\\other.jpg"));
    EXPECT_TRUE(Logged("リネームエラー9"));

    // A stored file reaches a folder that did not exist.
    const std::string tag = report.substr(0, report.size() - 4) + "_" + comment + ".tag";
    WriteFileBytes(work + tag, "[note]\r\nCREATE=PC\r\n");
    ASSERT_EQ(form.ftpPutFile(kDay + "tag", tag), 0) << SysLog();
    EXPECT_EQ(ReadFileBytes(store + kDay + "tag\\" + tag), "[note]\r\nCREATE=PC\r\n");
    EXPECT_TRUE(Logged("アップロード完了11"));
    EXPECT_EQ(form.ftpPutFile(kDay, "absent.jpg"), -2);
    EXPECT_TRUE(Logged("ファイル送信エラー12"));

    ASSERT_EQ(form.ftpDelFile(kDay, locked), 0);
    EXPECT_FALSE(FileExists(store + kDay + "\\" + locked));
    EXPECT_EQ(form.ftpDelFile(kDay, locked), -2);
    EXPECT_TRUE(Logged("ファイル削除エラー6"));
    EXPECT_TRUE(boxes.empty());
  }

  TForm1 form;  // its store operations need no window
  std::unique_ptr<TTmxFtp> ftp;
  std::string work, store;
  std::vector<forms::MessageBoxRecord> boxes;
};

TEST_F(ReportStoreTest, FtpOperationsEachLogInAndOut) {
  UseFtp();
  // pyftpdlib keeps names as bytes; the test reads the disk in UTF-8, so ASCII here.
  RunStoreRoad(kReport, "check");
  const std::string ftpLog = ReadFtpLog(gDataDir);
  EXPECT_EQ(CountOf(ftpLog, "Login Complete"), CountOf(ftpLog, "Disconnect start."));
  EXPECT_TRUE(Logged("切断完了"));
  EXPECT_TRUE(Logged("FTP切断完了"));
  EXPECT_TRUE(Logged("ファイル取得エラー3"));

  // A folder and a name with "\" go out with "/".
  ForceDirectories(store + kDay + "\\sub");
  WriteFileBytes(store + kDay + "\\sub\\a.jpg", "in a sub folder");
  ASSERT_EQ(form.ftpGetFile(kDay + "\\sub", "a.jpg"), 0) << SysLog();
  EXPECT_EQ(ReadFileBytes(work + "a.jpg"), "in a sub folder");
}

TEST_F(ReportStoreTest, AFailedFtpLoginShowsItsBoxOnceAndDoesNotDisconnect) {
  UseFtp();
  ftp->passwd = "wrong";
  WriteFileBytes(store + "projectlist.txt", "x");
  const size_t disconnects = CountOf(ReadFtpLog(gDataDir), "Disconnect start.");
  EXPECT_EQ(form.ftpGetFile("", "projectlist.txt"), -1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "ケストロ管理画面");
  EXPECT_EQ(boxes[0].text,
            "接続できませんでした。\r\n・接続先のIPアドレスが正しいかどうか、\r\n・FTPサービスが開始されているか、\r\n"
            "を確認してください。");
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK));
  EXPECT_TRUE(Logged("接続エラー"));
  EXPECT_EQ(CountOf(ReadFtpLog(gDataDir), "Disconnect start."), disconnects);
  EXPECT_FALSE(FileExists(work + "projectlist.txt"));
}

TEST_F(ReportStoreTest, SharedFolderOperationsKeepDoubleByteNames) {
  UseSharedFolder();
  RunStoreRoad("表示_ソフト20061020103100001.jpg", "要確認");
  EXPECT_TRUE(Logged("コピー元ファイルが存在しません。"));
  // A rename onto an existing name fails and keeps both files.
  WriteFileBytes(store + kDay + "\\a.jpg", "a");
  WriteFileBytes(store + kDay + "\\b.jpg", "b");
  EXPECT_EQ(form.ftpReNameFile(kDay, "a.jpg", "b.jpg"), -2);
  EXPECT_EQ(ReadFileBytes(store + kDay + "\\a.jpg"), "a");
  EXPECT_EQ(ReadFileBytes(store + kDay + "\\b.jpg"), "b");
}

TEST_F(ReportStoreTest, IniAccessRetriesALockedFileThenShowsItsBox) {
  const std::string ini = gDataDir + "Kestro.ini";
  EXPECT_EQ(IniReadString(ini, "KESTRO", "SAVE"), "");  // a missing file is no failure
  EXPECT_TRUE(boxes.empty());
  ASSERT_EQ(IniWriteString(ini, "KESTRO", "SERVER", "s"), 0);
  ASSERT_EQ(IniWriteString(ini, "KESTROMGR", "LASTTARGET", "retry"), 0);
  ASSERT_EQ(IniWriteString(ini, "kestro", "USERID", "u"), 0);
  EXPECT_EQ(ReadFileBytes(ini), "[KESTRO]\r\nSERVER=s\r\nUSERID=u\r\n\r\n[KESTROMGR]\r\nLASTTARGET=retry\r\n\r\n");

  // A stored "retry" is a value; a held file fails five tries, then the box.
  EXPECT_EQ(IniReadString(ini, "KESTROMGR", "LASTTARGET"), "retry");
  HANDLE held = CreateFileA(ini.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD start = GetTickCount();
  EXPECT_EQ(IniReadString(ini, "KESTRO", "SERVER"), "");
  EXPECT_GE(GetTickCount() - start, 1100u);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "KestroMgr");
  EXPECT_EQ(boxes[0].text, "INIファイルの操作に失敗しました。権限がありません。");

  // Held by another writer: reads and writes fail after their tries.
  EXPECT_EQ(IniWriteString(ini, "KESTRO", "SERVER", "t"), -1);
  std::vector<std::string> sections;
  EXPECT_EQ(IniGetList(ini, sections), -1);
  EXPECT_EQ(boxes.size(), 3u);
  CloseHandle(held);
  EXPECT_EQ(IniReadString(ini, "KESTRO", "SERVER"), "s");  // nothing was lost

  ASSERT_EQ(IniWriteAllSections(ini, {"A", "B"}, "STATUS", "1"), 0);
  ASSERT_EQ(IniGetList(ini, sections), 0);
  EXPECT_EQ(sections, (std::vector<std::string>{"KESTRO", "KESTROMGR", "A", "B"}));
  // Catalogue values: READ and IMPORTANT are not written over.
  ASSERT_EQ(IniWriteString(ini, "A", "READ", "1"), 0);
  IniCatalogueValues put;
  put.STATUS = {"0", "1"};
  put.COMMENT = {"要確認", ""};
  put.PROJECT = {"PRJ"};
  ASSERT_EQ(IniPutCatalogue(ini, {" A ", "", "B"}, put), 0);
  IniCatalogueValues got;
  ASSERT_EQ(IniGetCatalogue(ini, {"A", "B", "C"}, got), 0);
  EXPECT_EQ(got.STATUS, (std::vector<std::string>{"0", "", ""}));  // B has index 2, past the lists
  EXPECT_EQ(got.READ, (std::vector<std::string>{"1", "", ""}));
  EXPECT_EQ(got.COMMENT, (std::vector<std::string>{"要確認", "", ""}));
  EXPECT_EQ(got.PROJECT, (std::vector<std::string>{"PRJ", "", ""}));
  EXPECT_EQ(IniGetList(gDataDir + "none.ini", sections), -1);
  EXPECT_EQ(sections, std::vector<std::string>{"error"});
  EXPECT_EQ(boxes.size(), 3u);
}

}  // namespace
