// Saving reports into the local store: the workbook against the stand-in
// spreadsheet application, the picture copy, the tag file, the counter, and
// the fall-back to pictures when no spreadsheet application is registered.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <vector>

#include "client/CaptureState.h"
#include "client/Common.h"
#include "client/Global.h"
#include "client/ReportSaving.h"
#include "client/SettingsValues.h"
#include "client/portable/ReportNaming.h"
#include "forms/MessageBox.h"
#include "office/OleError.h"
#include "office/Spreadsheet.h"
#include "office/portable/WorkbookPassword.h"
#include "tests/client/WineTestFiles.h"
#include "tests/office/SavedWorkbook.h"

namespace {

const char kName[] = "営業部_PC0120240501093000001";
// The report name of this capture with another counter.
std::string NameWith(const char* counter) { return std::string("営業部_PC0120240501093000") + counter; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A JPEG header of 2000 x 800 pixels: wider than the workbook allows.
std::string WideJpeg() {
  std::string jpeg("\xFF\xD8\xFF\xC0\x00\x11\x08\x03\x20\x07\xD0\x03", 12);
  return jpeg + std::string(16, '\0');
}

// The cells of the calls "Range(<cell>).<member> = ..." in order.
std::vector<std::string> CellsSet(const std::string& calls, const std::string& member) {
  std::vector<std::string> cells;
  const std::string tail = ")." + member + " = ";
  for (size_t at = calls.find(tail); at != std::string::npos; at = calls.find(tail, at + 1)) {
    size_t open = calls.rfind("Range(", at);
    cells.push_back(calls.substr(open + 6, at - open - 6));
  }
  return cells;
}

class ReportSaving : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(standin::Register());
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "kestro_saving_test";
    RemoveTree(root_);
    gDataDir = root_ + "\\data\\";
    ASSERT_TRUE(ForceDirectories(gDataDir + "temp"));
    gExeDir = standin::ProgramFolder();
    gSettings = SettingsValues();
    gSettings.DATE = "20240430";
    gSettings.NUM = 5;
    gSettings.OPERATION = "PC01";
    gSettings.PROJECT = "営業部";
    gSettings.STYLE = 0;
    gSettings.EXCELPWD = 1;
    gSettings.TOP = 280;
    gSettings.LEFT = 36;
    gSettings.HEIGHT = 350;
    gSettings.WIDTH = 470;
    gSettings.LOCALDIR = root_ + "\\store\\";
    gCurrentCapture = "000001_1.jpg";
    gCaptureDate = "20240501";
    gCaptureTime = "093000";
    standin::WriteBytes(CurrentCapturePath(), WideJpeg());
    fields_ = {"2024/05/01 (水曜日)", "2024/04/30 (火曜日)", "画面が固まる", {"", "abc"}, {"a", "b", "c"}};
    calls_ = root_ + "\\calls.txt";
    SetEnvironmentVariableA("XLSTANDIN_CALL_LOG", calls_.c_str());
    forms::SetMessageBoxHook([this](const forms::MessageBoxRecord& box) {
      boxes_.push_back(box);
      return IDOK;
    });
  }
  void TearDown() override {
    forms::SetMessageBoxHook({});
    SetEnvironmentVariableA("XLSTANDIN_CALL_LOG", nullptr);
    EXPECT_EQ(standin::LiveObjects(), 0);
    EXPECT_TRUE(standin::Register());
    gDataDir.clear();
    RemoveTree(root_);
  }

  std::string DayFile(const std::string& name) const { return gSettings.LOCALDIR + "20240501\\" + name; }
  std::string TagFile(const std::string& name) const { return gSettings.LOCALDIR + "20240501tag\\" + name; }
  std::string SysLog() const {
    WIN32_FIND_DATAA found;
    std::string all, folder = gDataDir + "syslog\\";
    HANDLE search = FindFirstFileA((folder + "*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return all;
    do all += ReadAll(folder + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return all;
  }
  static spreadsheet::WorkbookDocument Saved(const std::string& path) { return standin::SavedWorkbook(path); }
  static std::string Cell(const spreadsheet::Sheet& sheet, const char* name) { return standin::CellValue(sheet, name); }

  standin::Pin pin_;
  std::string root_, calls_;
  ReportFormFields fields_;
  std::vector<forms::MessageBoxRecord> boxes_;
  ReportSaver saver_;
};

TEST_F(ReportSaving, ReportStyleWritesTheWorkbookAndItsTag) {
  std::string folder, name;
  ASSERT_TRUE(saver_.fncSaveFile(folder, name, fields_));
  EXPECT_EQ(folder, "20240501");
  EXPECT_EQ(name, std::string(kName) + ".xls");
  EXPECT_EQ(gSettings.DATE, "20240501");  // a new day: counter 1, then 2
  EXPECT_EQ(gSettings.NUM, 2);
  std::string tag = TagFile(std::string(kName) + "_画面が固まる.tag");
  ASSERT_TRUE(Exists(tag));
  EXPECT_EQ(ReadAll(tag), "");
  EXPECT_TRUE(boxes_.empty());

  spreadsheet::WorkbookDocument book = Saved(DayFile(name));
  std::string password;
  office::fncMakePwd("20240501093000", password);
  EXPECT_EQ(book.password, password);
  const spreadsheet::Sheet& sheet = book.sheets.at(0);
  EXPECT_EQ(Cell(sheet, "T2"), "PC0120240501093000001");
  EXPECT_EQ(Cell(sheet, "E3"), u8"2024/05/01 (水曜日)");
  EXPECT_EQ(Cell(sheet, "E4"), u8"2024/04/30 (火曜日)");
  EXPECT_EQ(Cell(sheet, "I7"), u8"営業部");
  // 1500 x 600 points: the height is limited first, then the width.
  ASSERT_EQ(sheet.pictures.size(), 1u);
  EXPECT_DOUBLE_EQ(sheet.pictures[0].width, 470);
  EXPECT_DOUBLE_EQ(sheet.pictures[0].height, 188);
  EXPECT_DOUBLE_EQ(sheet.pictures[0].top, 280);
  EXPECT_DOUBLE_EQ(sheet.pictures[0].left, 36);

  // All eight formats, then all eight values, each in the cell order.
  std::string calls = ReadAll(calls_);
  const std::vector<std::string> order = {"T2", "E3", "E4", "E5", "I7", "I8", "I9", "E11"};
  EXPECT_EQ(CellsSet(calls, "NumberFormatLocal"), order);
  EXPECT_EQ(CellsSet(calls, "Value"), order);
  EXPECT_LT(calls.rfind("NumberFormatLocal = "), calls.find(".Value = "));
  size_t height = calls.find("Shape(1).Height = 350"), width = calls.find("Shape(1).Width = 470");
  ASSERT_NE(height, std::string::npos);
  ASSERT_NE(width, std::string::npos);
  EXPECT_LT(height, width);
  EXPECT_LT(width, calls.find("Shape(1).Top = 280"));
  EXPECT_NE(calls.find("Password:=\"" + password + "\""), std::string::npos);

  // The protected report opens only with its password.
  auto app = office::Application::Create();
  app.SetDisplayAlerts(false);
  EXPECT_THROW(app.Workbooks().OpenWithPassword(DayFile(name), password == "1000" ? "1001" : "1000"),
               office::OleError);
  auto opened = app.Workbooks().OpenWithPassword(DayFile(name), password);
  opened.Close(false);
  app.Quit();

  std::string log = SysLog();
  for (const char* line : {"登録画面,fncSaveFile()Name=PC0120240501093000001", "登録画面,fncSaveFile()Style=0",
                           "登録画面,fncSaveFile()Try=1", "登録画面,fucXlsFree()FREE", "登録画面,fncTagFile()"})
    EXPECT_NE(log.find(line), std::string::npos) << line;
}

TEST_F(ReportSaving, WithoutExcelPwdTheWorkbookHasNoPassword) {
  gSettings.EXCELPWD = 0;
  std::string folder, name;
  ASSERT_TRUE(saver_.fncSaveFile(folder, name, fields_));
  EXPECT_EQ(Saved(DayFile(name)).password, "");
  EXPECT_EQ(ReadAll(calls_).find("Password:="), std::string::npos);
}

TEST_F(ReportSaving, ImageStyleCopiesTheCaptureAndNeverReplacesATag) {
  gSettings.STYLE = 1;
  gSettings.PROJECT.clear();
  gSettings.DATE = "20240501";
  gSettings.NUM = 999;
  fields_.title.clear();
  std::string folder, name;
  ASSERT_TRUE(saver_.fncSaveFile(folder, name, fields_));
  EXPECT_EQ(name, "PC0120240501093000999.jpg");
  EXPECT_EQ(gSettings.NUM, 1);
  EXPECT_EQ(ReadAll(DayFile(name)), WideJpeg());
  EXPECT_EQ(ReadAll(TagFile("PC0120240501093000999_.tag")), "");
  EXPECT_FALSE(Exists(calls_));  // no spreadsheet call at all

  // The same name again: the picture is replaced, the tag is kept as it is.
  standin::WriteBytes(TagFile("PC0120240501093000999_.tag"), "keep");
  standin::WriteBytes(CurrentCapturePath(), "second");
  gSettings.NUM = 999;
  ASSERT_TRUE(saver_.fncSaveFile(folder, name, fields_));
  EXPECT_EQ(ReadAll(DayFile(name)), "second");
  EXPECT_EQ(ReadAll(TagFile("PC0120240501093000999_.tag")), "keep");
  EXPECT_FALSE(saver_.fncTagFile("20240501", "PC0120240501093000999", ""));
  EXPECT_EQ(ReadAll(TagFile("PC0120240501093000999_.tag")), "keep");
  EXPECT_NE(SysLog().find("fncTagFile()ERROR="), std::string::npos);

  // A title of 60 characters names the tag with its first 50.
  std::string sixty(60, 'x');
  EXPECT_TRUE(saver_.fncTagFile("20240501", "N", "件名" + sixty));
  EXPECT_TRUE(Exists(TagFile("N_件名" + std::string(48, 'x') + ".tag")));
}

TEST_F(ReportSaving, AWorkbookThatCannotBeWrittenFailsAfterThreeTriesAndStillCounts) {
  gSettings.DATE = "20249999";  // later than the capture, so kept, and no calendar day
  std::string folder, name;
  EXPECT_FALSE(saver_.fncSaveFile(folder, name, fields_));
  EXPECT_EQ(folder, "20249999");
  EXPECT_EQ(name, NameWith("005") + ".xls");
  EXPECT_EQ(gSettings.NUM, 6);
  EXPECT_FALSE(Exists(gSettings.LOCALDIR + "20249999\\" + name));
  std::string log = SysLog();
  EXPECT_NE(log.find("fncSaveFile()Try=3"), std::string::npos);
  EXPECT_EQ(log.find("fncTagFile()"), std::string::npos);
  EXPECT_NE(log.find("fucXlsSet()ERROR=Excelの保存に失敗しました"), std::string::npos);
}

TEST_F(ReportSaving, AMissingTemplateRaisesAndTheCounterStays) {
  gExeDir = root_ + "\\";
  std::string folder, name;
  try {
    saver_.fncSaveFile(folder, name, fields_);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "**fncSaveFile template NotFound");
  }
  EXPECT_EQ(gSettings.DATE, "20240501");
  EXPECT_EQ(gSettings.NUM, 1);
  EXPECT_NE(SysLog().find("fncSaveFile()ERROR=**fncSaveFile template NotFound"), std::string::npos);
  EXPECT_EQ(SysLog().find("Try=2"), std::string::npos);
}

TEST_F(ReportSaving, ATagPathTooLongIsRefusedBeforeAnythingIsWritten) {
  gSettings.LOCALDIR = root_ + "\\" + std::string(120, 'd') + "\\";
  fields_.title.clear();
  for (int i = 0; i < 50; ++i) fields_.title += "件";
  std::string folder, name;
  try {
    saver_.fncSaveFile(folder, name, fields_);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), kTagPathTooLong);
  }
  EXPECT_EQ(gSettings.NUM, 1);  // not advanced: the same name is used again
  EXPECT_FALSE(Exists(gSettings.LOCALDIR + "20240501\\" + kName + ".xls"));
  EXPECT_FALSE(Exists(calls_));
  EXPECT_TRUE(Exists(CurrentCapturePath()));
  // A shorter title then saves.
  fields_.title = "件名";
  EXPECT_TRUE(saver_.fncSaveFile(folder, name, fields_));
  EXPECT_TRUE(Exists(gSettings.LOCALDIR + "20240501tag\\" + kName + "_件名.tag"));
}

TEST_F(ReportSaving, WithoutASpreadsheetApplicationPicturesAreSavedAndTheBoxComesOnce) {
  ASSERT_TRUE(standin::Unregister());
  std::string folder, name;
  ASSERT_TRUE(saver_.fncSaveFile(folder, name, fields_));
  EXPECT_EQ(name, std::string(kName) + ".jpg");
  EXPECT_EQ(gSettings.STYLE, 1);
  ASSERT_TRUE(saver_.fncSaveFile(folder, name, fields_));
  EXPECT_EQ(name, NameWith("002") + ".jpg");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].caption, "ERROR");
  EXPECT_EQ(boxes_[0].text,
            "エクセルがインストールされていません。画像で保存します\r\n以降、「画像スタイル」で処理します");
  EXPECT_EQ(boxes_[0].flags, static_cast<UINT>(MB_OK | MB_TOPMOST));
  std::string log = SysLog();
  EXPECT_NE(log.find("fucXlsFind()ERROR="), std::string::npos);
  EXPECT_NE(log.find("fncSaveFile()Style=1"), std::string::npos);
}

}  // namespace
