// The manager's name and text rules, the listing tokenizer, its INI model
// and its store paths, natively.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/portable/FieldToken.h"
#include "manager/portable/IniText.h"
#include "manager/portable/NameText.h"
#include "manager/portable/StorePaths.h"

namespace {

// "表" and "ソ" end in the byte 0x5C, "ポ" in 0x7C ("|").
const std::string kHyo = "表", kSo = "ソ", kPo = "ポ";

TEST(ManagerText, TokenizerSplitsOnRunsOfTheSeparator) {
  EXPECT_EQ(kHyo.size(), 2u);
  EXPECT_EQ(kHyo[1], '\\');
  const std::string line = "a  b c";
  EXPECT_EQ(fncGetToken(line, 1, " ", false), "a");
  EXPECT_EQ(fncGetToken(line, 2, " ", false), "b");
  EXPECT_EQ(fncGetToken(line, 3, " ", false), "c");
  EXPECT_EQ(fncGetToken(line, 2, " ", true), "b c");
  EXPECT_EQ(fncGetToken(" a b", 1, " ", false), "");
  EXPECT_EQ(fncGetToken(" a b", 2, " ", false), "a");
  EXPECT_EQ(fncGetToken("a b", 3, " ", false), "");
  EXPECT_EQ(fncGetToken("a b  ", 3, " ", false), "");
  EXPECT_EQ(fncGetToken("a b", 0, " ", false), "");
  EXPECT_EQ(fncGetToken("a", 1, "ab", false), "");
  EXPECT_EQ(fncGetToken("a b", 1, "", false), "a b");
  EXPECT_EQ(fncGetToken("a,,b,c", 2, ",", false), "b");
  // A UNIX listing line: field 5 the size, field 9 the name with its blanks.
  const std::string unix = "-rw-r--r--   1 ftp ftp     1234 Oct 20 10:31 my report 表.jpg";
  EXPECT_EQ(fncGetToken(unix, 5, " ", false), "1234");
  EXPECT_EQ(fncGetToken(unix, 9, " ", true), "my report 表.jpg");
}

TEST(ManagerText, ReportAndTagNamesSplitAtTheLastSeparatorAfterADigit) {
  const std::string tag = "PRJ_PC0120061020103100001_要確認.tag";
  EXPECT_EQ(fncProjectFromName(tag), "PRJ");
  EXPECT_EQ(fncCreatorFromName(tag), "PC01");
  std::vector<std::string> lines;
  EXPECT_EQ(fncCommentFromTagName(tag, [&](const std::string& l) { lines.push_back(l); }), "要確認");
  EXPECT_EQ(lines, (std::vector<std::string>{"元->" + tag, "編集->要確認.tag", "結果->要確認"}));
  EXPECT_EQ(fncGetTimeFromName("PRJ_PC0120061020103100001.jpg"), "103100");

  EXPECT_EQ(fncProjectFromName("PC0120061020103100001_x.tag"), "");
  EXPECT_EQ(fncCreatorFromName("PC0120061020103100001_x.tag"), "PC01");
  // A project ending in a digit: its "_" follows a digit too, but is not the last.
  EXPECT_EQ(fncProjectFromName("PRJ1_PC0120061020103100001_x.tag"), "PRJ1");
  EXPECT_EQ(fncCreatorFromName("PRJ1_PC0120061020103100001_x.tag"), "PC01");
  EXPECT_EQ(fncCommentFromTagName("PRJ1_PC0120061020103100001_x_1.tag"), "x_1");
  // Double-byte creators and comments: no byte of theirs is a digit.
  EXPECT_EQ(fncCreatorFromName("営業_表計算20061020103100001_ソ表.tag"), "表計算");
  EXPECT_EQ(fncCommentFromTagName("営業_表計算20061020103100001_ソ表.tag"), "ソ表");
  // "ダ" ends in the byte of "_".
  EXPECT_EQ(fncProjectFromName("ダイヤ_PC0120061020103100001_x.tag"), "ダイヤ");
  EXPECT_EQ(fncCreatorFromName("ダ20061020103100001_x.tag"), "ダ");

  EXPECT_EQ(fncLastDelimiterPos("_", "a1_b_c2_d"), 8);
  EXPECT_EQ(fncLastDelimiterPos("_", "_abc"), 0);
  EXPECT_EQ(fncLastDelimiterPos("", "a1_"), 0);
  EXPECT_EQ(fncLastDelimiterPos("_", ""), 0);

  // 20 characters or less give "" from all four.
  const std::string twenty = "P_0120061020103100_1";
  ASSERT_EQ(twenty.size(), 20u);
  EXPECT_EQ(fncProjectFromName(twenty), "");
  EXPECT_EQ(fncCreatorFromName(twenty), "");
  EXPECT_EQ(fncCommentFromTagName(twenty), "");
  EXPECT_EQ(fncGetTimeFromName(twenty), "");
  EXPECT_EQ(fncCreatorFromName(twenty + "x"), "");  // short head: no creator, no failure

  EXPECT_EQ(fncFormatDate("20061020"), "2006/10/20");
  EXPECT_EQ(fncFormatDate("2006102"), "");
  EXPECT_EQ(fncFormatTime("103100"), "10:31:00");
  EXPECT_EQ(fncFormatTime("1031"), "");
}

TEST(ManagerText, TagFileIsFoundInListingsAndFileNames) {
  const std::string base = "PRJ_PC0120061020103100001";
  const std::vector<std::string> listing = {
      "-rw-r--r--   1 ftp ftp  0 Oct 20 10:31 PRJ_PC0120061020103100002_other.tag",
      "-rw-r--r--   1 ftp ftp  0 Oct 20 10:31 PRJ_PC0120061020103100001_要 確認.tag  ",
  };
  EXPECT_EQ(fncFindTagFile(base, listing, true), "PRJ_PC0120061020103100001_要 確認.tag");
  const std::vector<std::string> dos = {"10-20-06  10:31AM                0 PRJ_PC0120061020103100001_x.tag"};
  EXPECT_EQ(fncFindTagFile(base, dos, true), "PRJ_PC0120061020103100001_x.tag");
  EXPECT_EQ(fncFindTagFile(base, {"PRJ_PC0120061020103100001_.tag"}, false), "PRJ_PC0120061020103100001_.tag");
  // The report's own name and a longer base are no match; neither is an empty base.
  EXPECT_EQ(fncFindTagFile(base, {"PRJ_PC0120061020103100001.jpg", "XPRJ_PC0120061020103100001_x.tag"}, false), "");
  EXPECT_EQ(fncFindTagFile("", {"abc.tag"}, false), "");
}

TEST(ManagerText, NameChecksWalkDoubleByteCharacters) {
  EXPECT_TRUE(fncIsValidName(""));
  EXPECT_FALSE(fncIsValidName("営業:第1;課"));
  for (const char* bad : {"a_b", "a b", "a.b", "a>b", "a~", "|", "#", "/", "'", "\"", "*", "&", "%", "\\", ",", "?", "<"})
    EXPECT_FALSE(fncIsValidName(bad)) << bad;
  // The second byte of 表, ソ (0x5C) and ポ (0x7C) is no "\" or "|".
  EXPECT_TRUE(fncIsValidName(kHyo + kSo + kPo));
  EXPECT_EQ(fncDelInvalidStr("表_示 ソ.フト|ポ\\x"), "表示ソフトポx");
  // A lead byte at the very end is kept as it is.
  EXPECT_EQ(fncDelInvalidStr(std::string("a_\x95")), std::string("a\x95"));

  EXPECT_EQ(fncDelInvalidSheetStr("a:b\\c/d?e*f[g]h"), "abcdefgh");
  EXPECT_EQ(fncDelInvalidSheetStr("表：￥／？＊［］ソ[1]"), "表ソ1");
  const std::string longName(40, 'x');
  EXPECT_EQ(fncDelInvalidSheetStr(longName), longName);  // not cut
}

TEST(ManagerText, IniModelKeepsOtherKeysAndIgnoresCase) {
  IniText ini("; comment\r\nstray=1\r\n[KESTRO]\r\nSAVE = 1 \r\nSERVER=a=b\r\nnoequals\r\n\r\n[kestromgr]\r\nLASTTARGET=x\r\n");
  EXPECT_EQ(ini.Read("kestro", "save"), "1");
  EXPECT_EQ(ini.Read("KESTRO", "SERVER"), "a=b");
  EXPECT_EQ(ini.Read("KESTROMGR", "LASTTARGET"), "x");
  EXPECT_EQ(ini.Read("KESTRO", "stray", "none"), "none");
  ini.Write("KESTROMGR", "lasttarget", "y");
  ini.Write("KESTROMGR", "LASTUSERID", "u");
  ini.Write("NEW", "K", "v");
  EXPECT_EQ(ini.Text(),
            "[KESTRO]\r\nSAVE=1\r\nSERVER=a=b\r\nnoequals\r\n\r\n[kestromgr]\r\nLASTTARGET=y\r\nLASTUSERID=u\r\n\r\n"
            "[NEW]\r\nK=v\r\n\r\n");
  EXPECT_EQ(IniText(ini.Text()).Sections(), (std::vector<std::string>{"KESTRO", "kestromgr", "NEW"}));
}

TEST(ManagerText, StorePathsAndFolderNames) {
  EXPECT_EQ(RemoteStorePath("kestro", "", "projectlist.txt"), "kestro/projectlist.txt");
  EXPECT_THROW(RemoteStorePath("kestro", "20061020", "a\\b.jpg"), std::invalid_argument);
  EXPECT_EQ(RemoteStorePath("kestro", "20061020", "表.jpg"), "kestro/20061020/表.jpg");
  EXPECT_EQ(RemoteStoreFolder("kestro", "20061020tag"), "/kestro/20061020tag/");
  EXPECT_EQ(RemoteStoreFolder("kestro", ""), "/kestro/");
  EXPECT_EQ(SharedStorePath("C:\\s\\", "20061020", "x.jpg"), "C:\\s\\20061020\\x.jpg");

  EXPECT_EQ(PathSafeName("ftp://10.0.0.1:21"), "ftp10.0.0.121");
  EXPECT_EQ(PathSafeName("a|b<c>d*e?f\"g\\h/i"), "abcdefghi");
  EXPECT_EQ(PathSafeName(".."), "_");
  EXPECT_EQ(PathSafeName("Com1"), "_Com1");
  EXPECT_EQ(PathSafeName(""), "_");
  EXPECT_EQ(PathSafeName("表ソ"), "表ソ");
  EXPECT_EQ(CatalogueFolderPath("C:\\d\\", "host:21", "dom\\user"), "C:\\d\\CATALOGUE\\host21\\domuser\\");

  for (const char* own : {"tempFile.tmp", "dirlist.tmp", "projectlist.txt", "comment.tmp",
                          "PRJ_PC0120061020103100001.jpg", "PC0120061020103100001.xls", "PC0120061020103100001.jpg.UPD", "PC0120061020103100001.xls.pwd",
                          "PRJ_PC0120061020103100001_要確認.tag", "PC0120061020103100001_.tag"})
    EXPECT_TRUE(IsManagerWorkFile(own)) << own;
  for (const char* other : {"Go.bat", "Relay.ini", "000123_4567.jpg", "Undo1.jpg", "Clop.jpg", "downloader.ini",
                            "000123_4294967295.jpg", "x.tag"})
    EXPECT_FALSE(IsManagerWorkFile(other)) << other;
}

}  // namespace
