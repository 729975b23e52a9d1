// The real kestroMgr.exe's report window against pyftpdlib holding a store
// of three days as the client posts it: the search fills the grid, newest
// day first, with the marks, colours and icons of each row; the filters
// combine and the comment filter is case-sensitive; unsafe names, uploads
// in progress and other files never become rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/manager/ManagerRunSupport.h"

using namespace mgrtest;

namespace {

class ReportWindowTest : public RunningManagerTest {
 protected:
  ReportWindowTest() : RunningManagerTest("kestro_report_boxes.txt") {}
  std::string CatalogueFile(const std::string& day) const {
    return DataFolder() + "CATALOGUE\\" + EnvValue("KESTRO_TEST_FTP_HOST") + "\\" + EnvValue("KESTRO_TEST_FTP_USER") + "\\" +
           day + ".ini";
  }
  static std::string Value(const std::string& file, const std::string& section, const std::string& key) {
    char value[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", value, sizeof value, file.c_str());
    return value;
  }
  void ForceCatalogueFolder() const {
    const std::string file = CatalogueFile("x");
    SHCreateDirectoryExA(nullptr, file.substr(0, file.rfind('\\')).c_str(), nullptr);
  }
};

TEST_F(ReportWindowTest, ASearchOverThreeDaysFillsTheGridAndTheFiltersCombine) {
  const std::string d0 = DayBefore(2), d1 = DayBefore(1), d2 = DayBefore(0);
  const std::string r0a = "PRJA_PC01" + d0 + "090000001.jpg", r0b = "PC02" + d0 + "091500002.xls";
  const std::string r1a = "PRJB_PC01" + d1 + "100000001.jpg", r1b = "PRJA_PC03" + d1 + "101000002.jpg";
  const std::string r1c = "PC02" + d1 + "103000004.jpg", r2a = "PRJB_PC02" + d2 + "110000001.jpg";
  auto tag = [](const std::string& report, const std::string& comment) {
    return report.substr(0, report.size() - 4) + "_" + comment + ".tag";
  };
  PostReport(d0, r0a, "12345", tag(r0a, "要確認"));
  PostReport(d0, r0b + ".CMP", "1234567", tag(r0b, "Done"));
  PostReport(d1, r1a + ".UPD", "123", tag(r1a, "Alpha"));
  PostReport(d1, r1b, "1234", tag(r1b, "alpha"));
  PostReport(d1, r1c, "12");
  PostReport(d1, "PRJA_PC03" + d1 + "102000003.jpg.tmp", "1", tag(r1c, "途中") + ".tmp");  // uploads in progress
  PostReport(d1, "notes.txt", "x");
  CreateDirectoryA((FtpServerRoot() + "kestro\\" + d1 + "\\sub").c_str(), nullptr);
  PostReport(d2, r2a, "123456", tag(r2a, "AlphaBeta"));
  ASSERT_TRUE(StoreRawName("/kestro/" + d2, "PC\"02" + d2 + "111500002.jpg", "q"));
  ASSERT_TRUE(StoreRawName("/kestro/" + d2, "..\\PC02" + d2 + "112000003.jpg", "b"));
  // Marks made on this PC earlier: they survive the refresh.
  ForceCatalogueFolder();
  WriteBytes(CatalogueFile(d0), "[" + r0b + "]\r\nSTATUS=3\r\nIMPORTANT=1\r\nREAD=1\r\n");
  WriteBytes(CatalogueFile(d1), "[" + r1a + "]\r\nSTATUS=1\r\nREAD=1\r\n[" + r1b + "]\r\nSTATUS=1\r\nIMPORTANT=1\r\n");

  ASSERT_TRUE(manager_.Start(d0)) << ReadLog();
  // Every button holds its caption, in the controls' font, within the window.
  RECT window, r;
  GetClientRect(manager_.window, &window);
  const HDC dc = GetDC(manager_.window);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  for (HWND b = nullptr; (b = FindWindowExA(manager_.window, b, "BUTTON", nullptr)) != nullptr;) {
    SIZE text{};
    GetTextExtentPoint32A(dc, TextOf(b).c_str(), static_cast<int>(TextOf(b).size()), &text);
    GetWindowRect(b, &r);
    MapWindowPoints(nullptr, manager_.window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(text.cx + 8 <= r.right - r.left && r.right <= window.right) << TextOf(b);
  }
  ReleaseDC(manager_.window, dc);
  // Before any search the redo button does nothing.
  manager_.Click("やり直し");
  EXPECT_EQ(manager_.Grid().back(), "");
  manager_.Click("ﾎﾟｽﾄの検索");

  auto row = [](const std::string& day, const std::string& time, const std::string& marks, const std::string& type,
                const std::string& project, const std::string& creator, const std::string& size,
                const std::string& comment, const std::string& name, const std::string& look) {
    return Slashed(day) + "\t" + time + "\t" + marks + "\t" + type + "\t" + project + "\t" + creator + "\t" + size +
           "\t" + comment + "\t" + name + "\t" + look;
  };
  const std::string rowR2a = row(d2, "11:00:00", "\t", "JPG", "PRJB", "PC02", "6", "AlphaBeta", r2a, "ECFFFF\t1\t-1\t-1");
  const std::string rowR1a = row(d1, "10:00:00", "\t", "JPG", "PRJB", "PC01", "3", "Alpha", r1a, "00FFFF\t0\t-1\t-1");
  const std::string rowR1b = row(d1, "10:10:00", "重要\t", "JPG", "PRJA", "PC03", "4", "alpha", r1b, "ECD9FF\t1\t0\t-1");
  const std::string rowR1c = row(d1, "10:30:00", "\t", "JPG", "", "", "2", "", r1c, "ECFFFF\t1\t-1\t-1");
  const std::string rowR0a = row(d0, "09:00:00", "\t", "JPG", "PRJA", "PC01", "5", "要確認", r0a, "ECFFFF\t1\t-1\t-1");
  const std::string rowR0b = row(d0, "09:15:00", "重要\t完了", "XLS", "", "PC02", "7", "Done", r0b, "AAAAAA\t0\t0\t1");
  std::vector<std::string> grid = manager_.Grid();
  ASSERT_EQ(grid.size(), 7u) << ReadLog();
  EXPECT_EQ(grid.back(), "6件表示しました。");
  grid.pop_back();
  // The newest day first; within a day the section written last (the new
  // ones go after those of the earlier catalogue) comes first.
  EXPECT_EQ(grid, (std::vector<std::string>{rowR2a, rowR1c, rowR1b, rowR1a, rowR0a, rowR0b}));
  EXPECT_EQ(Value(CatalogueFile(d0), r0b, "IMPORTANT"), "1");
  EXPECT_EQ(Value(CatalogueFile(d1), r1a, "STATUS"), "2");
  EXPECT_EQ(Value(CatalogueFile(d1), r1a, "READ"), "1");
  const std::string log = ReadLog();
  for (const std::string& skipped : {"PC\"02" + d2 + "111500002.jpg", "..\\PC02" + d2 + "112000003.jpg"})
    EXPECT_NE(log.find(skipped + "\r\n"), std::string::npos) << skipped;
  EXPECT_NE(log.find("不正なファイル名によりスキップ"), std::string::npos);
  EXPECT_NE(log.find("レポート以外のファイルはスキップ"), std::string::npos);
  EXPECT_NE(log.find("転送中ファイルはスキップ"), std::string::npos);
  EXPECT_NE(log.find("タグファイル以外はスキップ"), std::string::npos);
  EXPECT_NE(log.find("ディレクトリ行はスキップ"), std::string::npos);
  // The project box offers the projects of the rows, once each.
  EXPECT_EQ(SendMessageA(manager_.Combo(0), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(manager_.Combo(1), CB_GETCOUNT, 0, 0), 4);

  // Not important, then project PRJA: only rows passing both stay.
  manager_.Select(2, "重要以外");
  manager_.Select(0, "PRJA");
  manager_.Click("絞込み");
  grid = manager_.Grid();
  EXPECT_EQ(grid, (std::vector<std::string>{rowR0a, "1件表示しました。"}));
  EXPECT_EQ(TextOf(manager_.Combo(0)), "全て");

  // A catalogue's section that is no report name never becomes a row.
  const std::string hostile = "..\\..\\..\\PRJ_PC01" + d0 + "110000002.jpg";
  WriteBytes(CatalogueFile(d0), ReadAll(CatalogueFile(d0)) + "[" + hostile + "]\r\nSTATUS=1\r\n");
  SendMessageA(FindControl(manager_.window, "BUTTON", "期間内全更新"), BM_SETCHECK, BST_UNCHECKED, 0);
  manager_.Click("ﾎﾟｽﾄの検索");
  EXPECT_NE(ReadLog().find(d0 + ".ini [" + hostile + "]\r\n"), std::string::npos);
  // Redo brings all rows back; the comment filter tells the letter case.
  manager_.Click("やり直し");
  EXPECT_EQ(manager_.Grid().size(), 7u);
  manager_.SetComment("Alpha");
  manager_.Click("絞込み");
  grid = manager_.Grid();
  EXPECT_EQ(grid, (std::vector<std::string>{rowR2a, rowR1a, "2件表示しました。"}));
  manager_.Select(3, "完了のみ");
  manager_.Click("絞込み");
  EXPECT_EQ(manager_.Grid(), (std::vector<std::string>{"\t\t\t\t\t\t\t\t\t\tECFFFF\t0\t-1\t-1", ""}));
  EXPECT_EQ(ReadAll(boxLog_), "");
  // After a session end that was called off, the exit asks again.
  SendMessageA(manager_.window, WM_QUERYENDSESSION, 0, 0);
  SendMessageA(manager_.window, WM_ENDSESSION, FALSE, 0);
  manager_.Click("終了");
  EXPECT_EQ(ReadAll(boxLog_), "ケストロ管理画面\t終了しますか？\t257\r\n");
}

}  // namespace
