// Opening under the edit lock and comment editing against a real FTP server
// (pyftpdlib), with the real noteLens.exe, the stand-in spreadsheet and real
// viewer processes: what the real window cannot show from outside (the lock
// while the report is shown, workbook passwords, failures mid-row). The
// report window's grid and lists are given by a small table (TestRows).
#include "tests/transfer/FtpTestSupport.h"

#include <functional>
#include <map>
#include <vector>

#include "common/FileSystem.h"
#include "common/ViewerLookup.h"
#include "forms/MessageBox.h"
#include "manager/ManagerSettings.h"
#include "manager/ManagerUtilities.h"
#include "manager/ReportOpening.h"
#include "manager/ReportWindow.h"
#include "office/portable/WorkbookPassword.h"

using namespace ftptest;

namespace {

const std::string kDay = "20061020";
const std::string kBase = "PRJ_PC0120061020103100001";


class TestRows : public ReportRows {
 public:
  // One row per report, shown in the order given.
  void AddRow(const std::string& fileName, const std::string& fileType, const std::string& comment) {
    CatalogueLists::Row row{};
    row[kColDate] = "2006/10/20";
    row[kColTime] = "10:31:00";
    row[kColFileType] = fileType;
    row[kColComment] = comment;
    row[kColFileName] = fileName;
    row[kColStatus] = "1";
    rows.push_back(row);
    lists.Clear();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) lists.InsertFront(*it);
    top = 1;
    bottom = static_cast<int>(rows.size());
  }
  int SelectionTop() const override { return top; }
  int SelectionBottom() const override { return bottom; }
  std::string Cell(int col, int row) const override {
    return row >= 1 && row <= static_cast<int>(rows.size()) ? rows[row - 1][col] : "";
  }
  void SetCell(int col, int row, const std::string& text) override { rows[row - 1][col] = text; }
  CatalogueLists& Lists() override { return lists; }
  void StartPanel(const std::string& message) override { events.push_back("StartPanel:" + message); }
  void EndPanel() override { events.push_back("EndPanel"); }
  void ListDisp() override { events.push_back("ListDisp"); }
  void SetProgress(const std::string& text) override {
    if (onProgress) onProgress(text);
  }
  void SetStatusText(const std::string& text) override { status = text; }
  void StopAnimation() override {}
  void StartAnimation() override {}
  bool AbortRequested() const override { return false; }
  bool SpreadsheetAvailable() const override { return spreadsheet; }
  std::optional<std::string> GetTagFileName(const std::string&, const std::string& base) override {
    return tagOf.count(base) ? tagOf[base] : "";
  }

  std::vector<CatalogueLists::Row> rows;
  CatalogueLists lists;
  int top = 0, bottom = 0;
  bool spreadsheet = false;
  std::map<std::string, std::string> tagOf;  // what the tag folder listing would find
  std::function<void(const std::string&)> onProgress;
  std::vector<std::string> events;
  std::string status;
};

class ReportOpeningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Env("KESTRO_TEST_FTP_HOST").empty()) << "run through tests/servers/run_with_server.py";
    const std::string base = LocalFolder() + "open\\";
    ForceDirectories(base);
    EmptyFolder(base);
    gDataDir = base + "data\\";
    work = gDataDir + "Temp\\";
    ForceDirectories(work);
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    gExeDir = path;
    gExeDir.erase(gExeDir.rfind('\\') + 1);  // noteLens.exe is built beside the tests
    gServerRoot = "kestro";
    gMgr.SAVE = 1;
    gMgr.server = Env("KESTRO_TEST_FTP_HOST");
    gMgr.user = Env("KESTRO_TEST_FTP_USER");
    gMgr.EXCELPWD = "1";
    gMgr.COMMENTPOS = "I8";
    ForceDirectories(CatalogueFolder());
    ftpLogDir = gDataDir;
    ftpVariant = transfer::FtpVariant::Manager;
    ftp.reset(new TTmxFtp());
    ASSERT_TRUE(ftp->Create());
    TmxFtp = ftp.get();
    ftp->host = gMgr.server;
    ftp->userid = gMgr.user;
    ftp->passwd = Env("KESTRO_TEST_FTP_PASS");
    ftp->TimeOut = kManagerTimeOut;
    store = ServerKestro();
    EmptyFolder(store);
    ForceDirectories(store + kDay);
    ForceDirectories(store + kDay + "tag");
    forms::SetMessageBoxHook([this](const forms::MessageBoxRecord& box) {
      boxes.push_back(box);
      return IDOK;
    });
    SetEnvironmentVariableA("NOTELENS_ANSWER", nullptr);
    SetEnvironmentVariableA("NOTELENS_RECORD", nullptr);
    SetEnvironmentVariableA("KESTRO_TEST_HANDOFF_MS", "0");  // Wine's CMD hands workbooks to nobody
  }
  void TearDown() override {
    forms::SetMessageBoxHook(nullptr);
    TmxFtp = nullptr;
    ftp.reset();
  }
  std::string Day(const std::string& name) const { return store + kDay + "\\" + name; }
  std::string Tag(const std::string& name) const { return store + kDay + "tag\\" + name; }
  std::string Catalogue(const std::string& section, const std::string& key) const {
    char value[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", value, sizeof value,
                             (CatalogueFolder() + kDay + ".ini").c_str());
    return value;
  }
  std::string SysLog() const {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char name[32];
    snprintf(name, sizeof name, "syslog\\%04d%02d%02d.txt", now.wYear, now.wMonth, now.wDay);
    return ReadFileBytes(gDataDir + name);
  }
  // Relay.ini as this process's Go.bat wrote it, then naming the test's viewer.
  void UseViewer(const std::string& command) {
    ASSERT_TRUE(fncSetRelay(gDataDir, "Temp\\", nullptr));
    for (int i = 0; i < 300 && fncGetRelay("htmlfile").empty(); ++i) Sleep(100);  // its last line
    WriteFileBytes(work + "Relay.ini", "[relay]\r\nhtmlfile=" + command + "\r\n");
  }
  // Notes at the viewer's (or editor's) start whether the report is under
  // its lock on the server.
  void WatchLock(const std::string& report) {
    rows.onProgress = [this, report](const std::string& text) {
      if (text == "対象ファイルアプリケーション起動中")
        lockedAtViewer = FileExists(Day(report + ".UPD")) && !FileExists(Day(report));
    };
  }

  TForm1 form;  // its store operations need no window
  std::unique_ptr<TTmxFtp> ftp;
  TestRows rows;
  std::string work, store;
  std::vector<forms::MessageBoxRecord> boxes;
  bool lockedAtViewer = false;
};

TEST_F(ReportOpeningTest, LockIsHeldWhileTheViewerAndTheEditorRun) {
  const std::string report = kBase + ".jpg";
  WriteFileBytes(Day(report), "jpeg");
  UseViewer("cmd.exe /c rem");
  rows.AddRow(report, "JPG", "");
  WatchLock(report);
  form.fncOpenReports(rows);
  EXPECT_TRUE(lockedAtViewer) << SysLog();
  EXPECT_EQ(rows.events, (std::vector<std::string>{"StartPanel:サーバーと通信中です。お待ちください・・", "EndPanel",
                                                   "ListDisp"}));
  EXPECT_EQ(rows.status, "2006/10/20,10:31:00,ファイル名=" + report + "を開いています。");

  lockedAtViewer = false;
  SetEnvironmentVariableA("NOTELENS_ANSWER", "OK:memo");
  form.fncEditComment(rows);
  EXPECT_TRUE(lockedAtViewer);
  EXPECT_TRUE(FileExists(Day(report))) << SysLog();
  EXPECT_FALSE(FileExists(Day(report + ".UPD")));
  EXPECT_EQ(rows.lists.Cell(kColComment, 0), "memo");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ReportOpeningTest, HeldReportIsRefusedAndAFailedFetchReleasesTheLock) {
  const std::string held = "PC0120061020090000001.jpg", broken = "PC0120061020091500002.jpg";
  WriteFileBytes(Day(held + ".UPD"), "in another manager's hands");
  ForceDirectories(Day(broken));  // renames like a file, cannot be fetched
  rows.AddRow(held, "JPG", "");
  rows.AddRow(broken, "JPG", "");

  form.fncOpenReports(rows);
  ASSERT_EQ(boxes.size(), 2u) << SysLog();
  EXPECT_EQ(boxes[0].text, held + " <-編集中のため参照できませんでした。続行しますか？");
  EXPECT_EQ(boxes[0].caption, "ケストロ管理画面");
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OKCANCEL | MB_DEFBUTTON2));
  EXPECT_EQ(boxes[1].text, broken + " <-編集中のため参照できませんでした。");
  EXPECT_EQ(boxes[1].flags, static_cast<UINT>(MB_OK));
  EXPECT_EQ(Catalogue(held, "STATUS"), "2");
  EXPECT_EQ(rows.lists.Cell(kColStatus, 0), "2");
  EXPECT_TRUE(FileExists(Day(held + ".UPD")));
  EXPECT_FALSE(FileExists(work + held + ".UPD"));
  EXPECT_TRUE(FolderExists(Day(broken)));
  EXPECT_FALSE(FolderExists(Day(broken + ".UPD")));
  EXPECT_EQ(rows.events.back(), "EndPanel");
}

TEST_F(ReportOpeningTest, AnAnswerWithoutAnyLineFailsTheOperationButReleasesTheLock) {
  const std::string report = kBase + ".jpg";
  WriteFileBytes(Day(report), "jpeg");
  UseViewer("cmd.exe /c rem");
  rows.AddRow(report, "JPG", "");
  // An editor that leaves an empty answer file behind.
  rows.onProgress = [this](const std::string& text) {
    if (text == "対象ファイルアプリケーション起動中") WriteFileBytes(work + "comment.tmp", "");
  };
  form.fncOpenReports(rows);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "ファイル参照に失敗しました。");
  EXPECT_NE(SysLog().find("★異常検出"), std::string::npos);
  EXPECT_TRUE(FileExists(Day(report))) << SysLog();
  EXPECT_FALSE(FileExists(Day(report + ".UPD")));
  EXPECT_EQ(rows.events.back(), "EndPanel");
}

class WorkbookOpeningTest : public ReportOpeningTest {
 protected:
  std::string Workbook(const std::string& password, const std::string& comment) const {
    return "XLSTANDIN-WORKBOOK 1\n" + (password.empty() ? "" : "PASSWORD\t" + password + "\n") +
           "SHEET\tSheet1\nCELL\tI8\t@\ts\t" + comment + "\n";
  }
};

TEST_F(WorkbookOpeningTest, PasswordComesOffForViewingAndGoesBackOn) {
  ASSERT_EQ(form.fucXlsFind(), 1) << "the stand-in spreadsheet is not registered in this prefix";
  std::string password;
  ASSERT_TRUE(office::fncMakePwd("20061020103100", password));
  const std::string report = kBase + ".xls";
  WriteFileBytes(Day(report), Workbook(password, "check"));
  WriteFileBytes(Tag(kBase + "_old.tag"), "");
  rows.AddRow(report, "XLS", "old");
  rows.tagOf[kBase] = kBase + "_old.tag";
  rows.spreadsheet = true;
  bool openWhileViewed = false;
  rows.onProgress = [&](const std::string& text) {
    if (text != "対象ファイルアプリケーション起動中") return;
    lockedAtViewer = FileExists(Day(report + ".UPD"));
    openWhileViewed = ReadFileBytes(work + report).find("PASSWORD") == std::string::npos;
  };

  form.fncOpenReports(rows);
  EXPECT_TRUE(lockedAtViewer) << SysLog();
  EXPECT_TRUE(openWhileViewed);
  ASSERT_TRUE(FileExists(Day(report)));
  EXPECT_FALSE(FileExists(Day(report + ".UPD")));
  EXPECT_NE(ReadFileBytes(Day(report)).find("PASSWORD\t" + password + "\n"), std::string::npos);
  EXPECT_EQ(Catalogue(report, "COMMENT"), "check");
  EXPECT_TRUE(FileExists(Tag(kBase + "_check.tag")));
  EXPECT_FALSE(FileExists(Tag(kBase + "_old.tag")));
  EXPECT_FALSE(FileExists(work + report + ".pwd"));
  EXPECT_TRUE(boxes.empty());

  // A copied workbook whose password is not the report's: the box, and the
  // lock goes again because nothing was changed.
  WriteFileBytes(Day(report), Workbook("1", "check"));
  form.fncOpenReports(rows);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, report + " <-パスワードが解読できません。コピーされたファイルの可能性があります。");
  EXPECT_TRUE(FileExists(Day(report))) << SysLog();
  EXPECT_FALSE(FileExists(Day(report + ".UPD")));
  EXPECT_EQ(ReadFileBytes(Day(report)), Workbook("1", "check"));

  // The password cannot go back on (the viewed copy was spoilt): the
  // unprotected copy is not put back; the protected original stays.
  const std::string protectedBook = Workbook(password, "check");
  WriteFileBytes(Day(report), protectedBook);
  rows.onProgress = [&](const std::string& text) {
    if (text == "対象ファイルアプリケーション起動中") WriteFileBytes(work + report, "not a workbook");
  };
  form.fncOpenReports(rows);
  EXPECT_EQ(boxes.size(), 2u);  // the box that says where the copy is kept
  EXPECT_EQ(ReadFileBytes(Day(report)), protectedBook) << SysLog();
  EXPECT_FALSE(FileExists(Day(report + ".UPD")));
  rows.onProgress = nullptr;

  // Without spreadsheet automation the password cannot come off: the row is
  // refused before the lock is taken.
  rows.spreadsheet = false;
  const size_t renames = CountOf(SysLog(), report + "→" + report + ".UPD");
  form.fncOpenReports(rows);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[2].text, boxes[0].text);
  EXPECT_EQ(CountOf(SysLog(), report + "→" + report + ".UPD"), renames);
  EXPECT_TRUE(FileExists(Day(report)));
}

}  // namespace
