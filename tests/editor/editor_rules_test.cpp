// The picture editor's geometry, text layout, settings and undo ring.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "client/portable/EditorGeometry.h"
#include "client/portable/EditorSettings.h"
#include "client/portable/EditorText.h"
#include "client/portable/EditorUndo.h"

namespace {

TEST(EditorGeometry, RectanglesAreSortedWhicheverWayTheDragRuns) {
  for (auto release : {EditorPoint{10, 20}, EditorPoint{50, 80}}) {
    EditorPoint press = release.x == 10 ? EditorPoint{50, 80} : EditorPoint{10, 20};
    EditorRect r = SortedRect(press, release);
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(20, r.top);
    EXPECT_EQ(50, r.right);
    EXPECT_EQ(80, r.bottom);
    EXPECT_EQ(40, r.Width());
    EXPECT_FALSE(r.Empty());
  }
  // Mixed: dragged to the lower left.
  EditorRect mixed = SortedRect({50, 20}, {10, 80});
  EXPECT_EQ(10, mixed.left);
  EXPECT_EQ(20, mixed.top);
  EXPECT_EQ(50, mixed.right);
  EXPECT_EQ(80, mixed.bottom);
  // A click, a row or a column holds no pixel.
  EXPECT_TRUE(SortedRect({5, 5}, {5, 5}).Empty());
  EXPECT_TRUE(SortedRect({5, 5}, {9, 5}).Empty());
  EXPECT_TRUE(SortedRect({5, 5}, {5, 9}).Empty());
  EXPECT_FALSE(SortedRect({5, 5}, {6, 6}).Empty());
}

TEST(EditorGeometry, FrameIsClosedThroughTheFourCorners) {
  auto p = FramePolyline({30, 40}, {10, 5});
  std::vector<EditorPoint> expected{{30, 40}, {10, 40}, {10, 5}, {30, 5}, {30, 40}};
  EXPECT_EQ(expected, std::vector<EditorPoint>(p.begin(), p.end()));
}

TEST(EditorGeometry, ArrowBaseRunsAcrossThePressPoint) {
  // Mainly horizontal: vertical base.
  auto wide = ArrowTriangle({100, 100}, {200, 150});
  EXPECT_EQ((EditorPoint{100, 95}), wide[0]);
  EXPECT_EQ((EditorPoint{100, 105}), wide[1]);
  EXPECT_EQ((EditorPoint{200, 150}), wide[2]);
  // dx == dy also gives the vertical base.
  auto diagonal = ArrowTriangle({100, 100}, {40, 40});
  EXPECT_EQ((EditorPoint{100, 95}), diagonal[0]);
  EXPECT_EQ((EditorPoint{100, 105}), diagonal[1]);
  EXPECT_EQ((EditorPoint{40, 40}), diagonal[2]);
  // Mainly vertical (upwards): horizontal base.
  auto tall = ArrowTriangle({100, 100}, {101, 20});
  EXPECT_EQ((EditorPoint{95, 100}), tall[0]);
  EXPECT_EQ((EditorPoint{105, 100}), tall[1]);
  // A click: the base alone, tip on the press point.
  auto click = ArrowTriangle({7, 7}, {7, 7});
  EXPECT_EQ((EditorPoint{7, 2}), click[0]);
  EXPECT_EQ((EditorPoint{7, 12}), click[1]);
  EXPECT_EQ((EditorPoint{7, 7}), click[2]);
}

TEST(EditorGeometry, PreviewFitKeepsSmallPicturesAndScalesLargeOnes) {
  PreviewFit wide = FitPreview(1600, 900);
  EXPECT_EQ(400, wide.width);
  EXPECT_EQ(225, wide.height);
  EXPECT_TRUE(wide.stretch);
  PreviewFit small = FitPreview(320, 240);
  EXPECT_EQ(320, small.width);
  EXPECT_EQ(240, small.height);
  EXPECT_FALSE(small.stretch);
  PreviewFit exact = FitPreview(400, 300);
  EXPECT_FALSE(exact.stretch);
  PreviewFit tall = FitPreview(300, 1000);  // height decides; 300 * 0.3 = 90
  EXPECT_EQ(90, tall.width);
  EXPECT_EQ(300, tall.height);
  PreviewFit odd = FitPreview(1001, 301);  // cut toward zero
  EXPECT_EQ(400, odd.width);
  EXPECT_EQ(120, odd.height);
  // The governing side ends on the box edge (floating point gave 399 here).
  PreviewFit edge = FitPreview(539, 404);
  EXPECT_EQ(400, edge.width);
  EXPECT_EQ(299, edge.height);
  PreviewFit tallEdge = FitPreview(202, 404);
  EXPECT_EQ(150, tallEdge.width);
  EXPECT_EQ(300, tallEdge.height);
}

// Every character 8 wide; lines 16 high, empty ones 0 (any height would do).
TextExtent Measure(const std::string& line) {
  return TextExtent{static_cast<int>(line.size()) * 8, line.empty() ? 0 : 16};
}

TEST(EditorText, EmptyInputDrawsTheDraggedBoxUnsorted) {
  FramedTextLayout none = LayoutFramedText({}, {50, 60}, {10, 20}, Measure);
  EXPECT_EQ((EditorPoint{50, 60}), none.boxFrom);
  EXPECT_EQ((EditorPoint{10, 20}), none.boxTo);
  EXPECT_TRUE(none.lineOrigins.empty());
  FramedTextLayout blanks = LayoutFramedText({"", ""}, {5, 6}, {70, 80}, Measure);
  EXPECT_EQ((EditorPoint{5, 6}), blanks.boxFrom);
  EXPECT_EQ((EditorPoint{70, 80}), blanks.boxTo);
  EXPECT_EQ(2u, blanks.lineOrigins.size());
}

TEST(EditorText, EmptyMiddleLineTakesAPlaceInWritingButNotInTheBox) {
  FramedTextLayout layout = LayoutFramedText({"abc", "", "de"}, {100, 200}, {300, 400}, Measure);
  EXPECT_EQ((EditorPoint{100, 200}), layout.boxFrom);
  EXPECT_EQ((EditorPoint{100 + 24 + 3, 200 + 2 * 16 + 3}), layout.boxTo);
  ASSERT_EQ(3u, layout.lineOrigins.size());
  EXPECT_EQ((EditorPoint{101, 201}), layout.lineOrigins[0]);
  EXPECT_EQ((EditorPoint{101, 201 + 2 * 16}), layout.lineOrigins[2]);  // below the box
}

TEST(EditorText, ReverseDragAnchorsAtTheUpperLeftAndIgnoresTheDraggedSize) {
  FramedTextLayout layout = LayoutFramedText({"x"}, {300, 400}, {100, 200}, Measure);
  EXPECT_EQ((EditorPoint{100, 200}), layout.boxFrom);
  EXPECT_EQ((EditorPoint{100 + 8 + 3, 200 + 16 + 3}), layout.boxTo);
  EXPECT_EQ((EditorPoint{101, 201}), layout.lineOrigins[0]);
}

TEST(EditorText, LongestLineCountsBytesAndTakesTheFirstOnTies) {
  // Three Japanese characters are 6 bytes in code page 932, longer than "abcde".
  const std::string japanese = "日本語";
  ASSERT_EQ(6u, japanese.size());
  std::vector<std::string> measured;
  auto measure = [&](const std::string& line) {
    measured.push_back(line);
    return TextExtent{line == japanese ? 30 : 99, 10};
  };
  FramedTextLayout layout = LayoutFramedText({"abcde", japanese, "123456"}, {0, 0}, {1, 1}, measure);
  ASSERT_FALSE(measured.empty());
  EXPECT_EQ(japanese, measured.front());  // the box is measured on the first 6-byte line
  EXPECT_EQ(33, layout.boxTo.x);
  EXPECT_EQ(3 * 10 + 3, layout.boxTo.y);
}

TEST(EditorText, SerialIsRightAlignedInTwoCharacters) {
  EXPECT_EQ(" 9", SerialText(9));
  EXPECT_EQ("10", SerialText(10));
  EXPECT_EQ("123", SerialText(123));
  EXPECT_EQ("-1", SerialText(-1));
  EXPECT_EQ(" 0", SerialText(0));
  EXPECT_EQ("［連番］アイコン記録機能（12から）", SerialMenuCaption(12));
}

TEST(EditorSettings, DecimalTextsOnly) {
  int v = 0;
  EXPECT_TRUE(ParseDecimal("42", v));
  EXPECT_EQ(42, v);
  EXPECT_TRUE(ParseDecimal("-7", v));
  EXPECT_EQ(-7, v);
  EXPECT_TRUE(ParseDecimal("2147483647", v));
  EXPECT_TRUE(ParseDecimal("-2147483648", v));
  EXPECT_EQ(-2147483647 - 1, v);
  for (const char* bad : {"", "-", "1a", " 1", "1.5", "2147483648", "99999999999999999999"})
    EXPECT_FALSE(ParseDecimal(bad, v)) << bad;
}

TEST(EditorSettings, ColourCodesAndDefaults) {
  unsigned long c = 0;
  const std::pair<const char*, unsigned long> table[] = {
      {"1", 0x0000FF}, {"2", 0x000000}, {"3", 0x800000}, {"4", 0xFFFFFF}, {"5", 0x00FFFF}};
  for (const auto& [code, colour] : table) {
    ASSERT_TRUE(ColourFromCode(code, 0x123456, c));
    EXPECT_EQ(colour, c) << code;
  }
  ASSERT_TRUE(ColourFromCode("0", kWhite, c));
  EXPECT_EQ(kWhite, c);
  ASSERT_TRUE(ColourFromCode("6", kBlack, c));
  EXPECT_EQ(kBlack, c);
  EXPECT_FALSE(ColourFromCode("", kBlack, c));
  EXPECT_FALSE(ColourFromCode("red", kBlack, c));
}

TEST(EditorSettings, FramePenAndTextSize) {
  FramePen pen;
  ASSERT_TRUE(FramePenFromSettings("1", "1", pen));
  EXPECT_EQ(FrameLine::Dotted, pen.line);
  EXPECT_EQ(1, pen.width);
  ASSERT_TRUE(FramePenFromSettings("2", "0", pen));
  EXPECT_EQ(FrameLine::Solid, pen.line);
  EXPECT_EQ(1, pen.width);
  ASSERT_TRUE(FramePenFromSettings("1", "2", pen));  // thick replaces the dotted style
  EXPECT_EQ(FrameLine::DashDot, pen.line);
  EXPECT_EQ(3, pen.width);
  EXPECT_FALSE(FramePenFromSettings("", "1", pen));
  EXPECT_FALSE(FramePenFromSettings("1", "x", pen));

  int points = 0;
  EXPECT_TRUE(TextSizeFromSetting("1", points));
  EXPECT_TRUE(TextSizeFromSetting("99", points));
  EXPECT_EQ(99, points);
  for (const char* bad : {"", "0", "100", "-5", "12pt"}) EXPECT_FALSE(TextSizeFromSetting(bad, points)) << bad;
}

class EditorUndoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Each case runs in its own process, perhaps at the same time as others.
    folder_ = ::testing::TempDir() + "editor_undo_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_";
    undo_.SetFolder(folder_);
  }
  void TearDown() override { undo_.Reset(); }

  // Writes the edit number as the snapshot's content.
  EditorUndo::Writer WriterOf(int edit) {
    return [edit](const std::string& path, std::string*) {
      std::ofstream(path, std::ios::binary) << edit;
      return true;
    };
  }
  static std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    std::getline(in, text);
    return text;
  }

  std::string folder_;
  EditorUndo undo_;
};

TEST_F(EditorUndoTest, SixEditsKeepTheFiveNewestAndUndoInOrder) {
  for (int edit = 1; edit <= 6; ++edit) ASSERT_TRUE(undo_.Push(WriterOf(edit), nullptr));
  EXPECT_EQ(5, undo_.Count());
  EXPECT_EQ(folder_ + "Undo4.jpg", undo_.NewestPath());
  // Undo0 holds the picture before edit 2: the first edit is no longer undoable.
  for (int i = 0; i < 5; ++i) EXPECT_EQ(std::to_string(i + 2), Content(undo_.PathOf(i)));
  std::vector<std::string> loaded;
  while (undo_.Count() > 0) {
    loaded.push_back(Content(undo_.NewestPath()));
    undo_.Pop();
  }
  EXPECT_EQ((std::vector<std::string>{"6", "5", "4", "3", "2"}), loaded);
  EXPECT_EQ("", undo_.NewestPath());
  // The next edit overwrites the oldest file again.
  ASSERT_TRUE(undo_.Push(WriterOf(7), nullptr));
  EXPECT_EQ("7", Content(undo_.PathOf(0)));
}

TEST_F(EditorUndoTest, FailedWritesCountOnlyTheSnapshotsOnDisk) {
  auto failing = [](const std::string&, std::string* error) {
    *error = "disk full";
    return false;
  };
  std::string error;
  EXPECT_FALSE(undo_.Push(failing, &error));
  EXPECT_EQ("disk full", error);
  EXPECT_EQ(0, undo_.Count());
  for (int edit = 1; edit <= 5; ++edit) ASSERT_TRUE(undo_.Push(WriterOf(edit), nullptr));
  EXPECT_FALSE(undo_.Push(failing, &error));
  EXPECT_EQ(4, undo_.Count());
  EXPECT_EQ("5", Content(undo_.NewestPath()));
}

TEST_F(EditorUndoTest, ResetDeletesTheOldSnapshots) {
  ASSERT_TRUE(undo_.Push(WriterOf(1), nullptr));
  ASSERT_TRUE(undo_.Push(WriterOf(2), nullptr));
  undo_.Reset();
  EXPECT_EQ(0, undo_.Count());
  EXPECT_FALSE(std::ifstream(undo_.PathOf(0)).good());
  EXPECT_FALSE(std::ifstream(undo_.PathOf(1)).good());
}

}  // namespace
