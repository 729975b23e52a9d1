// The picture workbook's rules natively: the size-limit fitting and the
// checks of the spreadsheet options form.
#include <gtest/gtest.h>

#include <string>

#include "manager/portable/PictureFitRules.h"
#include "manager/portable/SpreadsheetOptionRules.h"

namespace {

void ExpectFit(int w, int h, int lx, int ly, FitCase fit, int width, int height) {
  const FittedSize got = FitToLimit(w, h, lx, ly);
  EXPECT_EQ(got.fit, fit) << w << "x" << h << " into " << lx << "x" << ly;
  EXPECT_EQ(got.width, width) << w << "x" << h << " into " << lx << "x" << ly;
  EXPECT_EQ(got.height, height) << w << "x" << h << " into " << lx << "x" << ly;
}

TEST(PictureFit, TheLargerOverflowGovernsAndSmallPicturesStayAsTheyAre) {
  // Both over: a tie goes to the width; the larger overflow in pixels
  // governs even when the other side then ends over its limit.
  ExpectFit(1280, 1024, 1024, 768, FitCase::BothOver, 1024, 819);
  ExpectFit(1000, 800, 400, 300, FitCase::BothOver, 400, 320);
  ExpectFit(800, 1200, 600, 450, FitCase::BothOver, 300, 450);
  ExpectFit(1280, 400, 1024, 768, FitCase::WidthOver, 1024, 320);
  ExpectFit(500, 900, 600, 450, FitCase::HeightOver, 250, 450);
  ExpectFit(500, 300, 600, 450, FitCase::Fits, 500, 300);
  ExpectFit(600, 450, 600, 450, FitCase::Fits, 600, 450);
  // Halves round up; a side never shrinks to nothing.
  ExpectFit(4, 3, 2, 3, FitCase::WidthOver, 2, 2);
  ExpectFit(10000, 1, 100, 100, FitCase::WidthOver, 100, 1);
  EXPECT_STREQ(FitCaseText(FitCase::BothOver), "修正タイプ,XYどちらもはみ出ている。");
  EXPECT_STREQ(FitCaseText(FitCase::WidthOver), "修正タイプ,Xがはみ出ている。");
  EXPECT_STREQ(FitCaseText(FitCase::HeightOver), "修正タイプ,Yがはみ出ている。");
}

TEST(PictureFit, LimitsOrPicturesBelowOnePixelAreUnusable) {
  for (const int bad : {0, -1, -999}) {
    EXPECT_EQ(FitToLimit(1280, 1024, bad, 768).fit, FitCase::Unusable);
    EXPECT_EQ(FitToLimit(1280, 1024, 1024, bad).fit, FitCase::Unusable);
    EXPECT_EQ(FitToLimit(bad, 1024, 1024, 768).fit, FitCase::Unusable);
  }
}

// The form's own checks run in the real program's test; these are the edges
// that are awkward to type there.
TEST(SpreadsheetOptions, DoubleByteCharactersAndHugeNumbersAreRefused) {
  // The second byte of "ア" (0x83 0x41) is no letter A.
  const std::string katakanaA = "ア";
  ASSERT_EQ(katakanaA[1], 'A');
  EXPECT_FALSE(IsPasteCell(katakanaA + "1"));
  EXPECT_TRUE(IsPasteCell(katakanaA + "B1"));
  EXPECT_FALSE(IsPasteCell("A2 "));
  int value = 55;
  for (const char* bad : {"99999999999", "+", "-0"}) EXPECT_FALSE(ReadSizeLimit(bad, value)) << bad;
  EXPECT_EQ(value, 55);  // a refused text changes nothing
  EXPECT_TRUE(ReadSizeLimit(" 600", value));
  EXPECT_EQ(value, 600);
}

}  // namespace
