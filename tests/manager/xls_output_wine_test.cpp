// The list and picture workbooks of the real kestroMgr.exe against
// pyftpdlib and the stand-in spreadsheet, read back with the workbook format
// reader. KESTRO_WORKBOOK_DUMP (a folder) receives a copy of each output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "jpeg/JpegWriter.h"
#include "spreadsheet/portable/WorkbookFormat.h"
#include "tests/manager/ManagerRunSupport.h"

using namespace mgrtest;

namespace {

const char* const kKinds[5] = {"", "(2)画像のみ複数画像を単一シートへ", "(3)A4横単票形式で複数シートへ（TAN-01）",
                               "(4)A4横単票形式で複数シートへ（TAN-02）", "(5)A4たて単票形式で複数シートへ（TAN-03）"};

std::string U8(const std::string& cp932) {
  wchar_t wide[512];
  char out[1024];
  int n = MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), wide, 512);
  return std::string(out, WideCharToMultiByte(CP_UTF8, 0, wide, n, out, sizeof out, nullptr, nullptr));
}

spreadsheet::WorkbookDocument ReadBook(const std::string& path, const std::string& dumpName) {
  spreadsheet::WorkbookDocument book;
  std::string error, text = ReadAll(path);
  EXPECT_TRUE(spreadsheet::ReadWorkbook(text, book, error)) << path << ": " << error;
  if (!EnvValue("KESTRO_WORKBOOK_DUMP").empty()) WriteBytes(EnvValue("KESTRO_WORKBOOK_DUMP") + "\\" + dumpName, text);
  return book;
}

std::string CellOf(const spreadsheet::Sheet& sheet, const std::string& address) {
  spreadsheet::CellAddress at;
  spreadsheet::ParseCellAddress(address, at);
  auto found = sheet.cells.find(at);
  if (found == sheet.cells.end()) return "";
  return (found->second.isFormula ? "formula " : "") + found->second.value;
}

class XlsOutputTest : public RunningManagerTest {
 protected:
  XlsOutputTest() : RunningManagerTest("kestro_xls_boxes.txt") {}
  void SetUp() override {
    RunningManagerTest::SetUp();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    output_ = std::string(temp) + "kestro_xls_out\\報告表.xls";  // 表 ends in the byte of "\"
    RemoveTree(std::string(temp) + "kestro_xls_out");
    SetEnvironmentVariableA("KESTRO_MSGBOX_REPLY", "YES");
    SetEnvironmentVariableA("KESTRO_SAVEDIALOG_REPLY", output_.c_str());
    RemoveTree(DocFolder() + "List");
    FreshServerStore();
  }
  void TearDown() override {
    RunningManagerTest::TearDown();
    for (const char* name : {"XLSTANDIN_BUSY_CALLS", "KESTRO_TEST_BUSY_LIMIT_MS"}) SetEnvironmentVariableA(name, nullptr);
  }
  // Grid rows first..last selected as by a click and a shift-click.
  void SelectRows(int first, int last) const {
    HWND grid = FindWindowExA(manager_.window, nullptr, "FormsStringGrid", nullptr);
    for (int row : {first, last}) {
      SendMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON | (row == last ? MK_SHIFT : 0), MAKELPARAM(10, 17 * row + 8));
      SendMessageA(grid, WM_LBUTTONUP, 0, MAKELPARAM(10, 17 * row + 8));
    }
  }
  // The picture button, the options form confirmed with the kind (and a
  // name for the A4 forms), `during` while the run goes on.
  void RunPictures(int kind, const std::function<void()>& during = nullptr) {
    PostMessageA(FindControl(manager_.window, "BUTTON", "XLS画像出力"), BM_CLICK, 0, 0);
    HWND options = VisibleWindow("TForm3", "エクセル出力種別選択", 15000), edit = nullptr;
    ASSERT_NE(options, nullptr);
    if (kind > 1) SendMessageA(FindControl(options, "BUTTON", kKinds[kind - 1]), BM_CLICK, 0, 0);
    for (int i = 0; i < 3; ++i) edit = FindWindowExA(options, edit, "EDIT", nullptr);
    SetTextOf(edit, "=1+1");
    SendMessageA(FindControl(options, "BUTTON", "確　定"), BM_CLICK, 0, 0);
    PostMessageA(options, WM_NULL, 0, 0);  // a sent click leaves the modal loop waiting for a message
    if (during) during();
    ASSERT_TRUE(WaitFor([&] { return Boxes().find("に保存しました。") != std::string::npos; }, 15000)) << ReadLog();
    DeleteFileA(boxLog_.c_str());
  }

  std::string output_;
};

TEST_F(XlsOutputTest, ListAndPictureWorkbooksOfTheGrid) {
  const std::string day = DayBefore(0), store = FtpServerRoot() + "kestro\\" + day + "\\";
  const std::string comment40 = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
  for (int i = 1; i <= 6; ++i) {
    const std::string base = "PC0" + std::to_string(i) + day + "09000" + std::to_string(i) + "00" + std::to_string(i);
    const std::string file = base + ".jpg" + (i == 2 || i == 5 ? ".CMP" : "");
    PostReport(day, file, "", base + "_" + (i == 3 ? comment40 : i == 6 ? "=1+1" : "note" + std::to_string(i)) + ".tag");
    std::vector<unsigned char> rgb((40 + i) * 30 * 3, 0x80);
    ASSERT_TRUE(jpegio::WriteJpegFile(store + file, {40 + i, 30, rgb.data(), (40 + i) * 3, jpegio::PixelOrder::Rgb}, 75, nullptr));
  }
  SetEnvironmentVariableA("XLSTANDIN_BUSY_CALLS", "2");  // each run's first calls wait for a busy moment
  ASSERT_TRUE(manager_.Start(day)) << ReadLog();
  manager_.Click("ﾎﾟｽﾄの検索");
  const std::vector<std::string> grid = manager_.Grid();
  ASSERT_EQ(grid.size(), 7u) << ReadLog();
  std::vector<std::string> names, comments;  // of grid rows 1 to 6
  for (size_t r = 0; r < 6; ++r) {
    std::vector<std::string> cells;
    std::stringstream in(grid[r]);
    for (std::string cell; std::getline(in, cell, '\t');) cells.push_back(cell);
    names.push_back(cells[9]);
    comments.push_back(cells[8]);
  }

  // The list: six entries, two completed.
  const std::string list = DocFolder() + "List\\" + day + "_" + day + ".xls";
  manager_.Click("一覧表");
  EXPECT_NE(Boxes().find(list + "\r\n保存しました。"), std::string::npos) << Boxes();
  const std::string firstList = ReadAll(list);
  const spreadsheet::Sheet sheet = ReadBook(list, "list.xls.txt").sheets.at(0);
  EXPECT_EQ(CellOf(sheet, "C3"), Slashed(day));
  EXPECT_EQ(CellOf(sheet, "G3") + CellOf(sheet, "G4") + CellOf(sheet, "H4"), U8("6 件 2 件 ( 33.3 ％)"));
  std::string marks;
  for (int r = 7; r <= 13; ++r) {
    EXPECT_EQ(CellOf(sheet, "J" + std::to_string(r)), r < 13 ? names[r - 7] : "");
    marks += CellOf(sheet, "D" + std::to_string(r));
  }
  EXPECT_EQ(marks, U8("●●"));
  const auto formulaRow = std::find(comments.begin(), comments.end(), "=1+1") - comments.begin();
  EXPECT_EQ(CellOf(sheet, "I" + std::to_string(7 + formulaRow)), "=1+1");  // user text stays text
  EXPECT_FALSE(Exists(DocFolder() + "List\\~kestro_" + day + "_" + day + ".xls"));
  // A save that fails keeps the older list as it was.
  const std::string blocker = DocFolder() + "List\\~kestro_" + day + "_" + day + ".xls";
  CreateDirectoryA(blocker.c_str(), nullptr);
  DeleteFileA(boxLog_.c_str());
  manager_.Click("一覧表");
  EXPECT_NE(Boxes().find("Excel処理が異常終了しました。"), std::string::npos) << Boxes();
  EXPECT_EQ(ReadAll(list), firstList);
  RemoveDirectoryA(blocker.c_str());
  // Only the completed rows: 100 percent, replacing the older list.
  manager_.Select(3, "完了のみ");
  manager_.Click("絞込み");
  manager_.Click("一覧表");
  EXPECT_EQ(CellOf(ReadBook(list, "list-completed.xls.txt").sheets.at(0), "H4"), U8("( 100.0 ％)"));
  manager_.Click("やり直し");

  // One picture a sheet: the first row's picture cannot be read while a
  // stale bitmap waits on the clipboard; aborted during the fourth row.
  const std::string first = store + names[0] + (Exists(store + names[0] + ".CMP") ? ".CMP" : "");
  std::string jpeg = ReadAll(first);
  WriteBytes(first, jpeg.replace(jpeg.find("\xFF\xC0") + 5, 4, "\x27\x10\x27\x11"));  // 10001 x 10000
  HDC screen = GetDC(nullptr);
  ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard());
  SetClipboardData(CF_BITMAP, CreateCompatibleBitmap(screen, 77, 55));
  CloseClipboard();
  ReleaseDC(nullptr, screen);
  SelectRows(1, 6);
  RunPictures(1, [&] {
    ASSERT_TRUE(WaitFor([&] { return ReadLog().find(day + "\\" + names[3]) != std::string::npos; }, 15000));
    PostMessageA(FindControl(manager_.window, "BUTTON", "中断"), BM_CLICK, 0, 0);
  });
  EXPECT_NE(ReadLog().find("画像を読み込めません。JPEGの形式に対応していません"), std::string::npos);
  EXPECT_NE(ReadLog().find("画像を準備できないのでスキップします。" + names[0]), std::string::npos);
  EXPECT_FALSE(Exists(output_.substr(0, output_.size() - 4)));  // no folder of the workbook's name
  auto book = ReadBook(output_, "pictures-kind1.xls.txt");
  // The click is taken at the next message pump, during the fourth or the
  // fifth row's fetch: the index and three or four pictures, no master page.
  ASSERT_TRUE(book.sheets.size() == 4u || book.sheets.size() == 5u) << book.sheets.size();
  EXPECT_EQ(book.sheets[0].hyperlinks.size(), book.sheets.size() - 1);
  for (const spreadsheet::Sheet& sheet : book.sheets) EXPECT_NE(sheet.name, U8("原紙"));
  for (int n = 1; n <= 3; ++n) {
    const spreadsheet::Sheet& page = book.sheets[n];
    const std::string name = "(" + std::to_string(n) + ")" + (comments[n] == comment40 ? comment40.substr(0, 28) : comments[n]);
    EXPECT_EQ(page.name, name);
    ASSERT_EQ(page.pictures.size(), 1u) << name;
    EXPECT_EQ(page.pictures[0].width, (40 + (names[n][3] - '0')) * 0.75) << "no stale picture";
    EXPECT_EQ(page.hyperlinks.at(0).subAddress, U8("画像一覧!A1"));
    EXPECT_EQ(CellOf(book.sheets[0], "C" + std::to_string(n + 3)), name);
    EXPECT_EQ(book.sheets[0].hyperlinks.at(n - 1).subAddress, "'" + name + "'!B1");
  }

  // All on one sheet, height limit 450: captions at rows 1 and 37.
  SelectRows(2, 3);
  RunPictures(2);
  book = ReadBook(output_, "pictures-kind2.xls.txt");
  ASSERT_EQ(book.sheets.size(), 2u);
  const spreadsheet::Sheet& all = book.sheets[1];
  EXPECT_EQ(all.name, U8("全ての画像"));
  ASSERT_EQ(all.pictures.size(), 2u);
  EXPECT_EQ(all.pictures[0].top, 13.5);       // A2
  EXPECT_EQ(all.pictures[1].top, 37 * 13.5);  // A38
  EXPECT_EQ(CellOf(all, "C1"), "(1)" + comments[1]);
  EXPECT_EQ(CellOf(all, "A37"), U8("一覧に戻る"));
  EXPECT_EQ(book.sheets[0].hyperlinks.at(1).subAddress, U8("'全ての画像'!B37"));
  EXPECT_EQ(all.pageSetup.zoom, 0);  // without a zoom, so that the page counts count
  EXPECT_EQ(all.pageSetup.fitToPagesTall, 32767);

  // The A4 forms from their templates: the name, reviewer and date cells.
  SYSTEMTIME st;
  GetLocalTime(&st);
  char today[64];
  std::snprintf(today, sizeof today, "%04u年%02u月%02u日", st.wYear, st.wMonth, st.wDay);
  const char* const cells[3][3] = {{"I3", "G1", "B3"}, {"A6", "H1", "E6"}, {"B5", "E1", "B4"}};
  for (int kind = 3; kind <= 5; ++kind) {
    SelectRows(2, 2);
    RunPictures(kind);
    book = ReadBook(output_, "pictures-kind" + std::to_string(kind) + ".xls.txt");
    ASSERT_EQ(book.sheets.size(), 2u) << kind;
    const spreadsheet::Sheet& page = book.sheets[1];
    EXPECT_EQ(page.pictures.size(), 1u);
    EXPECT_EQ(CellOf(page, "A1") + "|" + CellOf(page, cells[kind - 3][0]) + "|" + CellOf(page, cells[kind - 3][1]) +
                  "|" + CellOf(page, cells[kind - 3][2]),
              U8("一覧に戻る|(1)" + comments[1] + "|=1+1|" + today))
        << kind;
  }
}

TEST_F(XlsOutputTest, AListGivenUpWhileTheSpreadsheetStaysBusyLeavesNoFile) {
  const std::string day = DayBefore(0), base = "PC01" + day + "090001001";
  PostReport(day, base + ".jpg", "x", base + "_note.tag");
  SetEnvironmentVariableA("XLSTANDIN_BUSY_CALLS", "1000000");
  SetEnvironmentVariableA("KESTRO_TEST_BUSY_LIMIT_MS", "300");
  ASSERT_TRUE(manager_.Start(day)) << ReadLog();
  manager_.Click("ﾎﾟｽﾄの検索");
  manager_.Click("一覧表");
  EXPECT_NE(Boxes().find("Excel処理が異常終了しました。"), std::string::npos) << Boxes();
  EXPECT_FALSE(Exists(DocFolder() + "List\\" + day + "_" + day + ".xls"));
}

}  // namespace
