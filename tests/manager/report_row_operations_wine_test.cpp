// The real kestroMgr.exe against pyftpdlib: the marks set by double-click,
// download of a locked report into a folder chosen in the save dialog,
// forced release, delete (completed, refused by the store, aborted), the
// close after a shutdown request, and the version-up beside the updater.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/manager/ManagerRunSupport.h"

using namespace mgrtest;

namespace {

// Middle of each column of the grid (widths plus one line each).
constexpr int kColX[] = {40, 120, 180, 222, 260, 330, 420, 500, 560, 900};

class ReportRowOperationsTest : public RunningManagerTest {
 protected:
  ReportRowOperationsTest() : RunningManagerTest("kestro_rowops_boxes.txt") {}
  void SetUp() override {
    RunningManagerTest::SetUp();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    downloads_ = std::string(temp) + "kestro dl\\";
    RemoveTree(downloads_.substr(0, downloads_.size() - 1));
    CreateDirectoryA(downloads_.c_str(), nullptr);
    SHCreateDirectoryExA(nullptr, (DataFolder() + "save").c_str(), nullptr);
  }
  void TearDown() override {
    RunningManagerTest::TearDown();
    RemoveTree(downloads_.substr(0, downloads_.size() - 1));
  }
  std::string Catalogue(const std::string& day, const std::string& section, const std::string& key) const {
    char value[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", value, sizeof value,
                             (DataFolder() + "CATALOGUE\\" + EnvValue("KESTRO_TEST_FTP_HOST") + "\\" +
                              EnvValue("KESTRO_TEST_FTP_USER") + "\\" + day + ".ini").c_str());
    return value;
  }
  // Grid row (from 1) of the report, 0 when it is not shown; *text its line.
  int RowOf(const std::string& name, std::string* text = nullptr) const {
    const std::vector<std::string> rows = manager_.Grid();
    for (size_t r = 0; r + 1 < rows.size(); ++r)
      if (rows[r].find("\t" + name + "\t") != std::string::npos) return (text ? *text = rows[r] : "", int(r) + 1);
    return 0;
  }
  bool Shows(const std::string& name, const std::string& cell) const {
    std::string text;
    return RowOf(name, &text) && text.find("\t" + cell + "\t") != std::string::npos;
  }
  HWND Grid() const { return FindWindowExA(manager_.window, nullptr, "FormsStringGrid", nullptr); }
  void ClickCell(int col, int row, bool shift = false) const {
    const LPARAM at = MAKELPARAM(kColX[col], 17 * row + 7);
    SendMessageA(Grid(), WM_LBUTTONDOWN, MK_LBUTTON | (shift ? MK_SHIFT : 0), at);
    SendMessageA(Grid(), WM_LBUTTONUP, 0, at);
  }
  void DoubleClickCell(int col, int row) const {  // returns when the handler has ended
    ClickCell(col, row);
    SendMessageA(Grid(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(kColX[col], 17 * row + 7));
  }
  // The download of the selected rows; typed: the path typed into the
  // dialog's name field (else its dummy name is kept).
  void Download(const std::string& typed = "") const {
    ASSERT_TRUE(PostMessageA(FindControl(manager_.window, "BUTTON", "ﾀﾞｳﾝﾛｰﾄﾞ"), BM_CLICK, 0, 0));
    HWND dialog = nullptr;
    const char* title = "ケストロ管理画面(ダウンロード保存先の指定 ファイル名不要)";
    ASSERT_TRUE(WaitFor([&] { return (dialog = FindWindowA("#32770", title)) != nullptr; }, 20000));
    HWND name = GetDlgItem(dialog, 0x47c) ? GetDlgItem(dialog, 0x47c) : GetDlgItem(dialog, 0x480);  // cmb13, edt1
    EXPECT_EQ(TextOf(name), "　");
    if (!typed.empty()) SetTextOf(name, typed);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(WaitForBox("ダウンロードしました。")) << ReadLog() << Boxes();
    DeleteFileA(boxLog_.c_str());
  }
  bool WaitForBox(const std::string& text) const {
    return WaitFor([&] { return Boxes().find(text) != std::string::npos; }, 30000);
  }

  std::string downloads_;
};

TEST_F(ReportRowOperationsTest, MarksDownloadReleaseDeleteAndClose) {
  const std::string day = DayBefore(0), older = DayBefore(1);
  const std::string store = FtpServerRoot() + "kestro\\" + day + "\\", tags = store.substr(0, store.size() - 1) + "tag\\";
  const std::string plain = "PC01" + day + "090000001.jpg", locked = "PC01" + day + "091000002.jpg",
                    completed = "PC01" + day + "092000003.jpg", refused = "PC01" + day + "093000004.jpg";
  PostReport(day, plain, "plain", "PC01" + day + "090000001_first.tag");
  PostReport(day, locked + ".UPD", "held by another", "PC01" + day + "091000002_held.tag");
  PostReport(day, completed + ".CMP", "done", "PC01" + day + "092000003_done.tag");
  PostReport(day, refused, "x", "PC01" + day + "093000004_stays.tag");
  for (int n = 1; n <= 5; ++n) PostReport(older, "PC09" + older + "10000000" + std::to_string(n) + ".jpg", "old");
  SetEnvironmentVariableA("NOTELENS_ANSWER", "OK:a:b");  // the comment editor's answer
  ASSERT_TRUE(manager_.Start(older)) << ReadLog();
  SetEnvironmentVariableA("NOTELENS_ANSWER", nullptr);
  manager_.Click("ﾎﾟｽﾄの検索");
  ASSERT_EQ(manager_.Grid().size(), 10u) << ReadLog();

  // The important mark lives only in this PC's catalogue: no login.
  const std::string ftpLog = DataFolder() + "syslog\\FTP" + day + ".txt";
  const size_t ftpSeen = ReadAll(ftpLog).size();
  DoubleClickCell(2, RowOf(plain));
  EXPECT_TRUE(Shows(plain, "重要"));
  EXPECT_EQ(Catalogue(day, plain, "IMPORTANT"), "1");
  DoubleClickCell(2, RowOf(plain));  // and off again
  EXPECT_EQ(Catalogue(day, plain, "IMPORTANT"), "");
  EXPECT_EQ(ReadAll(ftpLog).find("Login Start", ftpSeen), std::string::npos);

  // The completed mark renames the report on the store, and back; a
  // report under another manager's lock cannot be marked.
  DoubleClickCell(3, RowOf(plain));
  EXPECT_TRUE(Exists(store + plain + ".CMP")) << ReadLog();
  EXPECT_TRUE(Shows(plain, "完了"));
  EXPECT_EQ(Catalogue(day, plain, "STATUS"), "3");
  DoubleClickCell(3, RowOf(plain));
  EXPECT_EQ(Catalogue(day, plain, "STATUS"), "1");
  DoubleClickCell(3, RowOf(locked));
  EXPECT_NE(Boxes().find("他のPCで編集中か削除されたため、完了状態にできません。"), std::string::npos) << Boxes();

  // Download of the locked report into a folder with a blank, chosen in
  // the dialog, over a copy that an earlier opening left in the work folder.
  WriteBytes(DataFolder() + "Temp\\" + locked, "stale copy");
  ClickCell(0, RowOf(locked));
  Download(downloads_ + "x");
  EXPECT_EQ(ReadAll(downloads_ + "(held)_" + locked), "held by another") << ReadLog();
  EXPECT_TRUE(Exists(store + locked + ".UPD"));
  EXPECT_EQ(IniValue("KESTROMGR", "SAVEPATH"), downloads_);
  // A comment the editor gave a colon: the colon cannot stand in a file
  // name. The dialog now starts in the chosen folder.
  DoubleClickCell(8, RowOf(plain));
  ASSERT_TRUE(Shows(plain, "ab")) << ReadLog();
  ClickCell(0, RowOf(plain));
  Download();
  EXPECT_EQ(ReadAll(downloads_ + "(ab)_" + plain), "plain") << ReadLog();

  // Forced release of the one selected row.
  ClickCell(0, RowOf(locked));
  manager_.Click("編集中ﾌｧｲﾙの強制解除");
  EXPECT_NE(Boxes().find("編集中ファイルを強制解除しました。"), std::string::npos) << ReadLog() << Boxes();
  EXPECT_FALSE(Exists(store + locked + ".UPD"));
  EXPECT_EQ(Catalogue(day, locked, "STATUS"), "1");

  // A completed report goes with its tag file.
  DeleteFileA(boxLog_.c_str());
  ClickCell(0, RowOf(completed));
  manager_.Click("削除");
  EXPECT_NE(Boxes().find("\t削除しました。\t"), std::string::npos) << Boxes();
  EXPECT_FALSE(Exists(store + completed + ".CMP"));
  EXPECT_FALSE(Exists(tags + "PC01" + day + "092000003_done.tag"));
  EXPECT_EQ(RowOf(completed), 0);

  // The store refuses the delete (a folder of that name): tag, row and
  // catalogue stay, and the box says so.
  DeleteFileA((store + refused).c_str());
  CreateDirectoryA((store + refused).c_str(), nullptr);
  DeleteFileA(boxLog_.c_str());
  ClickCell(0, RowOf(refused));
  manager_.Click("削除");
  EXPECT_NE(Boxes().find(refused + " <-削除できませんでした。\t0"), std::string::npos) << Boxes();
  EXPECT_EQ(Boxes().find("削除しました。"), std::string::npos);
  EXPECT_TRUE(Exists(tags + "PC01" + day + "093000004_stays.tag"));
  EXPECT_NE(RowOf(refused), 0);

  // Abort during a delete of the older day's five rows: the rows done stay
  // deleted, the rest stays, and the closing box still comes.
  const std::vector<std::string> rows = manager_.Grid();
  int first = 1;  // the older day's rows come last
  while (first < 10 && rows[static_cast<size_t>(first - 1)].compare(0, 10, Slashed(older)) != 0) ++first;
  ClickCell(0, first);
  ClickCell(0, first + 4, true);
  DeleteFileA(boxLog_.c_str());
  const size_t logSeen = ReadLog().size();
  ASSERT_TRUE(PostMessageA(FindControl(manager_.window, "BUTTON", "削除"), BM_CLICK, 0, 0));
  ASSERT_TRUE(WaitFor([&] { return ReadLog().find("削除完了", logSeen) != std::string::npos; }, 30000));
  SendMessageA(FindControl(manager_.window, "BUTTON", "中断"), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitForBox("\t削除しました。\t")) << ReadLog();
  int left = 0;
  for (int n = 1; n <= 5; ++n)
    left += Exists(FtpServerRoot() + "kestro\\" + older + "\\PC09" + older + "10000000" + std::to_string(n) + ".jpg");
  EXPECT_TRUE(left >= 1 && left <= 4) << left;
  EXPECT_EQ(static_cast<int>(manager_.Grid().size()), 1 + 3 + left);

  // After a shutdown request the window closes without the question and
  // saves its section.
  WritePrivateProfileStringA("KESTROMGR", "BASEDATE", nullptr, (DataFolder() + "Kestro.ini").c_str());
  DeleteFileA(boxLog_.c_str());
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(manager_.window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer);
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  SendMessageTimeoutA(manager_.window, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 15000, &answer);
  ASSERT_TRUE(Ended(manager_.process, 15000));
  EXPECT_EQ(Boxes(), "");
  EXPECT_EQ(IniValue("KESTROMGR", "BASEDATE"), Slashed(older));
  EXPECT_NE(ReadLog().find(",(KestroMgr),終了\r\n"), std::string::npos);
}

// From a folder with a blank, beside the real updater: a program named by
// the path's first word must not start; the manager closes without its
// question, and the updater, though it cannot log in, starts it again.
TEST_F(ReportRowOperationsTest, VersionUpHandsOverToTheUpdaterWhichStartsTheManagerAgain) {
  const std::string folder = downloads_.substr(0, downloads_.size() - 3) + "vup\\";
  const std::string decoy = folder.substr(0, folder.size() - 5) + ".exe";  // what "...\\kestro vup\\..." unquoted starts
  RemoveTree(folder.substr(0, folder.size() - 1));
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* program : {"kestroMgr.exe", "downloader.exe"})
    ASSERT_TRUE(CopyFileA((ProgramFolder() + program).c_str(), (folder + program).c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((ProgramFolder() + "started_marker.exe").c_str(), decoy.c_str(), FALSE));
  DeleteFileA((decoy + ".started").c_str());
  WriteBytes(folder + "downloader.ini", "[DOWNLOADER]\r\nIP=127.0.0.59\r\n");  // nothing answers there
  WriteBytes(DataFolder() + "Kestro.ini", "[KESTRO]\r\nSAVE=2\r\nFILESAVEPATH=" + DataFolder() +
                                               "save\\\r\nSERVER=share\r\nUSERID=someone\r\n");
  const std::string exe = folder + "kestroMgr.exe";
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  ASSERT_TRUE(CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                             &startup, &manager_.process));
  ASSERT_NE(LoginForm(), nullptr);
  SendMessageA(FieldsOf(LoginForm()).login, BM_CLICK, 0, 0);
  HWND report = ReportWindow();
  ASSERT_NE(report, nullptr) << ReadLog();
  // A settings file held open against writing: the manager says so and stays.
  HANDLE held = CreateFileA((folder + "downloader.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(PostMessageA(FindControl(report, "BUTTON", "バージョンアップ"), BM_CLICK, 0, 0));
  ASSERT_TRUE(WaitForBox("ケストロ管理画面\tバージョンアップ設定ファイルに書き込めません")) << Boxes() << ReadLog();
  EXPECT_FALSE(Ended(manager_.process, 0));
  EXPECT_EQ(ReadLog().find("バージョンアップ処理起動"), std::string::npos) << ReadLog();
  EXPECT_EQ(ReadAll(folder + "downloader.ini"), "[DOWNLOADER]\r\nIP=127.0.0.59\r\n");
  CloseHandle(held);
  ASSERT_TRUE(PostMessageA(FindControl(report, "BUTTON", "バージョンアップ"), BM_CLICK, 0, 0));
  ASSERT_TRUE(Ended(manager_.process, 20000)) << ReadLog();
  const std::string ini = ReadAll(folder + "downloader.ini");
  EXPECT_NE(ini.find("IP=127.0.0.59\r\nPROJECT=kestromgr\r\nEXE=kestromgr.exe\r\n"), std::string::npos) << ini;
  EXPECT_EQ(Boxes().find("終了しますか？"), std::string::npos) << Boxes();

  HWND again = LoginForm(30000);
  ASSERT_NE(again, nullptr) << Boxes();
  EXPECT_NE(Boxes().find("FTPサーバーにログインできません"), std::string::npos) << Boxes();
  EXPECT_FALSE(Exists(decoy + ".started"));
  PostMessageA(again, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(again); }, 15000));
  Sleep(1500);  // the manager and the updater end
  DeleteFileA(decoy.c_str());
  DeleteFileA((decoy + ".started").c_str());
  RemoveTree(folder.substr(0, folder.size() - 1));
  RemoveTree(DataFolder().substr(0, DataFolder().rfind('\\', DataFolder().size() - 2)) + "\\downloader");
}

}  // namespace
