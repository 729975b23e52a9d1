// The stand-in spreadsheet application driven through the programs' own
// automation wrapper, as the client and the manager drive it.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <sstream>

#include "office/OleError.h"
#include "office/Spreadsheet.h"
#include "office/SpreadsheetProbe.h"
#include "spreadsheet/portable/WorkbookFormat.h"
#include "tests/office/StandInTestSupport.h"

using office::OleError;

namespace {

using standin::FakeJpeg;
using standin::ReadBytes;
using standin::WriteBytes;

class StandIn : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(standin::Register());
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "xlstandin_test\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    log_ = folder_ + "calls.txt";
    DeleteFileA(log_.c_str());
    SetEnvironmentVariableA("XLSTANDIN_CALL_LOG", log_.c_str());
    // A template with one sheet and a protected book.
    WriteBytes(folder_ + "template.xls", "XLSTANDIN-WORKBOOK 1\nSHEET\tSheet1\nCELL\tA1\t\ts\ttitle\nSHEET\tSheet2\n");
    WriteBytes(folder_ + "locked.xls", "XLSTANDIN-WORKBOOK 1\nPASSWORD\t4821\nSHEET\tSheet1\n");
    WriteBytes(folder_ + "shot.jpg", FakeJpeg());
  }
  void TearDown() override {
    SetEnvironmentVariableA("XLSTANDIN_CALL_LOG", nullptr);
    // Every object is gone again, whatever the test did.
    EXPECT_EQ(standin::LiveObjects(), 0);
  }
  std::vector<std::string> Calls() {
    std::vector<std::string> lines;
    std::istringstream in(ReadBytes(log_));
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
  static size_t Position(const std::vector<std::string>& lines, const std::string& text) {
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find(text) != std::string::npos) return i;
    return std::string::npos;
  }

  standin::Pin pin_;
  std::string folder_, log_;
};

TEST_F(StandIn, FillsSavesWithPasswordAndReopens) {
  std::string saved = folder_ + "報告書.xls";
  DeleteFileA(saved.c_str());
  {
    auto app = office::Application::Create();
    app.SetDisplayAlerts(false);
    auto book = app.Workbooks().Open(folder_ + "template.xls", {0});
    auto sheet = book.Sheet(1);
    sheet.Activate();
    for (const char* cell : {"T2", "I9"}) sheet.Range(cell).SetNumberFormatLocal("@");
    sheet.Range("T2").SetValue(std::string("PC0120240501093000001"));
    sheet.Range("I9").SetValue(std::string("詳細\n二行目"));
    sheet.Range("B2").SetValue(std::string("0012"));  // no text format: becomes a number
    book.SaveAs(saved, 56, "4821");
    book.Close(false);
    app.Quit();
  }
  spreadsheet::WorkbookDocument document;
  std::string error;
  ASSERT_TRUE(spreadsheet::ReadWorkbook(ReadBytes(saved), document, error)) << error;
  EXPECT_EQ(document.password, "4821");
  EXPECT_EQ(document.sheets[0].cells[(spreadsheet::CellAddress{9, 9})].value, u8"詳細\n二行目");
  EXPECT_EQ(document.sheets[0].cells[(spreadsheet::CellAddress{20, 2})].format, "@");

  auto app = office::Application::Create();
  app.SetDisplayAlerts(false);
  auto book = app.Workbooks().OpenWithPassword(saved, "4821");
  auto sheet = book.Sheet(1);
  EXPECT_EQ(sheet.Range("T2").Text(), "PC0120240501093000001");
  EXPECT_EQ(sheet.Range("I9").Text(), "詳細\n二行目");
  EXPECT_EQ(sheet.Range("B2").Value().Type(), VT_R8);
  EXPECT_EQ(sheet.Range("B2").Text(), "12");
  EXPECT_EQ(sheet.Range("Z99").Text(), "");
  EXPECT_EQ(book.SheetCount(), 2);
  book.Close(false);
  app.Quit();
}

TEST_F(StandIn, TheShippedReportTemplateOpensNextToThePrograms) {
  auto app = office::Application::Create();
  app.SetDisplayAlerts(false);
  auto book = app.Workbooks().Open(standin::ProgramFolder() + "template.xls", {0});
  auto sheet = book.Sheet(1);
  EXPECT_EQ(sheet.Name(), "報告書");
  for (const char* cell : {"T2", "E3", "E4", "E5", "I7", "I8", "I9", "E11"})
    EXPECT_EQ(sheet.Range(cell).NumberFormatLocal(), "@") << cell;
  book.Close(false);
  app.Quit();
}

TEST_F(StandIn, PasswordRules) {
  auto app = office::Application::Create();
  app.SetDisplayAlerts(false);
  auto books = app.Workbooks();
  EXPECT_THROW(books.Open(folder_ + "locked.xls", {0}), OleError);
  EXPECT_THROW(books.OpenWithPassword(folder_ + "locked.xls", "1234"), OleError);
  EXPECT_THROW(books.OpenWithPassword(folder_ + "locked.xls", ""), OleError);
  // A password given for an unprotected book is not needed.
  books.OpenWithPassword(folder_ + "template.xls", "9999").Close(false);

  auto book = books.OpenWithPassword(folder_ + "locked.xls", "4821");
  book.SaveAs(folder_ + "kept.xls", 56);  // no Password argument: protection stays
  book.SaveAs(folder_ + "open.xls", 56, "");  // empty: saved without protection
  book.Close(false);
  EXPECT_THROW(books.Open(folder_ + "kept.xls", {0}), OleError);
  books.Open(folder_ + "open.xls", {0}).Close(false);
  app.Quit();
}

TEST_F(StandIn, FailuresRaiseWithAMessageAndLeaveNothingBehind) {
  auto app = office::Application::Create();
  app.SetDisplayAlerts(false);
  auto books = app.Workbooks();
  auto expectFailure = [](auto call, const char* words) {
    try {
      call();
      ADD_FAILURE() << "no error for " << words;
    } catch (const OleError& e) {
      EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
    }
  };
  expectFailure([&] { books.Open(folder_ + "missing.xls", {0}); }, "cannot be found");
  auto book = books.Open(folder_ + "template.xls", {0});
  auto sheet = book.Sheet(1);
  expectFailure([&] { sheet.Range("2A"); }, "bad cell address '2A'");
  expectFailure([&] { sheet.Range(""); }, "bad cell address");
  expectFailure([&] { book.Sheet("NoSuchSheet"); }, "no sheet 'NoSuchSheet'");
  expectFailure([&] { book.Sheet(3); }, "subscript out of range");
  expectFailure([&] { book.SaveAs(folder_ + "no\\such\\folder\\x.xls", 56); }, "does not exist");
  expectFailure([&] { sheet.Pictures().Insert(folder_ + "none.jpg"); }, "missing");
  expectFailure([&] { sheet.Object().Call("NoSuchMember"); }, "unknown member");
  expectFailure([&] { book.Object().Call("SaveAs", {office::Named("FileName", "x"), office::Named("Pasword", "1")}); },
                "Pasword");
  // Saving or deleting a sheet would ask the user while alerts are on.
  app.SetDisplayAlerts(true);
  expectFailure([&] { book.SaveAs(folder_ + "x.xls", 56); }, "DisplayAlerts is True");
  expectFailure([&] { book.Sheet(2).Delete(); }, "alerts are on");
  EXPECT_GT(standin::LiveObjects(), 0);
  book.Close(false);
  app.Quit();
  expectFailure([&] { sheet.Name(); }, "quit");
  expectFailure([&] { app.Workbooks(); }, "quit");
  // The failed calls are in the log too.
  EXPECT_NE(Position(Calls(), "Worksheet(Sheet1).Range(\"2A\") !! "), std::string::npos);
}

TEST_F(StandIn, ABooksFileStaysOpenUntilItClosesAndWrongArgumentCountsAreRefused) {
  const std::string opened = folder_ + "template.xls", saved = folder_ + "held.xls", copy = folder_ + "copy.xls";
  for (const std::string& p : {saved, copy}) DeleteFileA(p.c_str());
  auto app = office::Application::Create();
  app.SetDisplayAlerts(false);
  auto book = app.Workbooks().Open(opened, {0});
  EXPECT_FALSE(MoveFileA(opened.c_str(), copy.c_str()));
  book.SaveAs(saved, 56);
  EXPECT_EQ(book.Object().Get("Name").AsText() + "|" + book.Object().Get("FullName").AsText(), "held.xls|" + saved);
  EXPECT_FALSE(DeleteFileA(saved.c_str()));
  EXPECT_NE(ReadBytes(saved), "");  // others may read it
  book.SaveCopyAs(copy);            // a copy is let go at once, the book keeps its name
  EXPECT_TRUE(MoveFileA(copy.c_str(), (copy + ".moved").c_str()) && DeleteFileA((copy + ".moved").c_str()));
  EXPECT_EQ(book.Object().Get("Name").AsText(), "held.xls");
  auto refusal = [](const std::function<void()>& call) {
    try {
      call();
    } catch (const OleError& e) {
      return e.HResult();
    }
    return 0L;
  };
  EXPECT_EQ(refusal([&] { book.Sheet(1).Object().Get("Range"); }), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(refusal([&] { book.Object().Call("Close", {false, "", false, 1}); }), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(refusal([&] { book.Object().Call("Save2"); }), DISP_E_UNKNOWNNAME);
  book.Close(false);
  EXPECT_TRUE(DeleteFileA(saved.c_str()));
  app.Quit();
}

TEST_F(StandIn, MainWindowExistsWhileVisible) {
  EXPECT_FALSE(office::SpreadsheetRunning());
  auto app = office::Application::Create();
  EXPECT_FALSE(office::SpreadsheetRunning());
  app.SetVisible(true);
  EXPECT_TRUE(app.Visible());
  EXPECT_TRUE(office::SpreadsheetRunning());
  app.SetVisible(false);
  EXPECT_FALSE(office::SpreadsheetRunning());
  app.SetVisible(true);
  app.Quit();
  EXPECT_FALSE(office::SpreadsheetRunning());
}

TEST_F(StandIn, PicturesKeepTheirProportionsAndTheCallOrderIsLogged) {
  auto app = office::Application::Create();
  app.SetDisplayAlerts(false);
  auto book = app.Workbooks().Open(folder_ + "template.xls", {0});
  auto sheet = book.Sheet(1);
  sheet.Range("T2").SetNumberFormatLocal("@");
  sheet.Range("T2").SetValue(std::string("x"));
  sheet.Pictures().Insert(folder_ + "shot.jpg");
  auto pictures = sheet.Pictures();
  EXPECT_EQ(pictures.Count(), 1);
  EXPECT_DOUBLE_EQ(pictures.Width(), 750);  // 1000 pixels
  EXPECT_DOUBLE_EQ(pictures.Height(), 600);
  if (pictures.Height() > 350) pictures.SetHeight(350);
  if (pictures.Width() > 470) pictures.SetWidth(470);
  EXPECT_DOUBLE_EQ(pictures.Width(), 437.5);  // proportions kept, so within 470
  pictures.SetTop(280);
  pictures.SetLeft(36);
  auto first = sheet.Picture(1);
  EXPECT_DOUBLE_EQ(first.Top(), 280);
  EXPECT_DOUBLE_EQ(first.Left(), 36);
  EXPECT_THROW(sheet.Picture(2), OleError);
  book.SaveAs(folder_ + "picture.xls", 56, "4821");
  book.Close(false);
  app.Quit();

  auto calls = Calls();
  size_t format = Position(calls, "Range(T2).NumberFormatLocal = \"@\"");
  size_t value = Position(calls, "Range(T2).Value = \"x\"");
  size_t height = Position(calls, "Pictures.Height = 350");
  size_t width = Position(calls, "Pictures.Width = ");
  ASSERT_NE(format, std::string::npos);
  EXPECT_LT(format, value);
  ASSERT_NE(height, std::string::npos);
  EXPECT_EQ(width, std::string::npos);  // not wider than 470 after the height
  EXPECT_NE(Position(calls, "Workbook(template.xls).SaveAs(Filename:=\""), std::string::npos);
  EXPECT_NE(Position(calls, "Password:=\"4821\")"), std::string::npos);
  EXPECT_NE(Position(calls, "Workbooks.Open(\""), std::string::npos);
}

TEST_F(StandIn, SheetsAreCopiedNamedLinkedPastedAndDeleted) {
  auto app = office::Application::Create();
  app.SetDisplayAlerts(false);
  auto book = app.Workbooks().Open(folder_ + "template.xls", {0});
  auto index = book.Sheet(1);
  auto master = book.Sheet("sheet2");
  master.Range("B1").SetValue(std::string("master"));
  master.Select();
  master.CopyAfter(book.Sheet(book.SheetCount()));
  auto page = book.Sheet(book.SheetCount());
  EXPECT_EQ(page.Name(), "Sheet2 (2)");
  page.SetName("(1)画像");
  EXPECT_THROW(page.SetName("sheet1"), OleError);
  EXPECT_THROW(page.SetName("a/b"), OleError);
  page.Activate();
  EXPECT_EQ(app.ActiveSheet().Name(), "(1)画像");
  EXPECT_EQ(page.Range("B1").Text(), "master");
  auto setup = page.PageSetup();
  setup.SetOrientation(2);
  setup.SetZoomOff();
  setup.SetFitToPagesWide(1);
  setup.SetFitToPagesTall(32767);
  EXPECT_THROW(setup.SetOrientation(3), OleError);
  page.AddHyperlink(page.Range("A1"), "", "画像一覧!A1", "一覧に戻る");
  EXPECT_THROW(page.AddHyperlink(index.Range("A1"), "", "x!A1"), OleError);  // anchor on another sheet

  // Copy a row, select the one below and paste.
  index.Activate();
  index.Range("B4").SetValue(std::string("1"));
  index.Range("C4").SetValue(std::string("text"));
  index.Range("B4", "F4").Copy();
  EXPECT_THROW(page.Range("B5").Select(), OleError);  // not the active sheet
  index.Range("B5:F5").Select();
  app.ActiveSheet().Paste();
  EXPECT_EQ(index.Range("C5").Text(), "text");

  app.SetDisplayAlerts(false);
  master.Delete();
  EXPECT_THROW(master.Name(), OleError);
  EXPECT_EQ(book.SheetCount(), 2);
  book.SaveAs(folder_ + "pages.xls", 56);
  book.Close(false);
  app.Quit();

  spreadsheet::WorkbookDocument document;
  std::string error;
  ASSERT_TRUE(spreadsheet::ReadWorkbook(ReadBytes(folder_ + "pages.xls"), document, error)) << error;
  ASSERT_EQ(document.sheets.size(), 2u);
  const spreadsheet::Sheet& saved = document.sheets[1];
  EXPECT_EQ(saved.name, u8"(1)画像");
  EXPECT_EQ(saved.pageSetup.orientation, 2);
  EXPECT_EQ(saved.pageSetup.fitToPagesTall, 32767);
  ASSERT_EQ(saved.hyperlinks.size(), 1u);
  EXPECT_EQ(saved.hyperlinks[0].subAddress, u8"画像一覧!A1");
}

TEST_F(StandIn, PastesAPictureFromTheClipboard) {
  auto app = office::Application::Create();
  app.SetDisplayAlerts(false);
  auto book = app.Workbooks().Open(folder_ + "template.xls", {0});
  auto sheet = book.Sheet(1);
  sheet.Range("C3").Select();
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
  ReleaseDC(nullptr, screen);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_BITMAP, bitmap);
  CloseClipboard();
  app.ActiveSheet().Paste();
  auto picture = sheet.Picture(1);
  EXPECT_DOUBLE_EQ(picture.Width(), 30);
  EXPECT_DOUBLE_EQ(picture.Height(), 15);
  EXPECT_DOUBLE_EQ(picture.Left(), 96);  // column C
  book.Close(false);
  app.Quit();
}

}  // namespace
