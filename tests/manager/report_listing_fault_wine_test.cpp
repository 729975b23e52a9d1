// The real kestroMgr.exe against the scripted server: a listing that breaks
// off keeps the day's catalogue and its rows; only a folder that really is
// gone (CWD answered 550) clears them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/manager/ReportWindowTestSupport.h"

using namespace mgrtest;

namespace {

TEST(ReportListingFault, AFailedListingKeepsTheCatalogueAndAnAbsentFolderClearsIt) {
  const std::string boxLog = UseBoxLog("kestro_fault_boxes.txt");
  FreshDataFolder();

  const std::string d1 = DayBefore(1), d2 = DayBefore(0);
  const std::string r1 = "PC01" + d1 + "080000001.jpg", r2 = "PRJ_PC01" + d2 + "081500001.jpg";
  PostReport(d1, r1, "111", "PC01" + d1 + "080000001_前日.tag");
  PostReport(d2, r2, "2222", "PRJ_PC01" + d2 + "081500001_当日.tag");
  const std::string catalogue = DataFolder() + "CATALOGUE\\" + EnvValue("KESTRO_TEST_FTP_HOST") + "\\" +
                                EnvValue("KESTRO_TEST_FTP_USER") + "\\";
  auto status = [&](const std::string& day, const std::string& section) {
    char value[32] = {};
    GetPrivateProfileStringA(section.c_str(), "STATUS", "<none>", value, sizeof value,
                             (catalogue + day + ".ini").c_str());
    return std::string(value);
  };

  RunningManager manager;
  SetEnvironmentVariableA("NOTELENS_ANSWER", "OK:fresh");
  ASSERT_TRUE(manager.Start(d1)) << ReadLog();
  manager.Click("ﾎﾟｽﾄの検索");
  std::vector<std::string> grid = manager.Grid();
  ASSERT_EQ(grid.size(), 3u) << ReadLog();
  EXPECT_EQ(grid.back(), "2件表示しました。");

  // Every listing now breaks off with 426: both days keep their rows.
  WriteBytes(FtpServerRoot() + "script.txt", "list_abort\r\n");
  manager.Click("ﾎﾟｽﾄの検索");
  EXPECT_EQ(manager.Grid(), grid);
  EXPECT_EQ(status(d1, r1), "1");
  EXPECT_EQ(status(d2, r2), "1");
  const std::string log = ReadLog();
  EXPECT_NE(log.find("/kestro/" + d1 + "<-FTPリスト取得失敗・・・・"), std::string::npos);
  EXPECT_NE(log.find(d2 + "<-リスト取得失敗のためカタログを保持"), std::string::npos);

  // Yesterday's folder is gone: its row goes, today's stays.
  WriteBytes(FtpServerRoot() + "script.txt", "normal\r\n");
  RemoveTree(FtpServerRoot() + "kestro\\" + d1);
  manager.Click("ﾎﾟｽﾄの検索");
  grid = manager.Grid();
  ASSERT_EQ(grid.size(), 2u);
  EXPECT_EQ(grid[0].substr(0, 11), Slashed(d2) + "\t");
  EXPECT_EQ(status(d1, r1), "0");
  EXPECT_EQ(status(d2, r2), "1");
  EXPECT_EQ(ReadAll(boxLog), "");

  // A comment edited while the tag folder cannot be listed: no second tag, and the user is told.
  WriteBytes(FtpServerRoot() + "script.txt", "list_abort\r\n");
  HWND sg1 = FindWindowExA(manager.window, nullptr, "FormsStringGrid", nullptr);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}) SendMessageA(sg1, message, 0, MAKELPARAM(560, 24));
  EXPECT_NE(ReadAll(boxLog).find(r2 + " <-コメントをサーバーに保存できませんでした。"), std::string::npos) << ReadLog();
  EXPECT_FALSE(Exists(FtpServerRoot() + "kestro\\" + d2 + "tag\\PRJ_PC01" + d2 + "081500001_fresh.tag"));

  manager.End();
  DeleteFileA(boxLog.c_str());
  RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
}

}  // namespace
