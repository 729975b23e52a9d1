// The registration form's text rules: memo line limits, memo lines, the
// field checks and the title's typing limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/portable/RegistrationText.h"

TEST(RegistrationLines, LineFeedsAreCounted) {
  EXPECT_EQ(fncLineCount(""), 0);
  EXPECT_EQ(fncLineCount("一行"), 0);
  EXPECT_EQ(fncLineCount("a\r\nb\r\n"), 2);
}

TEST(RegistrationLines, ExtraLinesJoinTheLastAllowedLine) {
  // A third line typed into the details memo stays on line two.
  EXPECT_EQ(fncLimitLines("a\r\nb\r\nc", kDetailLines), "a\r\nbc");
  EXPECT_EQ(fncLimitLines("a\r\nb\r\n", kDetailLines), "a\r\nb");
  EXPECT_EQ(fncLimitLines("詳細\r\n二行目\r\n三\r\n四", kDetailLines), "詳細\r\n二行目三四");
  // The operation memo takes three lines.
  EXPECT_EQ(fncLimitLines("a\r\nb\r\nc", kOperationLines), "a\r\nb\r\nc");
  EXPECT_EQ(fncLimitLines("a\r\nb\r\nc\r\nd\r\ne", kOperationLines), "a\r\nb\r\ncde");
  // Within the limit, and for a limit below one, nothing changes.
  EXPECT_EQ(fncLimitLines("a\r\nb", kDetailLines), "a\r\nb");
  EXPECT_EQ(fncLimitLines("a\r\nb", 0), "a\r\nb");
}

TEST(RegistrationLines, MemoTextSplitsIntoLines) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(MemoLines(""), Lines{});
  EXPECT_EQ(MemoLines("a\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(MemoLines("a\r\n"), Lines{"a"});
  EXPECT_EQ(MemoLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(MemoLines("\r\n"), Lines{""});
  EXPECT_EQ(MemoLines("a\nb\rc"), (Lines{"a", "b", "c"}));
}

TEST(RegistrationChecks, ProjectFirstThenTerminalName) {
  EXPECT_EQ(CheckRegistrationFields("", "PC01"), "");
  EXPECT_EQ(CheckRegistrationFields("営業部", "端末01"), "");
  EXPECT_EQ(CheckRegistrationFields("営業_部", "PC01"), kProjectNameError);
  EXPECT_EQ(CheckRegistrationFields("営業_部", ""), kProjectNameError);  // the project is checked first
  EXPECT_EQ(CheckRegistrationFields("", ""), kTerminalEmptyError);
  EXPECT_EQ(CheckRegistrationFields("", "   "), kTerminalEmptyError);
  EXPECT_EQ(CheckRegistrationFields("", "\t "), kTerminalEmptyError);
  EXPECT_EQ(CheckRegistrationFields("", "PC 01"), kTerminalNameError);
  EXPECT_EQ(CheckRegistrationFields("", " PC01"), kTerminalNameError);  // trimmed only for the emptiness test
  EXPECT_EQ(CheckRegistrationFields("", "PC.01"), kTerminalNameError);
  // Second bytes 0x5C of double-byte characters are no backslashes.
  EXPECT_EQ(CheckRegistrationFields("表示", "ソフト"), "");
}

TEST(RegistrationChecks, MessagesAreTheFormsOwn) {
  EXPECT_EQ(std::string(kProjectNameError),
            "プロジェク名はファイル名になります\r\nファイル名に使えない文字が含まれています");
  EXPECT_EQ(std::string(kTerminalEmptyError), "端末名を入力してください");
}

TEST(RegistrationTitle, TypingStopsAtFiftyCharactersButBackspaceWorks) {
  std::string title(49, 'a');
  EXPECT_TRUE(TitleTakesKey(title, 'b'));
  title += 'a';
  EXPECT_FALSE(TitleTakesKey(title, 'b'));
  EXPECT_FALSE(TitleTakesKey(title, 0x82));  // the first byte of a double-byte character
  EXPECT_TRUE(TitleTakesKey(title, '\b'));

  std::string wide;
  for (int i = 0; i < 49; ++i) wide += "表";
  EXPECT_EQ(Cp932CharCount(wide), 49u);
  EXPECT_TRUE(TitleTakesKey(wide, 'x'));
  wide += "表";
  EXPECT_FALSE(TitleTakesKey(wide, 'x'));
  EXPECT_TRUE(TitleTakesKey(wide, '\b'));
}

TEST(RegistrationTitle, ACommittedCompositionIsCutToWhatFitsInFiftyCharacters) {
  std::string title;
  for (int i = 0; i < 47; ++i) title += "表";
  EXPECT_EQ(TitleImeFit(title, "あい"), "あい");
  EXPECT_EQ(TitleImeFit(title, "ソあいう"), "ソあい");  // three characters, trail byte 0x5C included
  EXPECT_EQ(TitleImeFit(title + "aaa", "あい"), "");
  EXPECT_EQ(TitleImeFit("", std::string(60, 'x')), std::string(50, 'x'));
}
