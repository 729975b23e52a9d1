#include <gtest/gtest.h>

#include "manager/portable/CatalogueDay.h"
#include "manager/portable/CatalogueLists.h"
#include "manager/portable/CatalogueNames.h"
#include "manager/portable/IniText.h"
#include "manager/portable/ListingLines.h"

namespace {
const std::string kReport = "PRJ_PC0120261209100000001.jpg";
const std::string kTag = "PRJ_PC0120261209100000001_要確認.tag";

std::string Unix(const std::string& name, const std::string& size = "1234", char kind = '-') {
  return std::string(1, kind) + "rw-r--r--   1 kestro   kestro   " + size + " Dec 09 10:00 " + name;
}
std::string Dos(const std::string& name, const std::string& size = "1234") {
  return "12-09-26  10:00AM                 " + size + " " + name;
}
}  // namespace

TEST(ListingLines, BothLineKinds) {
  ListingLine file = ParseListingLine(Unix("PC01 営業 20261209100000001.jpg") + "\r");
  EXPECT_EQ(file.kind, ListingLineKind::File);
  EXPECT_EQ(file.size, "1234");
  EXPECT_EQ(file.name, "PC01 営業 20261209100000001.jpg");
  EXPECT_EQ(ParseListingLine(Unix("sub", "4096", 'd')).kind, ListingLineKind::Directory);
  EXPECT_EQ(ParseListingLine(Unix("link.jpg", "12", 'l')).name, "link.jpg");
  EXPECT_EQ(ParseListingLine("-rw-r--r-- 1 u g 5").kind, ListingLineKind::Malformed);

  ListingLine dos = ParseListingLine(Dos("PC01  x 20261209100000001.xls.UPD", "99"));
  EXPECT_EQ(dos.kind, ListingLineKind::File);
  EXPECT_EQ(dos.size, "99");
  EXPECT_EQ(dos.name, "PC01  x 20261209100000001.xls.UPD");
  EXPECT_EQ(ParseListingLine("12-09-26  10:00AM       <DIR>          20261209tag").kind,
            ListingLineKind::Directory);
  EXPECT_EQ(ParseListingLine("12-09-26 10:00AM 1234 a.jpg").kind, ListingLineKind::Malformed);
}

TEST(CatalogueNames, OnlySafeReportAndTagNames) {
  EXPECT_TRUE(IsReportFileName(kReport));
  EXPECT_TRUE(IsReportFileName("ソ表 PC20261209100000001.jpg"));  // trail byte 0x5C is no "\"
  for (const char* bad : {"PRJ_PC01\\20261209100000001.jpg", "../PC0120261209100000001.jpg",
                          "C:PC0120261209100000001.jpg", "PC\"0120261209100000001.jpg",
                          "PC\t0120261209100000001.jpg", "PC0120261209100000001", "PCAB2026120910000001.jpg",
                          "20261209100000001.jpg", "PRJ_20261209100000001.jpg", "desktop.ini",
                          "CON.20240101120000001.jpg", "COM1.20240101120000001.xls", "NUL .20240101120000001.jpg"})
    EXPECT_FALSE(IsReportFileName(bad)) << bad;
  EXPECT_TRUE(IsTagFileName(kTag));
  EXPECT_FALSE(IsTagFileName(kTag + ".tmp"));
  // A backup's catalogue file keeps only the sections of report names.
  IniText file("[..\\" + kReport + "]\r\n[" + kReport + "]\r\nREAD=1\r\n[CON.20261209100000002.jpg]\r\n[desktop.ini]\r\n");
  std::vector<SkippedEntry> skipped;
  DropForeignSections(file, "20261209.ini", skipped);
  EXPECT_EQ(file.Text(), "[" + kReport + "]\r\nREAD=1\r\n\r\n");
  ASSERT_EQ(skipped.size(), 3u);
  EXPECT_EQ(skipped[0].text, "20261209.ini [..\\" + kReport + "]");
  EXPECT_TRUE(skipped[1].reason == SkipReason::UnsafeName && skipped[2].reason == SkipReason::NotReport);
}

TEST(CatalogueDay, ListingBecomesEntriesWithStatesTypesAndTags) {
  std::vector<SkippedEntry> skipped;
  std::vector<std::string> lines = {
      Unix(kReport, "2048"),
      "",
      Unix("PRJ_PC0120261209100100002.xls.UPD"),
      Dos("PC0220261209100200003.jpg.CMP", "77"),
      Unix("PC0220261209100300004.jpg.tmp"),
      Unix("PC0220261209100300005.xls.UPD.tmp"),
      Unix("20261209tag", "4096", 'd'),
      "12-09-26  10:00AM       <DIR>          old",
      Unix("notes.txt"),
      Unix("..\\..\\PC0120261209100000009.jpg"),
      Unix("PC0 1 20261209100400006.jpg"),
  };
  std::vector<StoreFile> files = FilesFromListing(lines, skipped);
  ASSERT_EQ(skipped.size(), 2u);
  EXPECT_EQ(skipped[0].reason, SkipReason::Directory);
  EXPECT_EQ(skipped[1].reason, SkipReason::Directory);

  std::vector<std::string> tagLines = {Unix(kTag, "0"), Unix("PRJ_PC0120261209100100002_途中.tag.tmp", "0"),
                                       Unix("PRJ_PC0120261209100100002_古い.txt", "0"),
                                       Dos("PC0220261209100200003_済.tag", "0")};
  std::vector<std::string> tags = TagNamesFromListing(tagLines, skipped);
  EXPECT_EQ(tags, (std::vector<std::string>{kTag, "PC0220261209100200003_済.tag"}));
  EXPECT_EQ(skipped.back().reason, SkipReason::NotTag);

  skipped.clear();
  std::vector<CatalogueEntry> entries = BuildDayEntries(files, tags, false, skipped);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].section, kReport);
  EXPECT_EQ(entries[0].status, "1");
  EXPECT_EQ(entries[0].fileSize, "2048");
  EXPECT_EQ(entries[0].fileType, "JPG");
  EXPECT_EQ(entries[0].comment, "要確認");
  EXPECT_EQ(entries[0].project, "PRJ");
  EXPECT_EQ(entries[0].creator, "PC01");
  EXPECT_EQ(entries[1].section, "PRJ_PC0120261209100100002.xls");
  EXPECT_EQ(entries[1].status, "2");
  EXPECT_EQ(entries[1].fileType, "XLS");
  EXPECT_EQ(entries[1].comment, "");  // its only tag is still being uploaded
  EXPECT_EQ(entries[2].section, "PC0220261209100200003.jpg");
  EXPECT_EQ(entries[2].status, "3");
  EXPECT_EQ(entries[2].fileSize, "77");
  EXPECT_EQ(entries[2].comment, "済");
  EXPECT_EQ(entries[2].creator, "PC02");
  EXPECT_EQ(entries[3].section, "PC0 1 20261209100400006.jpg");
  ASSERT_EQ(skipped.size(), 4u);
  EXPECT_EQ(skipped[0].reason, SkipReason::Upload);
  EXPECT_EQ(skipped[1].reason, SkipReason::Upload);
  EXPECT_EQ(skipped[2].text, "notes.txt");
  EXPECT_EQ(skipped[2].reason, SkipReason::NotReport);
  EXPECT_EQ(skipped[3].reason, SkipReason::UnsafeName);

  // Shared folder: only the extension ".TMP" marks an upload.
  skipped.clear();
  entries = BuildDayEntries({{"PC01.TMP20261209100000001.jpg", "5"}, {"PC0120261209100000002.jpg.TMP", "5"}}, {},
                            true, skipped);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].fileSize, "5");
  EXPECT_EQ(skipped.size(), 1u);
}

TEST(CatalogueDay, RefreshKeepsMarksAndOnlyAnAbsentFolderClearsTheDay) {
  const std::string stored =
      "[" + kReport + "]\r\nSTATUS=1\r\nREAD=1\r\nIMPORTANT=1\r\nFILESIZE=10\r\nFILETYPE=JPG\r\n"
      "COMMENT=要確認\r\nPROJECT=PRJ\r\nOPERATION=PC01\r\nEXTRA=x\r\n\r\n";
  IniText file(stored);
  EXPECT_EQ(file.Text(), stored);

  EXPECT_FALSE(ApplyDayListing(file, FolderListing::Failed, FolderListing::Failed, {}));
  EXPECT_EQ(file.Text(), stored);

  ASSERT_TRUE(ApplyDayListing(file, FolderListing::Absent, FolderListing::Absent, {}));
  EXPECT_EQ(file.Read(kReport, "STATUS"), "0");
  EXPECT_EQ(file.Read(kReport, "read"), "1");
  EXPECT_EQ(file.Read(kReport, "IMPORTANT"), "1");

  CatalogueEntry back{kReport, "2", "20", "JPG", "", "", ""};
  CatalogueEntry added{"PC0220261209110000002.xls", "1", "30", "XLS", "c", "", "PC02"};
  ASSERT_TRUE(ApplyDayListing(file, FolderListing::Ok, FolderListing::Failed, {back, added}));
  EXPECT_EQ(file.Read(kReport, "STATUS"), "2");
  EXPECT_EQ(file.Read(kReport, "FILESIZE"), "20");
  EXPECT_EQ(file.Read(kReport, "COMMENT"), "要確認");  // tag folder unreadable: kept
  EXPECT_EQ(file.Read(kReport, "READ"), "1");
  EXPECT_EQ(file.Read(kReport, "IMPORTANT"), "1");
  EXPECT_EQ(file.Read(kReport, "EXTRA"), "x");
  EXPECT_EQ(file.Sections(), (std::vector<std::string>{kReport, added.section}));
  EXPECT_EQ(file.Text().substr(stored.size() - 2),
            "\r\n[PC0220261209110000002.xls]\r\nSTATUS=1\r\nFILESIZE=30\r\nFILETYPE=XLS\r\nCOMMENT=c\r\n"
            "PROJECT=\r\nOPERATION=PC02\r\n\r\n");

  ASSERT_TRUE(ApplyDayListing(file, FolderListing::Ok, FolderListing::Ok, {back}));
  EXPECT_EQ(file.Read(kReport, "COMMENT"), "");
  EXPECT_EQ(file.Read(added.section, "STATUS"), "0");

  IniText none;
  EXPECT_FALSE(ApplyDayListing(none, FolderListing::Absent, FolderListing::Absent, {}));
}

TEST(CatalogueLists, DaysOfARangeShowNewestFirstWithoutHiddenRows) {
  EXPECT_EQ(DaysOfRange("20261230", "20270102"),
            (std::vector<std::string>{"20261230", "20261231", "20270101", "20270102"}));
  EXPECT_EQ(DaysOfRange("20280228", "20280301").size(), 3u);
  EXPECT_TRUE(DaysOfRange("20261210", "20261209").empty());
  EXPECT_TRUE(DaysOfRange("20261332", "20261401").empty());

  CatalogueLists lists;
  for (const std::string& day : DaysOfRange("20261207", "20261209")) {
    std::string text;
    for (int n = 1; n <= 2; ++n)
      text += "[PC01" + day + "10000" + std::to_string(n) + "00" + std::to_string(n) + ".jpg]\r\nSTATUS=" +
              (n == 2 && day == "20261208" ? "3" : "1") + "\r\nFILETYPE=JPG\r\n";
    text += "[PC01" + day + "120000009.jpg]\r\nSTATUS=0\r\nIMPORTANT=1\r\n";
    if (day == "20261207") text += "[PC01" + day + "130000010.jpg]\r\nSTATUS=2\r\nIMPORTANT=1\r\nREAD=1\r\n";
    std::vector<SkippedEntry> skipped;
    lists.AddDay(day, IniText(text), skipped);
  }
  ASSERT_EQ(lists.Count(), 7u);
  EXPECT_EQ(lists.Cell(kColFileName, 0), "PC0120261209100002002.jpg");
  EXPECT_EQ(lists.Cell(kColFileName, 1), "PC0120261209100001001.jpg");
  EXPECT_EQ(lists.Cell(kColDate, 2), "2026/12/08");
  EXPECT_EQ(lists.Cell(kColCompleted, 2), "完了");
  EXPECT_EQ(lists.Cell(kColTime, 2), "10:00:02");
  const CatalogueLists::Row last = lists.RowAt(4);
  EXPECT_EQ(last[kColFileName], "PC0120261207130000010.jpg");
  EXPECT_EQ(last[kColImportant], "重要");
  EXPECT_EQ(last[kColStatus], "2");
  EXPECT_EQ(last[kColRead], "1");
  EXPECT_EQ(lists.Cell(kColRead, 0), "");
  lists.Erase(0);
  EXPECT_EQ(lists.Count(), 6u);
  EXPECT_EQ(lists.Column(kColFileType).size(), 6u);
}
