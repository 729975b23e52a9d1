// Listing lines of both styles and the check of names from the server.
#include <gtest/gtest.h>

#include "updater/portable/DownloadListing.h"

using namespace updater;

TEST(DownloadListing, TheFirstLineDecidesTheStyleOfTheWholeListing) {
  for (const char* unix : {"-rw-r--r-- 1 a b 1 Jan 1 2020 x", "drwx", "lrwx", "d"})
    EXPECT_EQ(ListingStyleOf(unix), ListingStyle::Unix) << unix;
  for (const char* dos : {"01-02-06  10:31AM  12 x", "", "total 3", " -rw"})
    EXPECT_EQ(ListingStyleOf(dos), ListingStyle::Msdos) << dos;
}

TEST(DownloadListing, NamesRunToTheEndOfTheLineAndFoldersAndEmptyLinesAreNoFiles) {
  struct Case {
    const char* line;
    ListingStyle style;
    LineKind kind;
    const char* name;
  };
  const Case cases[] = {
      {"01-02-06  10:31AM               1234 setup.exe", ListingStyle::Msdos, LineKind::File, "setup.exe"},
      {"01-02-06  10:31AM                 12 read  me.txt", ListingStyle::Msdos, LineKind::File, "read  me.txt"},
      {"01-02-06  10:31AM       <DIR>          sub", ListingStyle::Msdos, LineKind::Folder, ""},
      {"", ListingStyle::Msdos, LineKind::Empty, ""},
      {"-rw-r--r--   1 root root    4 Dec 09 01:33 new kestro.exe", ListingStyle::Unix, LineKind::File, "new kestro.exe"},
      {"Drwxr-xr-x   2 root root 4096 Dec 09 01:33 sub", ListingStyle::Unix, LineKind::Folder, ""},
      {"", ListingStyle::Unix, LineKind::Empty, ""},
      {"total   1234", ListingStyle::Unix, LineKind::Total, ""},
      {"total 12 kB", ListingStyle::Unix, LineKind::Refused, ""},  // "total" and one number only
      // A link names its target too, which leaves the folder.
      {"lrwxrwxrwx   1 root root    4 Dec 09 01:33 a -> ../b", ListingStyle::Unix, LineKind::Refused, "a -> ../b"},
      // A UNIX line read in MSDOS style: the name from the 4th field holds a ":".
      {"-rw-r--r-- 1 root root 4 Dec 09 01:33 x.txt", ListingStyle::Msdos, LineKind::Refused, "root 4 Dec 09 01:33 x.txt"},
      {"01-02-06  10:31AM  12 ..\\..\\evil.dll", ListingStyle::Msdos, LineKind::Refused, "..\\..\\evil.dll"},
      {"-rw-r--r-- 1 a b 4 Dec 09 01:33", ListingStyle::Unix, LineKind::Refused, ""},
  };
  for (const Case& c : cases) {
    const ListingLine read = ReadListingLine(c.line, c.style);
    EXPECT_EQ(read.kind, c.kind) << c.line;
    EXPECT_EQ(read.name, c.name) << c.line;
  }
}

TEST(DownloadListing, OnlyPlainFileNamesAndRelativePathsOfThemAreAccepted) {
  // "ソ" and "表" end in byte 0x5C, which is no "\" inside them.
  for (const char* good : {"Kestro.exe", "with blank.txt", "a.b.c", "\x83\x5C\x95\x5C.txt", "CONFIG.SYS", "COM10"})
    EXPECT_TRUE(IsPlainFileName(good)) << good;
  for (const char* bad : {"", ".", "..", "..\\x", "a..b", "sub\\x", "sub/x", "c:x", "C:\\x", "x\\", "a*b", "a?b",
                          "a|b", "a<b", "a>b", "a\"b", "a\tb", "trailing.", "trailing ", "CON", "nul.txt", "Com1",
                          "lpt9.log", "aux .txt"})
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
  for (const char* good : {"sub", "a\\b/\x83\x5C"}) EXPECT_TRUE(IsPlainRelativePath(good)) << good;
  for (const char* p : {"a\\..\\b", "\\a", "/a", "a/", "a//b", "C:\\a", "sub\x95", "sub\x95/x"}) EXPECT_FALSE(IsPlainRelativePath(p));
}
