// A comment on its way into a tag file's name: CR and LF out, forbidden
// characters out, at most 50 characters (not bytes), tag names compared
// without regard to ASCII case.
#include <gtest/gtest.h>

#include "manager/portable/CommentText.h"

TEST(CommentText, AnswerLinesAreCleanedAndCutByCharacters) {
  EXPECT_EQ(DelCrlf("a\r\nb\rc\n"), "abc");
  EXPECT_EQ(CleanAnswerComment("\t  要 確認_済み?  \r\n"), "要確認済み");
  EXPECT_EQ(CleanAnswerComment("_. ?"), "");  // nothing allowed is left
  // 60 double-byte characters keep 50 of them, whole.
  std::string wide;
  for (int i = 0; i < 60; ++i) wide += "\x82\xa0";  // あ
  EXPECT_EQ(CleanAnswerComment(wide), wide.substr(0, 100));
  EXPECT_EQ(CleanAnswerComment(std::string(49, 'a') + "\x82\xa0" + "b"), std::string(49, 'a') + "\x82\xa0");
  // A cell loses its inner line breaks and its colons (they name a tag file).
  EXPECT_EQ(CleanCellComment("12:30\nに確認"), "1230に確認");
}

TEST(CommentText, TagNamesOfAComment) {
  EXPECT_EQ(TagNameFor("PRJ_PC0120061020103100001.jpg", "要確認"), "PRJ_PC0120061020103100001_要確認.tag");
  EXPECT_EQ(TagNameFor("PC0120061020103100001.xls", ""), "PC0120061020103100001_.tag");
  EXPECT_TRUE(SameTagName("PC01_abc.tag", "pc01_ABC.TAG"));
  EXPECT_FALSE(SameTagName("PC01_ａ.tag", "PC01_Ａ.tag"));  // full-width letters differ
}
