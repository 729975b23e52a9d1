#include <gtest/gtest.h>

#include "common/portable/Cp932.h"
#include "client/portable/FileNameText.h"
#include "common/portable/HintCommand.h"
#include "client/portable/NumberText.h"
#include "client/portable/RepeatString.h"

// Second bytes that equal listed characters: ソ 83 5C, 表 95 5C, ポ 83 7C.
TEST(Cp932Text, SampleCharactersHaveTheTrailBytesTheTestsNeed) {
  ASSERT_EQ(std::string("ソ"), "\x83\x5C");
  ASSERT_EQ(std::string("表"), "\x95\x5C");
  ASSERT_EQ(std::string("ポ"), "\x83\x7C");
  EXPECT_TRUE(Cp932EndsWith("C:\\a\\", '\\'));
  EXPECT_FALSE(Cp932EndsWith("C:\\ソ", '\\'));
  EXPECT_EQ(Cp932CutLength("\x83", 5), 1u);
}

TEST(FileNameCheck, ListedCharactersOnlyAsSingleBytes) {
  EXPECT_TRUE(fncChkFileName(""));
  EXPECT_TRUE(fncChkFileName("営業部"));
  EXPECT_TRUE(fncChkFileName("ソフト表ポ"));
  EXPECT_TRUE(fncChkFileName("ABC-123"));
  for (const char* bad : {"a.b", "a b", "a_b", "a\\b", "a|b", "a~", "#", "/", "'", "\"", "*", "&", "%", ",", "?",
                          ":", ";", "<", ">", "a\tb", "CON", "com1", "Nul"})
    EXPECT_FALSE(fncChkFileName(bad)) << bad;
  EXPECT_FALSE(fncChkFileName("ソ\\"));
}

TEST(FileNameClean, RemovesListedAndControlCharactersKeepsDoubleBytes) {
  std::string result;
  EXPECT_TRUE(fncCleanFileName("a_b c.d", result));
  EXPECT_EQ(result, "abcd");
  fncCleanFileName("ソフト|表\\ポ", result);
  EXPECT_EQ(result, "ソフト表ポ");
  fncCleanFileName("a\tb\r\nc\x7F", result);
  EXPECT_EQ(result, "abc");
  fncCleanFileName("~|#/'\"*&%\\.,?:;<>_ ", result);
  EXPECT_EQ(result, "");
}

TEST(FileNameClean, CutsToFiftyCharactersCountingDoubleBytesAsOne) {
  std::string title, result;
  for (int i = 0; i < 60; ++i) title += "表";
  fncCleanFileName(title, result);
  EXPECT_EQ(result.size(), 100u);
  fncCleanFileName("x" + title, result);
  EXPECT_EQ(result.size(), 1u + 49 * 2);
  fncCleanFileName(std::string(49, 'a') + "_ソソ", result);
  EXPECT_EQ(result, std::string(49, 'a') + "ソ");
}

TEST(SplitFileName, BaseAndExtension) {
  std::string base, extension;
  EXPECT_TRUE(fncSplitFileName("E:\\work\\b.c.jpg", base, extension));
  EXPECT_EQ(base, "b.c");
  EXPECT_EQ(extension, "jpg");
  fncSplitFileName("E:\\work\\readme", base, extension);
  EXPECT_EQ(base, "readme");
  EXPECT_EQ(extension, "");
  fncSplitFileName("E:\\dir.x\\name", base, extension);
  EXPECT_EQ(base, "name");
  EXPECT_EQ(extension, "");
  fncSplitFileName("E:\\表\\ソ.xls", base, extension);
  EXPECT_EQ(base, "ソ");
  EXPECT_EQ(extension, "xls");
  EXPECT_EQ(ExtractFilePath("C:\\ソ\\Kestro.exe"), "C:\\ソ\\");
  EXPECT_EQ(ExtractFilePath("C:\\ソ"), "C:\\");
  EXPECT_EQ(ExtractFilePath("Kestro.exe"), "");
}

TEST(NumericCheck, Modes) {
  EXPECT_FALSE(fncChkNumeric("12,5-3", 0));
  EXPECT_TRUE(fncChkNumeric("12,5-3", 1));
  EXPECT_TRUE(fncChkNumeric("0123", 0));
  EXPECT_FALSE(fncChkNumeric("1 2", 1));
  EXPECT_TRUE(fncChkNumeric("abc", 2));
  for (int mode : {0, 1, 2}) EXPECT_FALSE(fncChkNumeric("", mode));
}

TEST(IpAddressCheck, FourPartsOfUpToThreeDigits) {
  std::array<std::string, 4> parts;
  EXPECT_TRUE(fncChkIpAddress("192.168.001.010", parts));
  EXPECT_EQ(parts, (std::array<std::string, 4>{"192", "168", "1", "10"}));
  EXPECT_TRUE(fncChkIpAddress("999.0.00.000", parts));
  EXPECT_EQ(parts, (std::array<std::string, 4>{"999", "0", "0", "0"}));
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "1.2.3.", "1..3.4", "1.2.3.a", "1.2.3.1000", "1.2.3.-4",
                          " 1.2.3.4", "1.2.3.4 "})
    EXPECT_FALSE(fncChkIpAddress(bad, parts)) << bad;
}

TEST(RepeatString, OneFillerPerByte) {
  std::string result;
  EXPECT_TRUE(fncRepeatString("abc", "*", result));
  EXPECT_EQ(result, "***");
  fncRepeatString("表", "*", result);
  EXPECT_EQ(result, "**");
  fncRepeatString("", "*", result);
  EXPECT_EQ(result, "");
}

TEST(HintCommand, PathIsQuotedInsideOuterQuotes) {
  EXPECT_EQ(HintCommandLine("C:\\Program Files (x86)\\Kestro\\doc\\clienthint.html"),
            "CMD /C \"\"C:\\Program Files (x86)\\Kestro\\doc\\clienthint.html\"\"");
}
