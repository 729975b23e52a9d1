// The running client, report style (STYLE 0, SHOW 0), posting into a shared
// folder: a capture becomes a workbook made from the template.xls that ships
// next to Kestro.exe, with the report cells filled and the template's labels
// kept.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/client/KestroProcessSupport.h"
#include "tests/client/WineTestFiles.h"
#include "tests/office/SavedWorkbook.h"

namespace {

const int kUnbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0);

class KestroReportStyle : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(standin::Register());
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    store_ = std::string(temp) + "kestro_report_style_store\\";
    boxLog_ = UseBoxLog("kestro_report_style_boxes.txt");
    RemoveTree(store_.substr(0, store_.size() - 1));
    FreshDataFolder();
    std::ofstream ini(DataFolder() + "Kestro.ini", std::ios::binary);
    ini << "[KESTRO]\r\nSAVE=0\r\nSHOW=0\r\nSTYLE=0\r\nEXCELPWD=0\r\nOPERATION=PC01\r\nPROJECT=SALES\r\n"
        << "VALIDDAY=10\r\nFILESAVEPATH=" << store_ << "\r\n";
  }
  void TearDown() override {
    EndKestro(process_);
    for (const char* name : {"KESTRO_MSGBOX_LOG", "XLSTANDIN_BUSY_CALLS", "KESTRO_TEST_BUSY_LIMIT_MS"})
      SetEnvironmentVariableA(name, nullptr);
    DeleteFileA(boxLog_.c_str());
    RemoveTree(store_.substr(0, store_.size() - 1));
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  }

  std::string store_, boxLog_;
  PROCESS_INFORMATION process_{};
};

}  // namespace

TEST_F(KestroReportStyle, ACaptureBecomesAWorkbookFromTheShippedTemplate) {
  const std::string templatePath = ProgramFolder() + "template.xls";
  ASSERT_EQ(standin::ReadBytes(templatePath).compare(0, 4, "\xD0\xCF\x11\xE0"), 0) << "no real workbook";
  SetEnvironmentVariableA("XLSTANDIN_BUSY_CALLS", "3");  // a busy moment is waited out
  ASSERT_TRUE(StartKestro(process_));
  ASSERT_TRUE(WaitFor([] { return FindWindowA("TForm1", "Kestro") != nullptr; }, 20000));
  const std::string capture = CaptureWhenReady();
  ASSERT_FALSE(capture.empty()) << ReadLog();

  const std::string day = Today("%04d%02d%02d"), dayFolder = store_ + day + "\\";
  std::string name;
  ASSERT_TRUE(WaitFor([&] { return !(name = FindFile(dayFolder + "*.xls")).empty(); }, 60000)) << ReadLog();
  ASSERT_TRUE(WaitFor([&] { return !FindFile(store_ + day + "tag\\*.tag").empty(); }, 20000)) << ReadLog();
  const std::string log = ReadLog();
  EXPECT_EQ(log.find("ファイルの保存に失敗しました"), std::string::npos) << log;
  EXPECT_NE(log.find("fucXlsSet()Save="), std::string::npos) << log;

  // SALES_PC01<yyyymmdd><hhnnss>001.xls; T2 holds it without project and extension.
  ASSERT_EQ(name.compare(0, 6, "SALES_"), 0) << name;
  const std::string base = name.substr(6, name.size() - 10);
  spreadsheet::WorkbookDocument book = standin::SavedWorkbook(dayFolder + name);
  EXPECT_TRUE(book.password.empty());
  ASSERT_FALSE(book.sheets.empty());
  const spreadsheet::Sheet& sheet = book.sheets[0];
  const std::string date = Today("%04d/%02d/%02d");
  EXPECT_EQ(standin::CellValue(sheet, "T2"), base);
  EXPECT_EQ(standin::CellValue(sheet, "E3").compare(0, 10, date), 0) << standin::CellValue(sheet, "E3");
  EXPECT_EQ(standin::CellValue(sheet, "E4").compare(0, 10, date), 0) << standin::CellValue(sheet, "E4");
  EXPECT_EQ(standin::CellValue(sheet, "E5"), "PC01");
  EXPECT_EQ(standin::CellValue(sheet, "I7"), "SALES");
  for (const char* cell : {"T2", "E3", "E4", "E5", "I7", "I8", "I9", "E11"}) {
    spreadsheet::CellAddress at;
    ASSERT_TRUE(spreadsheet::ParseCellAddress(cell, at));
    ASSERT_EQ(sheet.cells.count(at), 1u) << cell;
    EXPECT_EQ(sheet.cells.at(at).format, "@") << cell;
  }
  // Every label of the template is still there.
  const spreadsheet::Sheet original = standin::SavedWorkbook(templatePath).sheets.at(0);
  for (const auto& [at, cell] : original.cells)
    if (!cell.value.empty()) {
      auto kept = sheet.cells.find(at);
      ASSERT_NE(kept, sheet.cells.end()) << spreadsheet::FormatCellAddress(at);
      EXPECT_EQ(kept->second.value, cell.value);
    }
  EXPECT_EQ(standin::CellValue(sheet, "G8"), u8"件名");
  ASSERT_EQ(sheet.pictures.size(), 1u);
  EXPECT_DOUBLE_EQ(sheet.pictures[0].top, 280);
  EXPECT_DOUBLE_EQ(sheet.pictures[0].left, 36);
  // The capture is gone; its picture is in the workbook, not a link to it.
  const std::string source = sheet.pictures[0].source;
  EXPECT_TRUE(WaitFor([&] { return GetFileAttributesA(source.c_str()) == INVALID_FILE_ATTRIBUTES; }, 20000));
  EXPECT_TRUE(sheet.pictures[0].embedded);
  EXPECT_EQ(standin::ReadBytes(boxLog_), "");
}

TEST_F(KestroReportStyle, ASpreadsheetBusyForTooLongEndsInTheSaveFailureWithNothingSaved) {
  SetEnvironmentVariableA("XLSTANDIN_BUSY_CALLS", "1000000");
  SetEnvironmentVariableA("KESTRO_TEST_BUSY_LIMIT_MS", "300");
  ASSERT_TRUE(StartKestro(process_));
  ASSERT_TRUE(WaitFor([] { return FindWindowA("TForm1", "Kestro") != nullptr; }, 20000));
  ASSERT_FALSE(CaptureWhenReady().empty()) << ReadLog();
  // Posted at once (SHOW 0): the failure is logged and the capture kept.
  ASSERT_TRUE(WaitFor([] { return ReadLog().find("fncSendFile()ERROR=ファイルの保存に失敗しました") != std::string::npos; },
                      60000))
      << ReadLog();
  EXPECT_EQ(ReadLog().find("fucXlsSet()Save="), std::string::npos);
  EXPECT_EQ(FindFile(store_ + Today("%04d%02d%02d") + "\\*.xls"), "");
}
