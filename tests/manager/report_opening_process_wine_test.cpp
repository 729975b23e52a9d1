// The real kestroMgr.exe opening a report of its grid against pyftpdlib:
// the edit lock taken and released around the viewer, the tag file made for
// a report that had none, and the refusals that leave no lock behind.
#include <gtest/gtest.h>

#include <string>

#include "office/portable/WorkbookPassword.h"
#include "tests/manager/ManagerRunSupport.h"

using namespace mgrtest;

namespace {

class ReportOpeningProcessTest : public RunningManagerTest {
 protected:
  ReportOpeningProcessTest() : RunningManagerTest("kestro_opening_boxes.txt") {}
  void SetUp() override {
    RunningManagerTest::SetUp();
    FreshServerStore();
  }
  // The viewer command of the login's batch is replaced, once that batch
  // has written its file, by one that records the path it is given.
  void UseRecordingViewer(const std::string& text = "[relay]\r\nhtmlfile=cmd.exe /c echo>viewed.txt\r\n") {
    const std::string relay = DataFolder() + "Temp\\Relay.ini";
    WaitFor([&] { return Exists(relay); }, 15000);
    Sleep(1500);
    WriteBytes(relay, text);
  }
  std::string CatalogueValue(const std::string& day, const std::string& section, const std::string& key) const {
    char value[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", value, sizeof value,
                             (DataFolder() + "CATALOGUE\\" + EnvValue("KESTRO_TEST_FTP_HOST") + "\\" +
                              EnvValue("KESTRO_TEST_FTP_USER") + "\\" + day + ".ini")
                                 .c_str());
    return value;
  }
};

TEST_F(ReportOpeningProcessTest, OpenButtonLocksViewsAndReleasesTheSelectedReport) {
  const std::string day = DayBefore(0);
  const std::string report = "PC01" + day + "093000001.jpg";
  const std::string store = FtpServerRoot() + "kestro\\" + day + "\\";
  PostReport(day, report, "picture bytes");
  ASSERT_TRUE(manager_.Start(day)) << ReadLog();
  UseRecordingViewer();
  manager_.Click("ﾎﾟｽﾄの検索");
  ASSERT_EQ(manager_.Grid().size(), 2u) << ReadLog();  // one row (selected) and the status text

  manager_.Click("画像開く");
  const std::string log = ReadLog();
  EXPECT_NE(log.find(report + "→" + report + ".UPD ファイル名変換開始開始"), std::string::npos) << log;
  EXPECT_NE(log.find(report + ".UPD→" + report + " ファイル名変換開始開始"), std::string::npos);
  EXPECT_NE(log.find("編集ファイルアップロード終了"), std::string::npos);
  EXPECT_EQ(ReadAll(store + report), "picture bytes");
  EXPECT_FALSE(Exists(store + report + ".UPD"));
  const std::string viewed = DataFolder() + "Temp\\viewed.txt";
  EXPECT_TRUE(WaitFor([&] { return Exists(viewed); }, 15000));
  EXPECT_NE(ReadAll(viewed).find("\"" + DataFolder() + "Temp\\" + report + "\""), std::string::npos);
  EXPECT_EQ(CatalogueValue(day, report, "READ"), "1");
  // The report had no tag file: it gets one that names this computer.
  char computer[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = sizeof computer;
  GetComputerNameA(computer, &size);
  std::string upper(computer);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  const std::string tag = FtpServerRoot() + "kestro\\" + day + "tag\\PC01" + day + "093000001_.tag";
  EXPECT_EQ(ReadAll(tag), "[note]\r\nCREATE=" + upper + "\r\n\r\n");
  EXPECT_EQ(ReadAll(boxLog_), "");

  // Taken away under the window's feet: a folder of that name can be
  // renamed but not fetched. The lock taken on it goes again.
  DeleteFileA((store + report).c_str());
  CreateDirectoryA((store + report).c_str(), nullptr);
  manager_.Click("画像開く");
  EXPECT_NE(ReadAll(boxLog_).find(report + " <-編集中のため参照できませんでした。\t0"), std::string::npos)
      << ReadAll(boxLog_);
  EXPECT_TRUE(Exists(store + report));
  EXPECT_FALSE(Exists(store + report + ".UPD"));

  // Held by another manager: refused, and shown as being edited.
  RemoveDirectoryA((store + report).c_str());
  WriteBytes(store + report + ".UPD", "held");
  DeleteFileA(boxLog_.c_str());
  manager_.Click("画像開く");
  EXPECT_NE(ReadAll(boxLog_).find(report + " <-編集中のため参照できませんでした。"), std::string::npos);
  EXPECT_EQ(ReadAll(store + report + ".UPD"), "held");
  EXPECT_EQ(CatalogueValue(day, report, "STATUS"), "2");
}

// A program planted on the store is listed, but refused: never run or locked.
TEST_F(ReportOpeningProcessTest, AFileOfAnotherTypeIsRefusedAndNeverRuns) {
  const std::string day = DayBefore(0), base = "PRJ_PC01" + day + "120000002", report = base + ".bat";
  const std::string store = FtpServerRoot() + "kestro\\" + day + "\\", marker = DataFolder() + "ran.txt";
  PostReport(day, report, "echo ran>\"" + marker + "\"\r\n", base + "_.tag");
  ASSERT_TRUE(manager_.Start(day)) << ReadLog();
  manager_.Click("ﾎﾟｽﾄの検索");
  manager_.Click("画像開く");
  ASSERT_TRUE(WaitFor([&] { return Boxes().find(report + " <-このファイルの種類は開けません。\t0") != std::string::npos; },
                      15000)) << ReadLog();
  EXPECT_TRUE(Exists(store + report) && !Exists(store + report + ".UPD") && !Exists(marker));
}

// A "picture" that is a program, on a PC without a picture viewer: nothing starts.
TEST_F(ReportOpeningProcessTest, APictureWithoutAViewerIsNeverStartedItself) {
  const std::string day = DayBefore(0), report = "PC01" + day + "120000003.jpg";
  PostReport(day, report, ReadAll(ProgramFolder() + "started_marker.exe"));
  ASSERT_TRUE(manager_.Start(day)) << ReadLog();
  UseRecordingViewer("[relay]\r\n");
  manager_.Click("ﾎﾟｽﾄの検索");
  manager_.Click("画像開く");
  ASSERT_TRUE(WaitFor([&] { return Boxes().find(report + " <-表示するプログラムが見つかりません。\t0") != std::string::npos; },
                      15000)) << ReadLog();
  EXPECT_FALSE(Exists(DataFolder() + "Temp\\" + report + ".started"));
}

TEST_F(ReportOpeningProcessTest, DoubleClickOnTheCommentEditsItThroughNoteLens) {
  const std::string day = DayBefore(0);
  const std::string base = "PRJ_PC02" + day + "101500002", report = base + ".jpg";
  const std::string tags = FtpServerRoot() + "kestro\\" + day + "tag\\";
  PostReport(day, report, "picture", base + "_old.tag");
  // noteLens, started by the manager, answers as a user would.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string answer = std::string(temp) + "kestro_notelens_answer.txt";
  WriteBytes(answer, "OK:  fixed_now:;  ");  // loses its blanks, "_", ":" and ";"
  SetEnvironmentVariableA("NOTELENS_ANSWER", ("@" + answer).c_str());
  ASSERT_TRUE(manager_.Start(day)) << ReadLog();
  SetEnvironmentVariableA("NOTELENS_ANSWER", nullptr);
  manager_.Click("ﾎﾟｽﾄの検索");
  ASSERT_EQ(manager_.Grid().size(), 2u) << ReadLog();

  // Row 1, column 8 (the columns before it are 530 pixels wide).
  HWND grid = FindWindowExA(manager_.window, nullptr, "FormsStringGrid", nullptr);
  ASSERT_NE(grid, nullptr);
  auto doubleClickComment = [grid] {
    const LPARAM at = MAKELPARAM(560, 24);
    SendMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(grid, WM_LBUTTONUP, 0, at);
    DWORD_PTR done = 0;
    SendMessageTimeoutA(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, at, SMTO_NORMAL, 60000, &done);
  };
  doubleClickComment();
  const std::string log = ReadLog();
  EXPECT_NE(log.find("## コメント編集終了"), std::string::npos) << log;
  EXPECT_NE(log.find("noteLens.exe\" old\r\n"), std::string::npos);  // the present comment as its tail
  EXPECT_EQ(ReadAll(FtpServerRoot() + "kestro\\" + day + "\\" + report), "picture");
  EXPECT_FALSE(Exists(FtpServerRoot() + "kestro\\" + day + "\\" + report + ".UPD"));
  EXPECT_TRUE(Exists(tags + base + "_fixednow.tag"));
  EXPECT_FALSE(Exists(tags + base + "_old.tag"));
  EXPECT_EQ(CatalogueValue(day, report, "COMMENT"), "fixednow");
  const std::vector<std::string> rows = manager_.Grid();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_NE(rows[0].find("\tfixednow\t" + report + "\t"), std::string::npos) << rows[0];

  // Neither the rename nor a new tag file can take the new name (a folder
  // holds it): the old tag file stays, so the report keeps its one tag.
  CreateDirectoryA((tags + base + "_blocked.tag").c_str(), nullptr);
  WriteBytes(answer, "OK:blocked");
  doubleClickComment();
  EXPECT_TRUE(Exists(tags + base + "_fixednow.tag")) << ReadLog();
  EXPECT_FALSE(Exists(FtpServerRoot() + "kestro\\" + day + "\\" + report + ".UPD"));
  EXPECT_EQ(ReadAll(boxLog_), "");
  DeleteFileA(answer.c_str());
  const std::string book = "PC03" + day + "102000003";
  PostReport(day, book + ".xls", "not a workbook");  // no comment cell: the catalogue's uncleaned one stays
  manager_.Click("ﾎﾟｽﾄの検索");
  WritePrivateProfileStringA((book + ".xls").c_str(), "COMMENT", "..\\..\\..\\x",
                             (DataFolder() + "CATALOGUE\\" + EnvValue("KESTRO_TEST_FTP_HOST") + "\\" +
                              EnvValue("KESTRO_TEST_FTP_USER") + "\\" + day + ".ini").c_str());
  manager_.Click("やり直し");
  doubleClickComment();  // the newer report is row 1
  EXPECT_TRUE(Exists(tags + book + "_x.tag") && !Exists(FtpServerRoot() + "kestro\\x.tag")) << ReadLog();
}

// A report workbook opened by the program copied beside the stand-in
// command interpreter, which plays the user's spreadsheet.
class WorkbookOpeningProcessTest : public ManagerRun {};

TEST_F(WorkbookOpeningProcessTest, AnEditedWorkbookWhosePasswordCannotGoBackOnIsKeptAndNotStored) {
  const std::string day = DayBefore(1), base = "PC01" + day + "093000001", report = base + ".xls";
  const std::string host = EnvValue("KESTRO_TEST_FTP_HOST"), user = EnvValue("KESTRO_TEST_FTP_USER");
  std::string password;
  ASSERT_TRUE(office::fncMakePwd(day + "093000", password));
  auto book = [](const std::string& key, const std::string& comment) {
    return "XLSTANDIN-WORKBOOK 1\n" + (key.empty() ? "" : "PASSWORD\t" + key + "\n") + "SHEET\tSheet1\nCELL\tI8\t@\ts\t" +
           comment + "\n";
  };
  FreshServerStore();
  const std::string store = FtpServerRoot() + "kestro\\" + day;
  ForceFolder(store + "tag\\");
  ForceFolder(store + "\\");
  WriteBytes(store + "\\" + report, book(password, "check"));
  WriteBytes(store + "tag\\" + base + "_check.tag", "");
  // Its catalogue, from a backup, says "xls"; only today is refreshed.
  const std::string catalogue = DataFolder() + "CATALOGUE\\" + host + "\\" + user + "\\";
  ForceFolder(catalogue);
  WriteBytes(catalogue + day + ".ini", "[" + report + "]\r\nSTATUS=1\r\nFILETYPE=xls\r\nCOMMENT=check\r\n");
  WriteBytes(DataFolder() + "Kestro.ini", "[KESTRO]\r\nSAVE=1\r\nVALIDDAY=10\r\n[KESTROMGR]\r\nLASTTARGET=" + host +
                                               "\r\nLASTUSERID=" + user + "\r\nBASEDATE=" + Slashed(day) + "\r\n");
  // The user edits the comment; a folder stands where the protected copy goes.
  WillWrite(1, book("", "edited"));
  WriteBytes(editorDir_ + "\\mkdir1.txt", DataFolder() + "Temp\\" + report + ".pwd");
  HWND window = StartAndLogin();
  ASSERT_NE(window, nullptr) << ReadLog();
  SendMessageA(FindControl(window, "BUTTON", "期間内全更新"), BM_SETCHECK, BST_UNCHECKED, 0);
  ASSERT_TRUE(Click(window, "ﾎﾟｽﾄの検索"));
  ASSERT_TRUE(WaitForLog("リストをグローバルリストへセット完了"));
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(FindControl(window, "BUTTON", "画像開く")) != FALSE; }, 10000));
  ASSERT_TRUE(Click(window, "画像開く"));
  ASSERT_TRUE(WaitForBox(report + " <-パスワードを設定し直せなかったため")) << ReadLog() << Boxes();
  const std::string boxes = Boxes();
  const size_t at = boxes.find(DataFolder() + "EDITED\\");
  ASSERT_NE(at, std::string::npos) << boxes;
  EXPECT_EQ(ReadAll(boxes.substr(at, boxes.find('\t', at) - at)), book("", "edited"));
  EXPECT_EQ(ReadAll(store + "\\" + report), book(password, "check"));
  EXPECT_FALSE(Exists(store + "\\" + report + ".UPD"));
  EXPECT_TRUE(Exists(store + "tag\\" + base + "_check.tag"));
  char comment[64] = {};
  GetPrivateProfileStringA(report.c_str(), "COMMENT", "", comment, sizeof comment,
                           (DataFolder() + "CATALOGUE\\" + host + "\\" + user + "\\" + day + ".ini").c_str());
  EXPECT_STREQ(comment, "check");

  // A password that does not come off (a copied workbook): the lock goes again.
  WriteBytes(store + "\\" + report, book("9999", "check"));
  ASSERT_TRUE(Click(window, "画像開く"));
  ASSERT_TRUE(WaitForBox(report + " <-パスワードが解読できません。")) << ReadLog() << Boxes();
  EXPECT_EQ(ReadAll(store + "\\" + report), book("9999", "check"));
  EXPECT_FALSE(Exists(store + "\\" + report + ".UPD"));

  // CMD hands the workbook to a running spreadsheet and ends at once; that
  // one keeps it open and edits it for two seconds after: the edit is stored.
  WriteBytes(store + "\\" + report, book(password, "check"));
  RemoveDirectoryA((DataFolder() + "Temp\\" + report + ".pwd").c_str());
  WillWrite(2, book("", "handed"));
  WriteBytes(editorDir_ + "\\handoff2.txt", "2000");
  ASSERT_TRUE(Click(window, "画像開く"));
  ASSERT_TRUE(WaitForLog("<-他のアプリケーションが閉じるまで待ちます")) << ReadLog();
  EXPECT_TRUE(Exists(store + "\\" + report + ".UPD"));
  ASSERT_TRUE(WaitForLog("編集ファイルアップロード終了")) << ReadLog();
  EXPECT_NE(ReadAll(store + "\\" + report).find("\ts\thanded\n"), std::string::npos);

  // No EDITED folder and a folder on the store that keeps the lock: the
  // edit goes to the documents folder; the box tells both.
  RemoveTree(DataFolder() + "EDITED");
  WriteBytes(DataFolder() + "EDITED", "");
  RemoveDirectoryA((DataFolder() + "Temp\\" + report + ".pwd").c_str());
  WriteBytes(store + "\\" + report, book(password, "check"));
  int run = 1;
  while (Ran(run)) ++run;
  WillWrite(run, "not a workbook");
  WriteBytes(editorDir_ + "\\mkdir" + std::to_string(run) + ".txt", store + "\\" + report);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(FindControl(window, "BUTTON", "画像開く")) != FALSE; }, 10000));
  ASSERT_TRUE(Click(window, "画像開く"));
  ASSERT_TRUE(WaitForBox("「編集中ﾌｧｲﾙの強制解除」で解除してください。")) << ReadLog() << Boxes();
  const size_t kept = Boxes().find(DocFolder() + "EDITED\\");
  ASSERT_NE(kept, std::string::npos) << Boxes();
  EXPECT_EQ(ReadAll(Boxes().substr(kept, Boxes().find("\r\n", kept) - kept)), "not a workbook");
  EXPECT_TRUE(WaitForLog(report + ".UPD<-編集ロックが残っています"));
  RemoveTree(DocFolder() + "EDITED");

  // The session ends while the workbook is shown: its lock goes.
  RemoveDirectoryA((store + "\\" + report).c_str());
  MoveFileA((store + "\\" + report + ".UPD").c_str(), (store + "\\" + report).c_str());
  const std::string hold = editorDir_ + "\\hold" + std::to_string(++run) + ".txt";
  WriteBytes(hold, "");
  ASSERT_TRUE(Click(window, "画像開く"));
  ASSERT_TRUE(WaitFor([&] { return Ran(run); }, 30000)) << ReadLog();
  SendMessageA(window, WM_ENDSESSION, TRUE, 0);
  EXPECT_TRUE(Exists(store + "\\" + report) && !Exists(store + "\\" + report + ".UPD")) << ReadLog();
  DeleteFileA(hold.c_str());
}

// No close while the workbook is shown; once it is back, the close asks as before.
TEST_F(WorkbookOpeningProcessTest, NoWindowClosesWhileTheWorkbookIsShown) {
  const std::string day = DayBefore(0), report = "PC01" + day + "093000001.xls";
  const std::string stored = FtpServerRoot() + "kestro\\" + day + "\\" + report, hold = editorDir_ + "\\hold1.txt";
  std::string password;
  ASSERT_TRUE(office::fncMakePwd(day + "093000", password));
  FreshServerStore();
  PostReport(day, report, "XLSTANDIN-WORKBOOK 1\nPASSWORD\t" + password + "\nSHEET\tSheet1\nCELL\tI8\t@\ts\tcheck\n");
  WriteSettings();
  WillWrite(1, "XLSTANDIN-WORKBOOK 1\nSHEET\tSheet1\nCELL\tI8\t@\ts\tedited\n");
  WriteBytes(hold, "");
  HWND window = StartAndLogin();
  ASSERT_NE(window, nullptr) << ReadLog();
  ASSERT_TRUE(Click(window, "ﾎﾟｽﾄの検索"));
  ASSERT_TRUE(WaitForLog("一覧表示終了"));  // nothing waits after it
  ASSERT_TRUE(Click(window, "画像開く"));
  ASSERT_TRUE(WaitFor([&] { return Ran(1); }, 30000)) << ReadLog();
  SendMessageA(window, WM_CLOSE, 0, 0);
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4
  SendMessageA(FindWindowA("TForm2", nullptr), WM_CLOSE, 0, 0);
  EXPECT_EQ(Boxes(), "");
  EXPECT_FALSE(Ended(process_, 0));
  DeleteFileA(hold.c_str());
  ASSERT_TRUE(WaitForLog("## ファイル参照終了")) << ReadLog();
  EXPECT_TRUE(ReadAll(stored).find("\ts\tedited\n") != std::string::npos && !Exists(stored + ".UPD"));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(process_, 15000));
  EXPECT_EQ(Boxes(), "ケストロ管理画面\t終了しますか？\t257\r\n");
}

}  // namespace
