// The whole system as scripts/run-system.sh sets it up: system_wine_test.sh
// has written the first-run Kestro.ini and started the store through the
// script's own functions. A capture in the real Kestro.exe is posted from
// the registration form; the real kestroMgr.exe finds it, opens it under
// the edit lock and edits its comment through noteLens.
#include <winsock2.h>  // before windows.h: the report window uses Winsock 2

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "snaptrap/SnapTrap.h"
#include "tests/manager/ReportWindowTestSupport.h"

using namespace mgrtest;

namespace {

const int kUnbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0);

// The names in a folder, sorted, joined by "|".
std::string Names(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : "|") + name;
  return joined;
}

std::string Catalogue(const std::string& day, const std::string& report, const std::string& key) {
  char value[256] = {};
  GetPrivateProfileStringA(report.c_str(), key.c_str(), "<none>", value, sizeof value,
                           (DataFolder() + "CATALOGUE\\" + EnvValue("KESTRO_TEST_FTP_HOST") + "\\" +
                            EnvValue("KESTRO_TEST_FTP_USER") + "\\" + day + ".ini")
                               .c_str());
  return value;
}

// Ends what a failed step leaves running, so that the run still ends.
struct Programs {
  PROCESS_INFORMATION client{}, manager{};
  ~Programs() {
    if (HWND editor = FindWindowA("TTagInformation", "タグ情報")) PostMessageA(editor, WM_CLOSE, 0, 0);
    EndKestro(manager);
    EndKestro(client);
  }
};

// Polls closely (the store's lock lives for a few FTP sessions only).
bool Seen(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(2);
  }
  return true;
}

std::string TextWithin(HWND window) {
  char text[256] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, nullptr);
  return text;
}

}  // namespace

TEST(SystemTest, AReportGoesFromTheCaptureThroughTheStoreToTheReviewersComment) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string boxLog = std::string(temp) + "system_test_boxes.txt", gridFile = std::string(temp) + "system_grid.txt";
  DeleteFileA(boxLog.c_str());
  SetEnvironmentVariableA("KESTRO_MSGBOX_LOG", boxLog.c_str());
  SetEnvironmentVariableA("KESTRO_MSGBOX_REPLY", "OK");
  SetEnvironmentVariableA("KESTRO_GRID_TEXT", gridFile.c_str());
  SetEnvironmentVariableA("NOTELENS_ANSWER", nullptr);
  const std::string host = EnvValue("KESTRO_TEST_FTP_HOST"), user = EnvValue("KESTRO_TEST_FTP_USER");
  const std::string day = Today("%04d%02d%02d");
  const std::string reports = FtpServerRoot() + "kestro\\" + day, tags = reports + "tag";

  // The first-run settings point both programs at the store.
  ASSERT_EQ(IniValue("KESTRO", "SERVER"), host);
  EXPECT_EQ(IniValue("KESTRO", "SAVE"), "1");
  EXPECT_EQ(IniValue("KESTRO", "PASSWD"), EnvValue("KESTRO_TEST_FTP_PASS"));
  EXPECT_EQ(IniValue("KESTROMGR", "LASTTARGET"), host);
  EXPECT_EQ(Names(FtpServerRoot().substr(0, FtpServerRoot().size() - 1)), "download|kestro");

  // The client: a capture opens the registration form; the post reaches the store.
  Programs programs;
  PROCESS_INFORMATION &client = programs.client, &manager = programs.manager;
  ASSERT_TRUE(StartKestro(client));
  ASSERT_TRUE(WaitFor([] { return FindWindowA("TForm1", "Kestro") != nullptr; }, 20000));
  const std::string capture = CaptureWhenReady();
  ASSERT_FALSE(capture.empty()) << ReadLog();
  RegistrationFields registration;
  ASSERT_TRUE(WaitForRegistration(registration));
  HWND form = registration.form, terminal = registration.terminal, title = registration.title;
  ASSERT_TRUE(WaitFor([&] { return !TextWithin(terminal).empty(); }, 15000));  // filled as it shows
  const std::string creator = TextWithin(terminal);
  SetTextOf(title, "screen1");
  SendMessageA(FindControl(form, "Button", "ポスト"), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(form); }, 30000)) << ReadLog();
  EXPECT_NE(ReadAll(boxLog).find("Kestro\tポストしました\t"), std::string::npos) << ReadAll(boxLog);

  const std::string report = FindFile(reports + "\\*.jpg");
  ASSERT_FALSE(report.empty()) << ReadLog();
  EXPECT_EQ(report.substr(0, creator.size() + 8), creator + day);
  const std::string base = report.substr(0, report.size() - 4);
  EXPECT_EQ(Names(reports), report);  // no .tmp left
  EXPECT_EQ(Names(tags), base + "_screen1.tag");
  EXPECT_EQ(ReadAll(tags + "\\" + base + "_screen1.tag"), "");
  EXPECT_EQ(ReadAll(reports + "\\" + report).substr(0, 2), "\xFF\xD8");
  EXPECT_EQ(Names(DataFolder() + "images\\" + day), "");  // posted: no local copy

  // The manager's login form offers the store and its user.
  ASSERT_TRUE(StartManager(manager));
  HWND login = LoginForm();
  ASSERT_NE(login, nullptr);
  LoginFields fields = FieldsOf(login);
  EXPECT_EQ(TextOf(fields.server), host);
  EXPECT_EQ(TextOf(fields.user), user);
  SetTextOf(fields.password, EnvValue("KESTRO_TEST_FTP_PASS"));
  SendMessageA(fields.login, BM_CLICK, 0, 0);
  HWND window = ReportWindow();
  ASSERT_NE(window, nullptr) << ReadAll(boxLog);
  // Pictures open in a viewer that only records what it is given.
  const std::string relay = DataFolder() + "Temp\\Relay.ini", viewed = DataFolder() + "Temp\\viewed.txt";
  WaitFor([&] { return Exists(relay); }, 15000);
  Sleep(1500);
  WriteBytes(relay, "[relay]\r\nhtmlfile=cmd.exe /c echo>viewed.txt\r\n");

  // The search finds the report: grid, catalogue.
  PostMessageA(FindControl(window, "BUTTON", "ﾎﾟｽﾄの検索"), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return ReadLog().find("リストをグローバルリストへセット完了") != std::string::npos; }, 30000))
      << ReadLog();
  RunningManager grid;
  grid.window = window;
  grid.gridFile = gridFile;
  std::vector<std::string> rows = grid.Grid();
  ASSERT_EQ(rows.size(), 2u) << ReadLog();  // the report and the status text
  EXPECT_NE(rows[0].find("\tJPG\t\t" + creator + "\t"), std::string::npos) << rows[0];
  EXPECT_NE(rows[0].find("\tscreen1\t" + report + "\t"), std::string::npos) << rows[0];
  EXPECT_EQ(Catalogue(day, report, "STATUS"), "1");
  EXPECT_EQ(Catalogue(day, report, "COMMENT"), "screen1");
  EXPECT_EQ(Catalogue(day, report, "READ"), "<none>");

  // Opening renames the report to its lock while it is fetched and viewed.
  const std::string lock = reports + "\\" + report + ".UPD";
  PostMessageA(FindControl(window, "BUTTON", "画像開く"), BM_CLICK, 0, 0);
  EXPECT_TRUE(Seen([&] { return Exists(lock) && !Exists(reports + "\\" + report); }, 20000)) << ReadLog();
  ASSERT_TRUE(WaitFor([&] { return ReadLog().find("## ファイル参照終了") != std::string::npos; }, 30000));
  EXPECT_EQ(Names(reports), report);
  EXPECT_TRUE(WaitFor([&] { return Exists(viewed); }, 15000));
  EXPECT_NE(ReadAll(viewed).find("\"" + DataFolder() + "Temp\\" + report + "\""), std::string::npos);
  EXPECT_EQ(Names(tags), base + "_screen1.tag");
  EXPECT_EQ(Catalogue(day, report, "READ"), "1");

  // The comment: noteLens gets the present one while the lock is held; the
  // new one renames the tag file once the report is back.
  HWND gridWindow = FindWindowExA(window, nullptr, "FormsStringGrid", nullptr);
  ASSERT_NE(gridWindow, nullptr);
  const LPARAM commentCell = MAKELPARAM(560, 24);  // row 1, column 8
  PostMessageA(gridWindow, WM_LBUTTONDOWN, MK_LBUTTON, commentCell);
  PostMessageA(gridWindow, WM_LBUTTONUP, 0, commentCell);
  PostMessageA(gridWindow, WM_LBUTTONDBLCLK, MK_LBUTTON, commentCell);
  HWND editor = nullptr, comment = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        editor = FindWindowA("TTagInformation", "タグ情報");
        return editor && (comment = FindWindowExA(editor, nullptr, "Edit", nullptr)) != nullptr;
      },
      20000))
      << ReadLog();
  EXPECT_TRUE(WaitFor([&] { return TextWithin(comment) == "screen1"; }, 5000)) << TextWithin(comment);
  EXPECT_EQ(Names(reports), report + ".UPD");
  SetTextOf(comment, "checked");
  PostMessageA(FindControl(editor, "Button", "OK"), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return ReadLog().find("## コメント編集終了") != std::string::npos; }, 30000));
  EXPECT_EQ(Names(reports), report);
  EXPECT_EQ(Names(tags), base + "_checked.tag");
  EXPECT_EQ(ReadAll(tags + "\\" + base + "_checked.tag"), "");  // the client's tag, renamed
  EXPECT_EQ(Catalogue(day, report, "COMMENT"), "checked");
  rows = grid.Grid();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_NE(rows[0].find("\tchecked\t" + report + "\t"), std::string::npos) << rows[0];
  EXPECT_EQ(ReadAll(boxLog).find("ケストロ管理画面"), std::string::npos) << ReadAll(boxLog);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(manager, 15000));
  PostMessageA(FindWindowA("TForm1", "Kestro"), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended(client, 15000));
  DeleteFileA(boxLog.c_str());
  DeleteFileA(gridFile.c_str());
}
