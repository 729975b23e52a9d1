// The spreadsheet options form of the real kestroMgr.exe, driven from
// outside through its controls: the kinds' presets, the stored paste cells
// and the checks that keep the form open.
#include <gtest/gtest.h>

#include <string>

#include "tests/manager/ManagerTestSupport.h"

using namespace mgrtest;

namespace {

const std::string kPasteCellBox = "ケストロ管理画面\tエクセルへの画像貼付位置(A2など)を正しく入力してください。\t48\r\n";
const std::string kSizeBox = "ケストロ管理画面\tX-Yサイズを正しく入力してください。\t48\r\n";
const char* const kKindCaptions[5] = {
    "(1)画像のみ複数シートへ", "(2)画像のみ複数画像を単一シートへ", "(3)A4横単票形式で複数シートへ（TAN-01）",
    "(4)A4横単票形式で複数シートへ（TAN-02）", "(5)A4たて単票形式で複数シートへ（TAN-03）"};

class SpreadsheetOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    boxLog_ = std::string(temp) + "kestro_options_boxes.txt";
    DeleteFileA(boxLog_.c_str());
    SetEnvironmentVariableA("KESTRO_MSGBOX_LOG", boxLog_.c_str());
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
    ASSERT_TRUE(StartManager(process_));
    ASSERT_NE(login_ = LoginForm(), nullptr) << ReadLog();
    // Created at start behind the login form and kept hidden.
    form_ = FindWindowA("TForm3", "エクセル出力種別選択");
    ASSERT_NE(form_, nullptr);
    EXPECT_FALSE(IsWindowVisible(form_));
    HWND* edits[] = {&x_, &y_, &name_, &pos_};
    HWND edit = nullptr;
    for (HWND* field : edits) *field = edit = FindWindowExA(form_, edit, "EDIT", nullptr);
    orient_ = FindWindowExA(form_, nullptr, "COMBOBOX", nullptr);
    for (int i = 0; i < 5; ++i) kinds_[i] = FindControl(form_, "BUTTON", kKindCaptions[i]);
    ok_ = FindControl(form_, "BUTTON", "確　定");
    ASSERT_TRUE(x_ && y_ && name_ && pos_ && orient_ && kinds_[0] && kinds_[4] && ok_);
    ShowWindow(form_, SW_SHOW);
  }
  void TearDown() override {
    if (login_) PostMessageA(login_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(process_, 15000));
    EndKestro(process_);
    DeleteFileA(boxLog_.c_str());
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  }
  void ChooseKind(int kind) { SendMessageA(kinds_[kind - 1], BM_CLICK, 0, 0); }
  bool Checked(int kind) const { return SendMessageA(kinds_[kind - 1], BM_GETCHECK, 0, 0) == BST_CHECKED; }
  int Orientation() const { return static_cast<int>(SendMessageA(orient_, CB_GETCURSEL, 0, 0)) + 1; }
  // Tries to close the form (its button, or the close box); true when it
  // closed. boxes gets the boxes shown meanwhile.
  bool TryClose(std::string& boxes, bool closeBox = false) {
    ShowWindow(form_, SW_SHOW);
    const size_t before = ReadAll(boxLog_).size();
    if (closeBox)
      SendMessageA(form_, WM_CLOSE, 0, 0);
    else
      SendMessageA(ok_, BM_CLICK, 0, 0);
    boxes = ReadAll(boxLog_).substr(before);
    return !IsWindowVisible(form_);
  }
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
  }
  bool Logged(const std::string& line) const {
    return ReadLog().find(",(KestroMgr)," + line + "\r\n") != std::string::npos;
  }

  PROCESS_INFORMATION process_{};
  std::string boxLog_;
  HWND login_ = nullptr, form_ = nullptr, x_ = nullptr, y_ = nullptr, name_ = nullptr, pos_ = nullptr,
       orient_ = nullptr, ok_ = nullptr, kinds_[5] = {};
};

TEST_F(SpreadsheetOptionsTest, EachKindPresetsItsValuesAndShowsItsOwnStoredPasteCell) {
  EXPECT_TRUE(Checked(1));
  EXPECT_EQ(Orientation(), 2);  // landscape at start
  ChooseKind(4);
  EXPECT_TRUE(Checked(4));
  EXPECT_FALSE(Checked(1));
  EXPECT_EQ(TextOf(x_), "580");
  EXPECT_EQ(TextOf(y_), "435");
  EXPECT_EQ(Orientation(), 2);
  EXPECT_EQ(TextOf(pos_), "A7");  // the default of IMGPOS4
  ChooseKind(2);
  EXPECT_EQ(TextOf(x_), "600");
  EXPECT_EQ(TextOf(y_), "450");
  EXPECT_EQ(Orientation(), 1);
  EXPECT_EQ(TextOf(pos_), "");

  // Kind 2 computes its cells: an empty paste cell closes the form.
  std::string boxes;
  EXPECT_TRUE(TryClose(boxes));
  EXPECT_EQ(boxes, "");
  EXPECT_TRUE(Logged("エクセル出力種別=2,X=600,Y=450,印刷方向=1,貼付位置=")) << ReadLog();

  // A paste cell is stored upper-cased for its own kind only.
  ChooseKind(4);
  SetTextOf(pos_, "a5");
  SetTextOf(name_, "営業部");
  EXPECT_TRUE(TryClose(boxes));
  EXPECT_EQ(boxes, "");
  EXPECT_TRUE(Logged("エクセル出力種別=4,X=580,Y=435,印刷方向=2,貼付位置=A5")) << ReadLog();
  ChooseKind(1);
  EXPECT_EQ(TextOf(pos_), "A2");
  EXPECT_EQ(TextOf(x_), "1024");
  ChooseKind(4);
  EXPECT_EQ(TextOf(pos_), "A5");
  EXPECT_EQ(TextOf(name_), "営業部");  // kept between showings
}

TEST_F(SpreadsheetOptionsTest, InvalidPasteCellsAndSizeLimitsBelowOnePixelKeepTheFormOpen) {
  ChooseKind(3);
  std::string boxes;
  for (const std::string good : {"A2", "ab12", "2A", "A1:B2"}) {
    SetTextOf(pos_, good);
    EXPECT_TRUE(TryClose(boxes)) << good;
    EXPECT_EQ(boxes, "") << good;
  }
  EXPECT_TRUE(Logged("エクセル出力種別=3,X=1024,Y=768,印刷方向=2,貼付位置=AB12"));
  EXPECT_TRUE(Logged("エクセル出力種別=3,X=1024,Y=768,印刷方向=2,貼付位置=A1:B2"));
  for (const std::string bad : {"A-2", "12", "", "A"}) {
    SetTextOf(pos_, bad);
    EXPECT_FALSE(TryClose(boxes)) << bad;
    EXPECT_EQ(boxes, kPasteCellBox) << bad;
    EXPECT_EQ(Focus(), pos_) << bad;
  }
  // The close box is no way out either.
  EXPECT_FALSE(TryClose(boxes, true));
  EXPECT_EQ(boxes, kPasteCellBox);

  SetTextOf(pos_, "B3");
  for (HWND size : {x_, y_}) {
    for (const std::string bad : {"0", "-1", "1O24", ""}) {
      SetTextOf(size, bad);
      EXPECT_FALSE(TryClose(boxes)) << bad;
      EXPECT_EQ(boxes, kSizeBox) << bad;
      EXPECT_EQ(Focus(), size) << bad;
    }
    SetTextOf(size, "1");
  }
  EXPECT_TRUE(TryClose(boxes));
  EXPECT_EQ(boxes, "");
  EXPECT_TRUE(Logged("エクセル出力種別=3,X=1,Y=1,印刷方向=2,貼付位置=B3"));
}

}  // namespace
