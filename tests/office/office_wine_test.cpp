// The automation wrapper: probe, running test, texts in the system code page,
// named arguments and errors, against the stand-in application.
#include <gtest/gtest.h>
#include <windows.h>

#include "office/OleError.h"
#include "office/Spreadsheet.h"
#include "office/SpreadsheetProbe.h"
#include "tests/office/StandInTestSupport.h"

namespace {

class OfficeWrapper : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(standin::Register()); }
  void TearDown() override {
    EXPECT_TRUE(standin::Register());
    EXPECT_EQ(standin::LiveObjects(), 0);
  }
  standin::Pin pin_;
};

TEST_F(OfficeWrapper, ProbeFindsTheApplicationOnlyWhileRegistered) {
  std::string error;
  EXPECT_TRUE(office::ProbeSpreadsheet(&error)) << error;
  ASSERT_TRUE(standin::Unregister());
  EXPECT_FALSE(office::ProbeSpreadsheet(&error));
  EXPECT_NE(error.find("Excel.Application"), std::string::npos) << error;
  EXPECT_THROW(office::Application::Create(), office::OleError);
  ASSERT_TRUE(standin::Register());
  EXPECT_TRUE(office::ProbeSpreadsheet());
}

TEST_F(OfficeWrapper, RunningTestLooksForAnyXlmainWindow) {
  EXPECT_FALSE(office::SpreadsheetRunning());
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "XLMAIN";
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND window = CreateWindowA("XLMAIN", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  EXPECT_TRUE(office::SpreadsheetRunning());  // hidden and without a caption, still found
  DestroyWindow(window);
  UnregisterClassA("XLMAIN", wc.hInstance);
  EXPECT_FALSE(office::SpreadsheetRunning());
}

TEST_F(OfficeWrapper, TextsCrossInTheSystemCodePage) {
  auto app = office::Application::Create();
  auto book = app.Workbooks().Add();
  auto sheet = book.Sheet(1);
  // Japanese, a backslash-like trail byte (表 = 0x95 0x5C) and a line feed.
  const std::string text = "表示テスト\n～①";
  sheet.Range("E11").SetNumberFormatLocal("@");
  sheet.Range("E11").SetValue(text);
  EXPECT_EQ(sheet.Range("E11").Text(), text);
  EXPECT_EQ(sheet.Range("E11").NumberFormatLocal(), "@");
  EXPECT_EQ(sheet.Range("A1").NumberFormatLocal(), "G/標準");
  sheet.SetName("画像一覧");
  EXPECT_EQ(book.Sheet("画像一覧").Name(), "画像一覧");
  sheet.Range("B4").SetValue(office::Variant(7));
  EXPECT_EQ(sheet.Range("B4").Value().AsInt(), 7);
  book.Close(false);
  app.Quit();
}

TEST_F(OfficeWrapper, ErrorsNameTheMemberAndTheReason) {
  auto app = office::Application::Create();
  app.SetDisplayAlerts(false);
  try {
    app.Workbooks().OpenWithPassword("C:\\no\\such.xls", "1");
    FAIL() << "no error";
  } catch (const office::OleError& e) {
    std::string message = e.what();
    EXPECT_NE(message.find("Open"), std::string::npos) << message;
    EXPECT_NE(message.find("cannot be found"), std::string::npos) << message;
    EXPECT_EQ(e.HResult(), static_cast<long>(0x800A03EC));
  }
  try {
    app.Object().Put("NoSuchProperty", office::Variant(true));
    FAIL() << "no error";
  } catch (const office::OleError& e) {
    EXPECT_NE(std::string(e.what()).find("unknown member"), std::string::npos) << e.what();
  }
  app.QuitQuietly();
  app.QuitQuietly();  // a second quit raises inside and is swallowed
  office::Workbook none{office::Dispatch()};
  none.CloseQuietly();
  EXPECT_THROW(none.Close(), office::OleError);
}

TEST_F(OfficeWrapper, ObjectsOutliveTheApplicationWrapperSafely) {
  office::Worksheet kept{office::Dispatch()};
  {
    auto app = office::Application::Create();
    kept = app.Workbooks().Add().Sheet(1);
    app.Quit();
  }
  // The sheet still holds its reference; calls on it fail cleanly.
  EXPECT_GT(standin::LiveObjects(), 0);
  EXPECT_THROW(kept.Name(), office::OleError);
  kept = office::Worksheet(office::Dispatch());
}

}  // namespace
