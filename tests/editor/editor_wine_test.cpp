// The picture editor under Wine: each tool on an in-memory picture, checked
// at chosen pixels; undo, crop, close and the two dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "client/EditorIcons.h"
#include "client/EditorPicture.h"
#include "client/Global.h"
#include "client/NumberDialog.h"
#include "client/PictureEditor.h"
#include "client/SettingsValues.h"
#include "client/TextDialog.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/MessageBox.h"
#include "forms/Timer.h"
#include "tests/client/WineTestFiles.h"
#include "tests/snaptrap/JpegInspection.h"

namespace {

using forms::MouseButton;

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr int kWidth = 200, kHeight = 150;

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}
std::string Hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}
#define EXPECT_COLOUR(expected, form, x, y, tolerance)                                                       \
  EXPECT_TRUE(Near((form).Picture().Pixel(x, y), expected, tolerance))                                      \
      << "at (" << (x) << "," << (y) << ") " << Hex((form).Picture().Pixel(x, y)) << " expected " << Hex(expected)

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The editor with its menu popup recorded instead of shown.
class TestEditor : public TForm5 {
 public:
  std::vector<POINT> popups;

 protected:
  void PopupMenuAt(POINT screen) override { popups.push_back(screen); }
};

// Answers the boxes from a queue (OK when empty) and records them.
struct Boxes {
  std::deque<int> replies;
  std::vector<forms::MessageBoxRecord> shown;
  void Install() {
    forms::SetMessageBoxHook([this](const forms::MessageBoxRecord& r) {
      shown.push_back(r);
      if (replies.empty()) return IDOK;
      int reply = replies.front();
      replies.pop_front();
      return reply;
    });
  }
};

class EditorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    gDataDir = std::string(temp) + "kestro_editor_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(gDataDir.c_str(), nullptr);
    CreateDirectoryA((gDataDir + "temp").c_str(), nullptr);
    forms::Application::Instance().SetTitle("Kestro");
    // Closing the main form would end the application: a hidden one comes first.
    mainForm_ = new forms::Form("EditorTestMain", "main");
    ASSERT_TRUE(mainForm_->Create());
    FrmSetNumber = new TFrmSetNumber;
    FrmSetString = new TFrmSetString;
    editor_ = new TestEditor;
    ASSERT_TRUE(FrmSetNumber->Create());
    ASSERT_TRUE(FrmSetString->Create());
    ASSERT_TRUE(editor_->Create());
  }
  static void TearDownTestSuite() {
    delete editor_;
    delete FrmSetString;
    delete FrmSetNumber;
    delete mainForm_;
    RemoveTree(gDataDir.substr(0, gDataDir.size() - 1));
    forms::SetMessageBoxHook(nullptr);
  }

  void SetUp() override {
    gClosing = false;
    gSettings.MASKCOLOR = "1";
    gSettings.WAKUTYPE = "2";
    gSettings.WAKUCOLOR = "3";
    gSettings.WAKUWIDTH = "1";
    gSettings.MOJISIZE = "12";
    gSettings.MOJICOLOR = "2";
    gSettings.YAJICOLOR = "5";
    capture_ = gDataDir + "temp\\000001_0.jpg";
    EditorPicture grey;
    ASSERT_TRUE(grey.Create(kWidth, kHeight, kGrey));
    grey.SaveJpeg(capture_);
    boxes_.Install();
    std::string error;
    ASSERT_TRUE(editor_->LoadCapture(capture_, &error)) << error;
    editor_->Show(SW_SHOW);  // runs FormShow
    ASSERT_EQ(0, editor_->UndoCount());
    editor_->popups.clear();
  }
  void TearDown() override {
    if (editor_->IsVisible()) editor_->Show(SW_HIDE);
    editor_->OnSaved = nullptr;
  }

  TestEditor& Editor() { return *editor_; }
  void Drag(int x1, int y1, int x2, int y2) {
    Editor().imgVewMouseDown(MouseButton::Left, x1, y1);
    Editor().imgVewMouseMove(x2, y2);
    Editor().imgVewMouseUp(MouseButton::Left, x2, y2);
  }
  // Runs action while a timer answers the modal form once it shows.
  static void WhileModal(forms::ModalForm& dialog, const std::function<void()>& answer,
                         const std::function<void()>& action) {
    forms::Timer timer;
    int ticks = 0;
    timer.SetInterval(30);
    timer.OnTimer = [&] {
      if (dialog.IsVisible()) {
        timer.SetEnabled(false);
        answer();
      } else if (++ticks > 200) {
        timer.SetEnabled(false);
      }
    };
    timer.SetEnabled(true);
    action();
    timer.SetEnabled(false);
  }

  static TestEditor* editor_;
  static forms::Form* mainForm_;
  std::string capture_;
  Boxes boxes_;
};
TestEditor* EditorTest::editor_ = nullptr;
forms::Form* EditorTest::mainForm_ = nullptr;

TEST_F(EditorTest, OpeningStateAndToolChoice) {
  TForm5& e = Editor();
  EXPECT_EQ(TForm5::kMask, e.CurrentTool());
  EXPECT_EQ(0, e.UndoCount());
  EXPECT_EQ(-1, e.PressPoint().y);
  EXPECT_EQ("右クリックで編集機能選択(現在：選択領域マスク)", e.Hint());
  EXPECT_FALSE(e.ItemEnabled(TForm5::kItemN1));
  EXPECT_TRUE(e.ItemEnabled(TForm5::kItemN2));
  EXPECT_FALSE(e.ItemEnabled(TForm5::kItemN11));
  EXPECT_TRUE(e.ItemEnabled(TForm5::kItemN5));
  EXPECT_EQ("［連番］アイコン記録機能（" + std::to_string(e.SerialNumber()) + "から）", e.ItemCaption(TForm5::kItemN3));
  e.N15Click();
  EXPECT_EQ(TForm5::kCrop, e.CurrentTool());
  EXPECT_EQ("右クリックで編集機能選択(現在：切り抜きモード)", e.Hint());
  EXPECT_FALSE(e.ItemEnabled(TForm5::kItemN15));
  EXPECT_TRUE(e.ItemEnabled(TForm5::kItemN1));
  EXPECT_TRUE(e.IsVisible());
}

TEST_F(EditorTest, RightReleaseOpensTheMenuOnlyAndBandToolsWaitForAPress) {
  TForm5& e = Editor();
  e.imgVewMouseUp(MouseButton::Right, 30, 40);
  EXPECT_EQ(1u, Editor().popups.size());
  e.imgVewMouseUp(MouseButton::Left, 30, 40);  // mask without a press since the show
  EXPECT_TRUE(boxes_.shown.empty());
  EXPECT_EQ(0, e.UndoCount());
  EXPECT_COLOUR(kGrey, e, 0, 0, 6);
  // The check icon acts on the release alone.
  e.N2Click();
  e.imgVewMouseUp(MouseButton::Left, 100, 50);
  ASSERT_EQ(1u, boxes_.shown.size());
  EXPECT_EQ("編集確認", boxes_.shown[0].caption);
  EXPECT_EQ("[チェック]アイコンを貼り付けます。よろしいですか？", boxes_.shown[0].text);
  EXPECT_EQ(0x40121u, boxes_.shown[0].flags);
  EXPECT_EQ(1, e.UndoCount());
  EXPECT_TRUE(e.ItemEnabled(TForm5::kItemN11));
  EXPECT_COLOUR(RGB(0, 160, 0), e, 100 + kLensCentreX - kLensRadius + 1, 50 + kLensCentreY, 0);  // rim
  EXPECT_COLOUR(kGrey, e, 100, 50, 6);  // white corner of the icon is transparent
  int red = 0;
  for (int x = 100; x < 160; ++x)
    for (int y = 50; y < 110; ++y) red += Near(e.Picture().Pixel(x, y), kRed, 40);
  EXPECT_GT(red, 10) << "question mark";
}

TEST_F(EditorTest, MaskFillsTheSortedRectangleWithoutItsRightAndBottomEdges) {
  TForm5& e = Editor();
  Drag(60, 50, 20, 10);  // from lower right to upper left
  EXPECT_FALSE(e.BandShown());
  EXPECT_COLOUR(kRed, e, 20, 10, 0);
  EXPECT_COLOUR(kRed, e, 59, 49, 0);
  EXPECT_COLOUR(kGrey, e, 60, 30, 6);
  EXPECT_COLOUR(kGrey, e, 40, 50, 6);
  EXPECT_COLOUR(kGrey, e, 19, 30, 6);
  // A click fills nothing but is still an edit.
  Drag(100, 100, 100, 100);
  EXPECT_EQ(2, e.UndoCount());
  EXPECT_COLOUR(kGrey, e, 100, 100, 6);
  // Cancel: nothing changes, no snapshot, the band goes.
  boxes_.replies = {IDCANCEL};
  e.imgVewMouseDown(MouseButton::Left, 120, 100);
  e.imgVewMouseMove(150, 130);
  EXPECT_TRUE(e.BandShown());
  e.imgVewMouseUp(MouseButton::Left, 150, 130);
  EXPECT_FALSE(e.BandShown());
  EXPECT_EQ(2, e.UndoCount());
  EXPECT_COLOUR(kGrey, e, 130, 110, 6);
  // The middle button acts like the left one with the last left press.
  e.imgVewMouseUp(MouseButton::Middle, 130, 110);
  EXPECT_COLOUR(kRed, e, 125, 105, 0);
}

TEST_F(EditorTest, FrameLinesSolidDottedAndThickDashDot) {
  TForm5& e = Editor();
  e.N10Click();
  Drag(20, 20, 120, 80);
  EXPECT_COLOUR(kNavy, e, 70, 20, 0);
  EXPECT_COLOUR(kNavy, e, 120, 50, 0);
  EXPECT_COLOUR(kNavy, e, 20, 50, 0);
  EXPECT_COLOUR(kGrey, e, 70, 50, 6);  // no fill
  EXPECT_COLOUR(kGrey, e, 70, 22, 6);  // one pixel wide

  auto countOnRow = [&](int y, int from, int to, COLORREF colour) {
    int n = 0;
    for (int x = from; x < to; ++x) n += Near(e.Picture().Pixel(x, y), colour, 6);
    return n;
  };
  gSettings.WAKUTYPE = "1";  // dotted, thin
  Drag(20, 100, 180, 140);
  EXPECT_GT(countOnRow(100, 30, 170, kNavy), 20);
  EXPECT_GT(countOnRow(100, 30, 170, kGrey), 20);

  gSettings.WAKUWIDTH = "2";  // thick dash-dot replaces dotted
  e.N1Click();
  gSettings.MASKCOLOR = "4";
  Drag(0, 0, kWidth, kHeight);  // white ground for the thick frame
  e.N10Click();
  Drag(20, 20, 180, 120);
  int fullWidth = 0;
  for (int x = 30; x < 170; ++x)
    fullWidth += Near(e.Picture().Pixel(x, 19), kNavy, 6) && Near(e.Picture().Pixel(x, 20), kNavy, 6) &&
                 Near(e.Picture().Pixel(x, 21), kNavy, 6);
  EXPECT_GT(fullWidth, 20) << "the line is 3 pixels wide";
  EXPECT_GT(countOnRow(20, 30, 170, RGB(255, 255, 255)), 5) << "dash-dot gaps";
  EXPECT_COLOUR(RGB(255, 255, 255), e, 100, 70, 0);
}

TEST_F(EditorTest, ArrowBaseIsVerticalForDxEqualDyAndHorizontalForSteepDrags) {
  TForm5& e = Editor();
  e.N13Click();
  Drag(100, 60, 140, 100);  // dx == dy
  EXPECT_COLOUR(kNavy, e, 100, 56, 0);
  EXPECT_COLOUR(kGrey, e, 96, 60, 6);
  EXPECT_COLOUR(kYellow, e, 113, 73, 0);
  Drag(40, 60, 45, 120);  // steep: horizontal base
  EXPECT_COLOUR(kNavy, e, 36, 60, 0);
  EXPECT_COLOUR(kGrey, e, 40, 56, 6);
  EXPECT_COLOUR(kYellow, e, 42, 80, 0);
}

TEST_F(EditorTest, FramedTextLayoutAndMojisizeCheckedBeforeTheSnapshot) {
  TForm5& e = Editor();
  e.N12Click();
  TFrmSetString& dialog = *FrmSetString;
  ASSERT_EQ(0, e.UndoCount());
  // Empty input: a filled box of the dragged size.
  dialog.Memo1.SetText("");
  WhileModal(dialog, [&] { dialog.SpeedButton1Click(); }, [&] { Drag(80, 70, 30, 30); });
  EXPECT_EQ(1, e.UndoCount());
  EXPECT_COLOUR(kRed, e, 55, 50, 0);
  EXPECT_COLOUR(kNavy, e, 55, 30, 0);
  EXPECT_COLOUR(kGrey, e, 90, 50, 6);

  // Lines as the box shows them: double-byte text whole, long lines wrapped.
  dialog.Memo1.SetText("日本語の文字\r\n\r\nabc");
  EXPECT_EQ((std::vector<std::string>{"日本語の文字", "", "abc"}), dialog.Lines());
  const std::string longLine = "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十";
  dialog.Memo1.SetText(longLine);
  const std::vector<std::string> wrapped = dialog.Lines();
  EXPECT_GT(wrapped.size(), 1u);
  std::string joined;
  for (const std::string& line : wrapped) joined += line;
  EXPECT_EQ(longLine, joined);

  // Three lines, the middle one empty, dragged from lower right to upper left.
  dialog.Memo1.SetText("ABCD\r\n\r\nE");
  ASSERT_EQ(3u, dialog.Lines().size());
  WhileModal(dialog, [&] { dialog.SpeedButton1Click(); }, [&] { Drag(190, 140, 110, 10); });
  EXPECT_EQ(2, e.UndoCount());
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontA(-MulDiv(12, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                           DEFAULT_CHARSET, 0, 0, 0, 0, "");
  HGDIOBJ old = SelectObject(dc, font);
  SIZE ab{}, cd{};
  GetTextExtentPoint32A(dc, "ABCD", 4, &ab);
  GetTextExtentPoint32A(dc, "E", 1, &cd);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  const int boxBottom = 10 + 2 * ab.cy + 3;
  EXPECT_COLOUR(kNavy, e, 110, 10 + ab.cy, 0) << "left edge at the upper-left corner of the drag";
  EXPECT_COLOUR(kNavy, e, 110 + ab.cx + 3 - 1, 10 + ab.cy, 0) << "right edge from the text width";
  ASSERT_GT(ab.cx, cd.cx + 4);
  EXPECT_COLOUR(kNavy, e, 110 + ab.cx - 1, boxBottom - 1, 0) << "two line heights, not three";
  EXPECT_COLOUR(kGrey, e, 150, 100, 6) << "the dragged size is not used";
  EXPECT_COLOUR(kRed, e, 111, 11 + 2 * cd.cy + cd.cy - 2, 0) << "third line's background below the box";

  // MOJISIZE out of range: a message, no snapshot, no dialog, no change.
  gSettings.MOJISIZE = "abc";
  boxes_.shown.clear();
  Drag(10, 100, 60, 140);
  ASSERT_EQ(1u, boxes_.shown.size());
  EXPECT_NE(std::string::npos, boxes_.shown[0].text.find("MOJISIZE"));
  EXPECT_EQ("Kestro", boxes_.shown[0].caption);
  EXPECT_EQ(2, e.UndoCount());
  EXPECT_COLOUR(kGrey, e, 30, 120, 6);
  gSettings.MOJISIZE = "100";
  Drag(10, 100, 60, 140);
  EXPECT_EQ(2, e.UndoCount());
  // A colour code that is not a number is refused the same way.
  gSettings.MOJISIZE = "12";
  gSettings.MASKCOLOR = "";
  e.N1Click();
  Drag(10, 100, 60, 140);
  EXPECT_EQ(2, e.UndoCount());
  EXPECT_COLOUR(kGrey, e, 30, 120, 6);
}

TEST_F(EditorTest, NumberedIconContinuesAndUndoFollowsTheCurrentTool) {
  TForm5& e = Editor();
  int serial = 5;
  std::string shown, typed;
  WhileModal(*FrmSetNumber,
             [&] {
               // Typed letters are discarded; digits pass.
               shown = FrmSetNumber->txtMoji.Text();
               FrmSetNumber->txtMoji.SetText("");
               for (char c : std::string("a9b")) FrmSetNumber->txtMoji.Send(WM_CHAR, static_cast<unsigned char>(c), 0);
               typed = FrmSetNumber->txtMoji.Text();
               FrmSetNumber->SpeedButton1Click();
             },
             [&] { EXPECT_TRUE(FrmSetNumber->Execute(e, serial)); });
  EXPECT_EQ("5", shown);
  EXPECT_EQ("9", typed);
  EXPECT_EQ(9, serial);
  const std::string captionBefore = e.ItemCaption(TForm5::kItemN3);
  // Through the menu handler: a text that is not a number keeps the dialog open.
  boxes_.shown.clear();
  WhileModal(*FrmSetNumber,
             [&] {
               FrmSetNumber->txtMoji.SetText("");
               FrmSetNumber->SpeedButton1Click();
               EXPECT_TRUE(FrmSetNumber->IsVisible());
               FrmSetNumber->txtMoji.SetText("9");
               FrmSetNumber->SpeedButton1Click();
             },
             [&] { e.N7Click(); });
  ASSERT_EQ(1u, boxes_.shown.size());
  EXPECT_EQ(9, e.SerialNumber());
  EXPECT_EQ(captionBefore, e.ItemCaption(TForm5::kItemN3)) << "rebuilt only by the next stamp, undo or show";
  e.N3Click();

  auto leftmostDark = [&](int x0, int y0) {
    for (int x = x0 + 14; x < x0 + 44; ++x)
      for (int y = y0 + 12; y < y0 + 42; ++y)
        if (GetRValue(e.Picture().Pixel(x, y)) < 80 && GetGValue(e.Picture().Pixel(x, y)) < 80) return x - x0;
    return -1;
  };
  e.imgVewMouseUp(MouseButton::Left, 10, 10);
  EXPECT_EQ(10, e.SerialNumber());
  EXPECT_EQ("［連番］アイコン記録機能（10から）", e.ItemCaption(TForm5::kItemN3));
  e.imgVewMouseUp(MouseButton::Left, 100, 10);
  EXPECT_EQ(11, e.SerialNumber());
  const int nine = leftmostDark(10, 10), ten = leftmostDark(100, 10);
  ASSERT_GT(nine, 0);
  ASSERT_GT(ten, 0);
  EXPECT_GT(nine, ten) << "9 is written after a blank";
  EXPECT_COLOUR(RGB(0, 160, 0), e, 100 + kLensCentreX - kLensRadius + 1, 10 + kLensCentreY, 0);

  // Undo while the numbered icon is current lowers the number, whatever was undone.
  e.N1Click();
  Drag(150, 100, 190, 140);
  e.N3Click();
  e.N11Click();
  EXPECT_EQ(10, e.SerialNumber());
  EXPECT_EQ("［連番］アイコン記録機能（10から）", e.ItemCaption(TForm5::kItemN3));
  EXPECT_COLOUR(kGrey, e, 170, 120, 8);
}

TEST_F(EditorTest, CropToOnePixelAndBack) {
  TForm5& e = Editor();
  e.N15Click();
  boxes_.shown.clear();
  Drag(50, 50, 50, 80);  // a column holds no pixel: refused before the snapshot
  EXPECT_EQ(1u, boxes_.shown.size());
  EXPECT_EQ(0, e.UndoCount());
  EXPECT_EQ(kWidth, e.Picture().Width());
  Drag(11, 11, 10, 10);
  EXPECT_EQ(1, e.Picture().Width());
  EXPECT_EQ(1, e.Picture().Height());
  EXPECT_EQ(1, e.imgVew.PictureWidth());
  JpegInspection crop = InspectJpegFile(gDataDir + "Temp\\Clop.jpg");
  EXPECT_TRUE(crop.readable);
  EXPECT_EQ(1, crop.width);
  boxes_.shown.clear();
  e.N11Click();
  ASSERT_EQ(1u, boxes_.shown.size());
  EXPECT_EQ("", boxes_.shown[0].caption);
  EXPECT_EQ("画像を一つ前の状態に戻します。よろしいですか？", boxes_.shown[0].text);
  EXPECT_EQ(kWidth, e.Picture().Width());
  EXPECT_EQ(kHeight, e.Picture().Height());
  EXPECT_EQ(0, e.UndoCount());
  EXPECT_FALSE(e.ItemEnabled(TForm5::kItemN11));
}

TEST_F(EditorTest, SixEditsFiveUndosAndUndoAll) {
  TForm5& e = Editor();
  for (int i = 0; i < 6; ++i) Drag(10 + 30 * i, 10, 30 + 30 * i, 30);
  EXPECT_EQ(5, e.UndoCount());
  for (int i = 0; i < 5; ++i) e.N11Click();
  EXPECT_EQ(0, e.UndoCount());
  EXPECT_FALSE(e.ItemEnabled(TForm5::kItemN11));
  EXPECT_COLOUR(kRed, e, 20, 20, 20) << "the first edit can no longer be undone";
  for (int i = 1; i < 6; ++i) EXPECT_COLOUR(kGrey, e, 20 + 30 * i, 20, 20) << i;
  boxes_.shown.clear();
  e.N11Click();  // nothing left: no question
  EXPECT_TRUE(boxes_.shown.empty());

  // Undo all brings back the opening picture and keeps the snapshots.
  Drag(10, 100, 50, 140);
  e.N5Click();
  EXPECT_EQ("画像を初期状態に戻します。よろしいですか？", boxes_.shown.back().text);
  EXPECT_COLOUR(kGrey, e, 20, 20, 6);
  EXPECT_EQ(1, e.UndoCount());
  e.N11Click();
  EXPECT_COLOUR(kRed, e, 20, 20, 20);  // the newest snapshot: after the first edit
}

TEST_F(EditorTest, LargePicturesScroll) {
  TForm5& e = Editor();
  const std::string big = gDataDir + "temp\\big.jpg";
  EditorPicture picture;
  ASSERT_TRUE(picture.Create(3000, 2500, kGrey));
  picture.SaveJpeg(big);
  ASSERT_TRUE(e.LoadCapture(big, nullptr));
  EXPECT_EQ(3000, e.imgVew.PictureWidth());
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(e, SB_VERT, &info));
  EXPECT_EQ(2499, info.nMax);
  e.Send(WM_VSCROLL, SB_LINEDOWN);
  e.Send(WM_HSCROLL, SB_PAGEDOWN);
  POINT origin{0, 0};
  MapWindowPoints(e.imgVew, e, &origin, 1);
  EXPECT_EQ(-20, origin.y);
  EXPECT_LT(origin.x, -100);
  e.Send(WM_VSCROLL, SB_TOP);
  origin = POINT{0, 0};
  MapWindowPoints(e.imgVew, e, &origin, 1);
  EXPECT_EQ(0, origin.y);
  DeleteFileA(big.c_str());
}

TEST_F(EditorTest, CloseWithCancelLeavesTheCaptureAndOkReplacesIt) {
  TForm5& e = Editor();
  int saved = 0;
  e.OnSaved = [&](const std::string& path) {
    ++saved;
    EXPECT_EQ(capture_, path);
  };
  const std::string before = ReadAll(capture_);
  Drag(10, 10, 60, 60);
  boxes_.shown.clear();
  boxes_.replies = {IDCANCEL};
  EXPECT_TRUE(e.Close());
  ASSERT_EQ(1u, boxes_.shown.size());
  EXPECT_EQ("保存確認", boxes_.shown[0].caption);
  EXPECT_EQ("現在表示されている画像で保存します。よろしいですか？", boxes_.shown[0].text);
  EXPECT_FALSE(e.IsVisible());
  EXPECT_FALSE(e.SaveOnClose());
  EXPECT_EQ(before, ReadAll(capture_));
  EXPECT_EQ(0, saved);

  // OK: the edited picture replaces the capture, baseline at quality 90.
  e.Show(SW_SHOW);
  ASSERT_TRUE(e.LoadCapture(capture_, nullptr));
  Drag(10, 10, 60, 60);
  EXPECT_TRUE(e.Close());
  EXPECT_EQ(1, saved);
  EXPECT_FALSE(Exists(capture_ + ".tmp"));
  JpegInspection written = InspectJpegFile(capture_);
  ASSERT_TRUE(written.readable) << written.error;
  EXPECT_EQ(kWidth, written.width);
  EXPECT_EQ(3, written.components);
  EXPECT_TRUE(written.baselineMarker);
  EXPECT_FALSE(written.progressive);
  EXPECT_EQ(90, written.quality);
  const unsigned long rgb = written.RgbAt(30, 30);
  EXPECT_TRUE(Near(RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF), kRed, 20)) << std::hex << rgb;

  // The client ending asks nothing and keeps the last answer (OK).
  e.Show(SW_SHOW);
  ASSERT_TRUE(e.LoadCapture(capture_, nullptr));
  gClosing = true;
  boxes_.shown.clear();
  EXPECT_TRUE(e.Close());
  EXPECT_TRUE(boxes_.shown.empty());
  EXPECT_EQ(2, saved);
}

TEST_F(EditorTest, FailedSaveKeepsTheCapture) {
  TForm5& e = Editor();
  int saved = 0;
  e.OnSaved = [&](const std::string&) { ++saved; };
  Drag(10, 10, 60, 60);
  const std::string before = ReadAll(capture_);
  // A folder in the way of the temporary file makes the write fail.
  const std::string blocker = capture_ + ".tmp";
  ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
  boxes_.shown.clear();
  EXPECT_TRUE(e.Close());
  RemoveDirectoryA(blocker.c_str());
  ASSERT_EQ(2u, boxes_.shown.size());
  EXPECT_EQ("Kestro", boxes_.shown[1].caption);
  EXPECT_EQ(before, ReadAll(capture_));
  EXPECT_EQ(0, saved);
}

TEST_F(EditorTest, NoPictureNoEditor) {
  boxes_.shown.clear();
  EXPECT_FALSE(Editor().OpenFor(nullptr, gDataDir + "temp\\missing.jpg"));
  EXPECT_FALSE(Editor().OpenFor(nullptr, ""));
  ASSERT_EQ(2u, boxes_.shown.size());
  EXPECT_EQ("プレビューに画像がないため、編集できません。", boxes_.shown[0].text);
}

TEST_F(EditorTest, OpenForRunsModallyUntilClosed) {
  Editor().Show(SW_HIDE);
  boxes_.replies = {IDCANCEL};
  WhileModal(Editor(), [&] { Editor().Close(); }, [&] { EXPECT_TRUE(Editor().OpenFor(nullptr, capture_)); });
  EXPECT_FALSE(Editor().IsVisible());
  EXPECT_EQ("保存確認", boxes_.shown.back().caption);
}

}  // namespace
