#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "spreadsheet/portable/CellAddress.h"
#include "spreadsheet/portable/ImageSize.h"
#include "spreadsheet/portable/WorkbookFormat.h"

using namespace spreadsheet;

TEST(CellAddressParse, AcceptsColumnLettersThenRow) {
  CellAddress a;
  ASSERT_TRUE(ParseCellAddress("A1", a));
  EXPECT_EQ(a.column, 1);
  EXPECT_EQ(a.row, 1);
  ASSERT_TRUE(ParseCellAddress("T2", a));
  EXPECT_EQ(a.column, 20);
  ASSERT_TRUE(ParseCellAddress("AA10", a));
  EXPECT_EQ(a.column, 27);
  EXPECT_EQ(a.row, 10);
  ASSERT_TRUE(ParseCellAddress("$e$11", a));
  EXPECT_EQ(FormatCellAddress(a), "E11");
  ASSERT_TRUE(ParseCellAddress("XFD1048576", a));
  EXPECT_EQ(FormatCellAddress(a), "XFD1048576");
}

TEST(CellAddressParse, RefusesMalformedAddresses) {
  CellAddress a;
  for (const char* bad : {"", "2A", "A0", "A", "1", "A1B", "A-1", "XFE1", "A1048577", " A1", "A1 ", "A$$1", "Ａ1"})
    EXPECT_FALSE(ParseCellAddress(bad, a)) << bad;
}

TEST(CellAddressParse, RangesAreNormalisedToTopLeftAndBottomRight) {
  CellRange r;
  ASSERT_TRUE(ParseRangeAddress("J7:A6", r));
  EXPECT_EQ(FormatRange(r), "A6:J7");
  EXPECT_EQ(r.Rows(), 2);
  EXPECT_EQ(r.Columns(), 10);
  ASSERT_TRUE(ParseRangeAddress("B4", r));
  EXPECT_TRUE(r.IsSingleCell());
  EXPECT_FALSE(ParseRangeAddress("A1:", r));
  EXPECT_FALSE(ParseRangeAddress("A1:2A", r));
  EXPECT_EQ(ColumnName(702), "ZZ");
  EXPECT_EQ(ColumnName(703), "AAA");
}

namespace {

WorkbookDocument SampleBook() {
  WorkbookDocument book;
  book.password = "4821";
  Sheet sheet;
  sheet.name = u8"報告書";
  sheet.pageSetup = {2, 1, 32767, 0};
  sheet.cells[{20, 2}] = Cell{"@", false, "PC0120240501093000001"};
  sheet.cells[{5, 11}] = Cell{"@", false, "a\nb\tc\\d\r"};
  sheet.cells[{1, 1}] = Cell{"", true, "437.5"};
  sheet.cells[{9, 8}] = Cell{"", false, "=1+1", true};
  sheet.pictures.push_back(Picture{"C:\\temp\\000001_1.jpg", 36, 280, 437.5, 350});
  sheet.hyperlinks.push_back(Hyperlink{{1, 1}, "", u8"画像一覧!A1", u8"一覧に戻る"});
  book.sheets.push_back(sheet);
  Sheet second;
  second.name = u8"原紙";
  book.sheets.push_back(second);
  return book;
}

}  // namespace

TEST(WorkbookFile, WhatIsWrittenReadsBackTheSame) {
  WorkbookDocument book = SampleBook(), back;
  std::string error;
  std::string text = WriteWorkbook(book);
  ASSERT_TRUE(ReadWorkbook(text, back, error)) << error;
  EXPECT_EQ(WriteWorkbook(back), text);
  EXPECT_EQ(back.password, "4821");
  ASSERT_EQ(back.sheets.size(), 2u);
  EXPECT_EQ(back.sheets[0].cells[(CellAddress{5, 11})].value, "a\nb\tc\\d\r");
  EXPECT_EQ(back.sheets[0].pictures[0].width, 437.5);
  EXPECT_EQ(back.sheets[0].hyperlinks[0].subAddress, u8"画像一覧!A1");
  EXPECT_EQ(back.sheets[0].pageSetup.fitToPagesTall, 32767);
  // Page counts only without a zoom; the picture is embedded.
  EXPECT_NE(text.find("PAGESETUP\t2\t1\t32767\tFalse\n"), std::string::npos);
  EXPECT_NE(text.find("PAGESETUP\t1\t\t\t100\n"), std::string::npos);
  EXPECT_NE(text.find("\t350\tC:\\\\temp\\\\000001_1.jpg\tembedded\n"), std::string::npos);
  // One record a line: the values' own line feeds and tabs are escaped.
  EXPECT_NE(text.find("CELL\tE11\t@\ts\ta\\nb\\tc\\\\d\\r\n"), std::string::npos);
}

TEST(WorkbookFile, AcceptsCrLfBomCommentsAndNoPassword) {
  WorkbookDocument book;
  std::string error;
  ASSERT_TRUE(ReadWorkbook("\xEF\xBB\xBFXLSTANDIN-WORKBOOK 1\r\n# note\r\n\r\nSHEET\tSheet1\r\nCELL\tA1\t\ts\tx\r\n", book,
                           error))
      << error;
  EXPECT_TRUE(book.password.empty());
  EXPECT_EQ(book.sheets[0].cells.begin()->second.value, "x");
}

TEST(WorkbookFile, RefusesBrokenFilesNamingTheLine) {
  const std::string head = "XLSTANDIN-WORKBOOK 1\n";
  struct Case {
    std::string text;
    std::string where;
  } cases[] = {
      {"", "line 1"},
      {"XLSTANDIN-WORKBOOK 2\nSHEET\tA\n", "line 1"},
      {head, "at least one sheet"},
      {head + "CELL\tA1\t\ts\tx\n", "line 2"},
      {head + "SHEET\tA\nCELL\t2A\t\ts\tx\n", "line 3"},
      {head + "SHEET\tA\nCELL\tA1\t\tn\tabc\n", "line 3"},
      {head + "SHEET\tA\nCELL\tA1\t\ts\tx\nCELL\tA1\t\ts\ty\n", "line 4"},
      {head + "SHEET\tA\nPICTURE\t1\t2\t3\tx\tp.jpg\n", "line 3"},
      {head + "SHEET\tA\nPAGESETUP\t1\t1\n", "line 3"},
      {head + "SHEET\tA\nWHAT\tx\n", "line 3"},
      {head + "SHEET\tA\\q\n", "line 2"},
      {head + "SHEET\tA\nPASSWORD\tx\n", "line 3"},
      {head + "SHEET\tA\nSHEET\ta\n", "given twice"},
      {head + "SHEET\ta/b\n", "sheet name"},
      {head + "SHEET\t\n", "sheet name"},
      {head + "SHEET\tA\nPAGESETUP\t3\t1\t1\n", "page set-up"},
      {head + "SHEET\tA\nPAGESETUP\t1\t1\t1\t100\n", "line 3"},
      {head + "SHEET\tA\nPICTURE\t0\t0\t1\t5\tp.jpg\tkept\n", "line 3"},
      {head + "SHEET\tA\nPICTURE\t0\t0\t-1\t5\tp.jpg\n", "negative"},
  };
  for (const Case& c : cases) {
    WorkbookDocument book;
    std::string error;
    EXPECT_FALSE(ReadWorkbook(c.text, book, error)) << c.text;
    EXPECT_NE(error.find(c.where), std::string::npos) << c.text << " -> " << error;
  }
}

TEST(WorkbookFile, SheetNameLimitCountsCharactersNotBytes) {
  std::string error;
  std::string name = "(1)";  // UTF-8 as the stand-in keeps it
  for (int i = 0; i < 28; ++i) name += u8"画";
  EXPECT_TRUE(IsValidSheetName(name, error)) << error;
  EXPECT_FALSE(IsValidSheetName(name + "x", error));
  EXPECT_FALSE(IsValidSheetName("'x", error));
  EXPECT_TRUE(SameSheetName("Sheet1", "SHEET1"));
}

TEST(WorkbookFile, NumbersAreStrictDecimals) {
  double v;
  EXPECT_TRUE(ParseNumber("20240501", v));
  EXPECT_TRUE(ParseNumber("-1.5e3", v));
  EXPECT_EQ(v, -1500);
  for (const char* bad : {"", "-", "1.2.3", "1e", "0x10", " 1", "1 ", "nan", "inf", "1e999"})
    EXPECT_FALSE(ParseNumber(bad, v)) << bad;
  EXPECT_EQ(FormatNumber(350), "350");
  EXPECT_EQ(FormatNumber(437.5), "437.5");
  EXPECT_EQ(FormatNumber(-0.0), "0");
}

TEST(PictureFileSize, ReadsJpegPngGifAndBmpHeaders) {
  int w = 0, h = 0;
  // JPEG: SOI, an APP0 segment, then SOF0 with height 800 and width 1000.
  std::string jpeg("\xFF\xD8\xFF\xE0\x00\x04\x00\x00\xFF\xC0\x00\x11\x08\x03\x20\x03\xE8\x03", 18);
  jpeg += std::string(20, '\0');
  ASSERT_TRUE(ReadImageSize(jpeg, w, h));
  EXPECT_EQ(w, 1000);
  EXPECT_EQ(h, 800);
  std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x01\x40\0\0\0\xF0", 24);
  ASSERT_TRUE(ReadImageSize(png, w, h));
  EXPECT_EQ(w, 320);
  EXPECT_EQ(h, 240);
  std::string gif("GIF89a\x10\x00\x20\x00", 10);
  ASSERT_TRUE(ReadImageSize(gif, w, h));
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 32);
  std::string bmp(54, '\0');
  bmp[0] = 'B', bmp[1] = 'M', bmp[18] = 8, bmp[22] = static_cast<char>(0xFC), bmp[23] = bmp[24] = bmp[25] = '\xFF';
  ASSERT_TRUE(ReadImageSize(bmp, w, h));  // a top-down bitmap has a negative height
  EXPECT_EQ(w, 8);
  EXPECT_EQ(h, 4);
  EXPECT_FALSE(ReadImageSize("not a picture", w, h));
  EXPECT_FALSE(ReadImageSize(jpeg.substr(0, 12), w, h));  // cut off inside the frame header
  EXPECT_EQ(PixelsToPoints(1000), 750);
}
