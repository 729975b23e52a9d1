#include <gtest/gtest.h>

#include <stdexcept>

#include "common/portable/SysLogCleanup.h"
#include "common/portable/SysLogLine.h"

namespace {
const LogTime kTime{2024, 3, 5, 7, 8, 9, 42};
}

TEST(SysLogLine, FieldsAndLineEnd) {
  EXPECT_EQ(BuildSysLogLine(kTime, "(KESTRO)", "Kestro,FormCreate()"),
            "2024/03/05,07:08:09.042,(KESTRO),Kestro,FormCreate()\r\n");
  EXPECT_EQ(SysLogFileName(kTime), "20240305.txt");
}

TEST(SysLogLine, TrailingBlanksAndControlsGoInnerLineBreaksStay) {
  EXPECT_EQ(BuildSysLogLine(kTime, "(KESTRO)", "a\r\nb \t\r\n"), "2024/03/05,07:08:09.042,(KESTRO),a\r\nb\r\n");
  EXPECT_EQ(BuildSysLogLine(kTime, "(KESTRO)", ""), "2024/03/05,07:08:09.042,(KESTRO),\r\n");
}

TEST(SysLogLine, LongMessageIsCutTo512Bytes) {
  std::string line = BuildSysLogLine(kTime, "(KESTRO)", std::string(600, 'x'));
  ASSERT_EQ(line.size(), 512u + 2);
  EXPECT_EQ(line.substr(510), "xx\r\n");
}

TEST(SysLogLine, CutNeverSplitsADoubleByteCharacter) {
  const std::string prefix = "2024/03/05,07:08:09.042,(KESTRO),";
  // The prefix has 33 bytes: every character starts on an odd offset and the
  // last one straddles bytes 511 and 512.
  ASSERT_EQ(prefix.size(), 33u);
  std::string message;
  while (prefix.size() + message.size() < 520) message += "表";
  std::string line = BuildSysLogLine(kTime, "(KESTRO)", message);
  EXPECT_EQ(line.size(), 511u + 2);
  EXPECT_EQ(line.substr(line.size() - 4), "表\r\n");

  message = "x";
  while (prefix.size() + message.size() < 520) message += "ソ";
  line = BuildSysLogLine(kTime, "(KESTRO)", message);
  EXPECT_EQ(line.size(), 512u + 2);
}

TEST(SysLogCleanup, CutoffCountsBackOverMonthAndYearEnds) {
  EXPECT_EQ(LogCutoffKey(2024, 3, 5, 10), "20240224");
  EXPECT_EQ(LogCutoffKey(2024, 3, 1, 1), "20240229");
  EXPECT_EQ(LogCutoffKey(2023, 1, 3, 3), "20221231");
  EXPECT_EQ(LogCutoffKey(2024, 3, 5, 0), "20240305");
}

TEST(SysLogCleanup, KeepDaysThatAreNoPositiveWholeNumberAreTen) {
  int days = 0;
  EXPECT_TRUE(ParseKeepDays(" 30 ", days));
  EXPECT_EQ(days, 30);
  for (const char* bad : {"", "0", "000", "-3", "1O", "-", "+5", "2.5"}) {
    EXPECT_FALSE(ParseKeepDays(bad, days)) << bad;
    EXPECT_EQ(days, 10) << bad;
  }
}

TEST(SysLogCleanup, OnlyEightDigitKeysUpToTheCutoffAreExpired) {
  const std::string pattern = "????????.txt";
  const std::string cutoff = "20240224";
  EXPECT_TRUE(IsExpiredLogName("20240224.txt", pattern, cutoff));
  EXPECT_TRUE(IsExpiredLogName("20231231.txt", pattern, cutoff));
  EXPECT_FALSE(IsExpiredLogName("20240225.txt", pattern, cutoff));
  EXPECT_FALSE(IsExpiredLogName("0.txt", pattern, cutoff));
  EXPECT_FALSE(IsExpiredLogName(".txt", pattern, cutoff));
  EXPECT_FALSE(IsExpiredLogName("2024022.txt", pattern, cutoff));
  EXPECT_FALSE(IsExpiredLogName("abcdefgh.txt", pattern, cutoff));
  EXPECT_FALSE(IsExpiredLogName("2024 224.txt", pattern, cutoff));
  // The FTP logs take their key after "FTP".
  EXPECT_TRUE(IsExpiredLogName("FTP20240101.txt", "FTP????????.txt", cutoff));
  EXPECT_FALSE(IsExpiredLogName("FTP20240101.txt", pattern, cutoff));
  EXPECT_FALSE(IsExpiredLogName("20240101.txt", "nodate.txt", cutoff));
  EXPECT_EQ(LogKeyPosition("nodate.txt"), std::string::npos);
}
