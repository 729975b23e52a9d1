// The client's report workbook routines against the stand-in application.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "client/ReportWorkbook.h"
#include "client/portable/ReportNaming.h"
#include "office/Spreadsheet.h"
#include "office/portable/WorkbookPassword.h"
#include "tests/client/WineTestFiles.h"
#include "tests/office/SavedWorkbook.h"

namespace {

using standin::ReadBytes;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ReportWorkbook : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(standin::Register());
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    store_ = std::string(temp) + "xlreport_test\\";
    CreateDirectoryA(store_.c_str(), nullptr);
    CreateDirectoryA((store_ + "20240501").c_str(), nullptr);
    CreateDirectoryA((store_ + "20240501tag").c_str(), nullptr);
    log_ = store_ + "calls.txt";
    DeleteFileA(log_.c_str());
    SetEnvironmentVariableA("XLSTANDIN_CALL_LOG", log_.c_str());
    standin::WriteBytes(store_ + "000001_1.jpg", standin::FakeJpeg());
    input_.templatePath = standin::ProgramFolder() + "template.xls";
    input_.processingDay = "20240501";
    input_.picturePath = store_ + "000001_1.jpg";
    input_.presentDate = "2024/05/01(水)";
    input_.outbreakDate = "2024/05/01(水)";
    input_.terminal = "PC01";
    input_.project = "";
    input_.title = "画面が固まる";
    input_.detailLines = {"", "abc"};
    input_.operationLines = {"a", "b", "c"};
    input_.protect = true;
    path_ = store_ + "20240501\\PC0120240501093000001.xls";
    DeleteFileA(path_.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("XLSTANDIN_CALL_LOG", nullptr);
    EXPECT_EQ(standin::LiveObjects(), 0);
  }
  spreadsheet::Sheet SavedSheet(const std::string& path, std::string* password = nullptr) {
    spreadsheet::WorkbookDocument document = standin::SavedWorkbook(path);
    if (password) *password = document.password;
    return document.sheets.empty() ? spreadsheet::Sheet() : document.sheets[0];
  }
  static std::string Cell(const spreadsheet::Sheet& sheet, const char* name) { return standin::CellValue(sheet, name); }

  standin::Pin pin_;
  std::string store_, log_, path_;
  workbook::ReportWorkbookInput input_;
};

TEST_F(ReportWorkbook, WritesTheCellsThePictureAndThePassword) {
  // The shipped template is a real .xls workbook, and stays one.
  const std::string templateBytes = ReadBytes(input_.templatePath);
  ASSERT_EQ(templateBytes.compare(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"), 0);
  std::string password;
  ASSERT_TRUE(office::fncMakePwd("20240501093000", password));
  input_.project = "営業部";
  input_.outbreakDate = "2024/04/30(火)";
  input_.title = "=1+1";
  ASSERT_TRUE(workbook::fucXlsSet(path_, "PC0120240501093000001", password, input_));
  std::string saved;
  spreadsheet::Sheet sheet = SavedSheet(path_, &saved);
  EXPECT_EQ(saved, password);
  EXPECT_EQ(sheet.name, u8"報告書");
  EXPECT_EQ(Cell(sheet, "T2"), "PC0120240501093000001");
  EXPECT_EQ(Cell(sheet, "E3"), u8"2024/05/01(水)");
  EXPECT_EQ(Cell(sheet, "E4"), u8"2024/04/30(火)");
  EXPECT_EQ(Cell(sheet, "E5"), "PC01");
  EXPECT_EQ(Cell(sheet, "I7"), u8"営業部");
  EXPECT_EQ(Cell(sheet, "I8"), "=1+1");  // a title stays text
  EXPECT_EQ(Cell(sheet, "I9"), "abc");
  EXPECT_EQ(Cell(sheet, "E11"), "a\nb\nc");
  for (const char* name : {"T2", "E3", "E4", "E5", "I7", "I8", "I9", "E11"}) {
    spreadsheet::CellAddress at;
    ASSERT_TRUE(spreadsheet::ParseCellAddress(name, at));
    EXPECT_EQ(sheet.cells[at].format, "@") << name;
  }
  // The template's labels stay around the filled cells.
  EXPECT_EQ(Cell(sheet, "G8"), u8"件名");
  EXPECT_EQ(Cell(sheet, "R2"), u8"報告番号");
  ASSERT_EQ(sheet.pictures.size(), 1u);
  EXPECT_DOUBLE_EQ(sheet.pictures[0].height, 350);
  EXPECT_DOUBLE_EQ(sheet.pictures[0].width, 437.5);
  EXPECT_DOUBLE_EQ(sheet.pictures[0].top, 280);
  EXPECT_DOUBLE_EQ(sheet.pictures[0].left, 36);
  // Every text format comes before the first value; the template is kept.
  std::string calls = ReadBytes(log_);
  size_t lastFormat = calls.rfind("NumberFormatLocal = \"@\"");
  size_t firstValue = calls.find(".Value = ");
  ASSERT_NE(firstValue, std::string::npos);
  EXPECT_LT(lastFormat, firstValue);
  EXPECT_LT(calls.find("Shape(1).Height = 350"), calls.find("Shape(1).Top = 280"));
  // No prompt can come up: alerts off before the template opens, its links
  // left alone, the file format named.
  EXPECT_LT(calls.find("Application.DisplayAlerts = False"), calls.find("Workbooks.Open(\"", 0));
  EXPECT_NE(calls.find("Workbooks.Open(\"" + input_.templatePath + "\", 0)"), std::string::npos);
  EXPECT_NE(calls.find("SaveAs(Filename:=\"" + path_ + "\", FileFormat:=56, Password:="), std::string::npos);
  EXPECT_NE(calls.find("Workbook(PC0120240501093000001.xls).Close(False)"), std::string::npos);
  EXPECT_EQ(ReadBytes(input_.templatePath), templateBytes);
}

TEST_F(ReportWorkbook, WithoutProtectionTheBookOpensWithoutPassword) {
  input_.protect = false;
  ASSERT_TRUE(workbook::fucXlsSet(path_, "PC0120240501093000001", "1234", input_));
  std::string saved = "x";
  SavedSheet(path_, &saved);
  EXPECT_EQ(saved, "");
}

TEST_F(ReportWorkbook, FailuresReturnFalseAndLeaveNoWorkbook) {
  input_.processingDay = "20240231";
  EXPECT_FALSE(workbook::fucXlsSet(path_, "PC0120240501093000001", "1234", input_));
  EXPECT_FALSE(Exists(path_));
  input_.processingDay = "20240501";
  input_.picturePath = store_ + "missing.jpg";
  EXPECT_FALSE(workbook::fucXlsSet(path_, "PC0120240501093000001", "1234", input_));
  EXPECT_FALSE(workbook::fucXlsSet(store_ + "nofolder\\x.xls", "PC01", "1234", input_));
  input_.templatePath = store_ + "none.xls";
  EXPECT_FALSE(workbook::fucXlsSet(path_, "PC0120240501093000001", "1234", input_));
  EXPECT_FALSE(Exists(path_));
  // A template that is no workbook at all, or a real one cut short.
  standin::WriteBytes(store_ + "none.xls", "plain text, no workbook\r\n");
  EXPECT_FALSE(workbook::fucXlsSet(path_, "PC0120240501093000001", "1234", input_));
  standin::WriteBytes(store_ + "none.xls", ReadBytes(standin::ProgramFolder() + "template.xls").substr(0, 3000));
  EXPECT_FALSE(workbook::fucXlsSet(path_, "PC0120240501093000001", "1234", input_));
  EXPECT_FALSE(Exists(path_));
  DeleteFileA((store_ + "none.xls").c_str());
}

TEST_F(ReportWorkbook, PasswordChangeAndReTag) {
  ASSERT_TRUE(workbook::fucXlsSet(path_, "PC0120240501093000001", "4821", input_));
  std::string oldTag = store_ + "20240501tag\\PC0120240501093000001_old.tag";
  std::ofstream(oldTag).close();
  const std::string name = "PC0120240501093000001.xls";
  EXPECT_THROW(workbook::fucXlsPwdChg(false, store_, "20240501", name, "1111", ""), std::runtime_error);
  try {
    workbook::fucXlsPwdChg(false, store_, "20240501", name, "", "");
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "ExcelのOPENに失敗しました");
  }
  // Unprotect for viewing, change the title as a viewer would, protect again.
  ASSERT_TRUE(workbook::fucXlsPwdChg(false, store_, "20240501", name, "4821", ""));
  {
    auto app = office::Application::Create();
    app.SetDisplayAlerts(false);
    auto book = app.Workbooks().Open(path_, {0});
    book.Sheet(1).Range("I8").SetValue(std::string("新しい件名"));
    book.SaveAs(path_, 56);
    book.Close(false);
    app.Quit();
  }
  ASSERT_TRUE(workbook::fucXlsPwdChg(true, store_, "20240501", name, "", "4821"));
  std::string saved;
  SavedSheet(path_, &saved);
  EXPECT_EQ(saved, "4821");
  EXPECT_FALSE(Exists(oldTag));
  std::string newTag = store_ + "20240501tag\\PC0120240501093000001_新しい件名.tag";
  EXPECT_TRUE(Exists(newTag));
  DeleteFileA(newTag.c_str());
}

TEST_F(ReportWorkbook, ReTagKeepsTheTagWhenTheTitleStaysAndWhenTheNewOneCannotBeMade) {
  const std::string name = "PC0120240501093000001.xls";
  ASSERT_TRUE(workbook::fucXlsSet(path_, "PC0120240501093000001", "4821", input_));
  // The title is unchanged: the tag stays as it is.
  std::string sameTag = store_ + "20240501tag\\PC0120240501093000001_画面が固まる.tag";
  standin::WriteBytes(sameTag, "keep");
  ASSERT_TRUE(workbook::fucXlsPwdChg(true, store_, "20240501", name, "4821", "4821"));
  EXPECT_EQ(ReadBytes(sameTag), "keep");
  DeleteFileA(sameTag.c_str());

  // A title that makes the tag path too long: the old tag is kept, the
  // workbook is protected again all the same, and the error says why.
  std::string deep = store_ + std::string(150, 'd') + "\\";
  CreateDirectoryA(deep.c_str(), nullptr);
  CreateDirectoryA((deep + "20240501").c_str(), nullptr);
  CreateDirectoryA((deep + "20240501tag").c_str(), nullptr);
  input_.title.clear();
  for (int i = 0; i < 50; ++i) input_.title += "件";
  ASSERT_TRUE(workbook::fucXlsSet(deep + "20240501\\" + name, "PC0120240501093000001", "4821", input_));
  std::string oldTag = deep + "20240501tag\\PC0120240501093000001_old.tag";
  std::ofstream(oldTag).close();
  try {
    workbook::fucXlsPwdChg(true, deep, "20240501", name, "4821", "4821");
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), kTagPathTooLong);
  }
  EXPECT_TRUE(Exists(oldTag));
  std::string saved;
  SavedSheet(deep + "20240501\\" + name, &saved);
  EXPECT_EQ(saved, "4821");
  RemoveTree(deep);
}

TEST_F(ReportWorkbook, AnOlderVersionGetsThePictureAtItsOwnSizeAndTheOlderFileFormat) {
  SetEnvironmentVariableA("XLSTANDIN_VERSION", "11.0");
  const bool saved = workbook::fucXlsSet(path_, "PC0120240501093000001", "1234", input_);
  SetEnvironmentVariableA("XLSTANDIN_VERSION", nullptr);
  ASSERT_TRUE(saved) << ReadBytes(log_);
  spreadsheet::Sheet sheet = SavedSheet(path_);
  ASSERT_EQ(sheet.pictures.size(), 1u);
  EXPECT_DOUBLE_EQ(sheet.pictures[0].width, 437.5);  // 750 x 600 points, limited to 350 high
  EXPECT_TRUE(sheet.pictures[0].embedded);
  EXPECT_NE(ReadBytes(log_).find("FileFormat:=-4143"), std::string::npos);
}

TEST_F(ReportWorkbook, ProbesForTheApplicationAndItsWindow) {
  EXPECT_TRUE(workbook::fucXlsFind());
  EXPECT_TRUE(workbook::fucXlsProcess());
  {
    auto app = office::Application::Create();
    app.SetVisible(true);
    DWORD start = GetTickCount();
    EXPECT_FALSE(workbook::fucXlsProcess());
    EXPECT_GE(GetTickCount() - start, 180u);  // three looks, 100 ms apart
    app.Quit();
  }
  ASSERT_TRUE(standin::Unregister());
  EXPECT_FALSE(workbook::fucXlsFind());
  ASSERT_TRUE(standin::Register());
}

}  // namespace
