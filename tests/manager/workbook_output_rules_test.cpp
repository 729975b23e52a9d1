// Sheet names and shares of the workbooks beyond what the Wine run shows.
#include <gtest/gtest.h>

#include <string>

#include "manager/portable/WorkbookOutputRules.h"

TEST(WorkbookOutputRules, SheetNamesAndShares) {
  EXPECT_EQ(PictureSheetName(1, "a/b:c"), "(1)abc");
  EXPECT_EQ(PictureSheetName(2, "  x\r\ny  "), "(2)xy");
  EXPECT_EQ(PictureSheetName(3, ""), "(3)画像");
  std::string wide, cut = "(3)";
  for (int i = 0; i < 40; ++i) wide += "画", cut += i < 28 ? "画" : "";
  EXPECT_EQ(PictureSheetName(3, wide), cut);  // 31 characters, none split
  EXPECT_EQ(CompletedShareText(0, 2), "( 0.0 ％)");
  EXPECT_EQ(CompletedShareText(0, 0), "( 0.0 ％)");
  EXPECT_EQ(DayOfDateText("2024-05-01"), "");
}
