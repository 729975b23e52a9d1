#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transfer/portable/FtpCommandState.h"
#include "transfer/portable/FtpLogLine.h"
#include "transfer/portable/FtpOperand.h"
#include "transfer/portable/FtpPasvReply.h"
#include "transfer/portable/FtpReplyAssembler.h"
#include "common/portable/TextLines.h"

using namespace transfer;

namespace {

std::vector<FtpReplyLine> FeedText(FtpReplyAssembler& assembler, const std::string& text) {
  return assembler.Feed(text.data(), text.size());
}

}  // namespace

TEST(ReplyAssembler, JudgesOnlyCompleteRepliesAcrossReads) {
  FtpReplyAssembler assembler;
  EXPECT_TRUE(FeedText(assembler, "21").empty());
  EXPECT_TRUE(assembler.Pending());
  auto lines = FeedText(assembler, "3 1234\r\n227 Entering (1,2");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "213 1234");
  EXPECT_TRUE(lines[0].replyEnd);
  EXPECT_EQ(lines[0].code, 213);
  lines = FeedText(assembler, ",3,4,5,6)\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "227 Entering (1,2,3,4,5,6)");
  EXPECT_FALSE(assembler.Pending());
}

TEST(ReplyAssembler, MultiLineReplyEndsAtItsOwnCodeFollowedByBlank) {
  FtpReplyAssembler assembler;
  auto lines = FeedText(assembler, "230-Welcome\r\n226 inside text\r\n230-more\r\n 230 indented\r\n230 Logged in.\r\n");
  ASSERT_EQ(lines.size(), 5u);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(lines[i].replyEnd) << i;
  EXPECT_TRUE(lines[4].replyEnd);
  EXPECT_EQ(lines[4].code, 230);
  // The next reply stands alone again.
  lines = FeedText(assembler, "250 OK\r\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].replyEnd);
}

TEST(ReplyAssembler, TextWithoutCodeEndsNoReplyAndResetForgetsPartialInput) {
  FtpReplyAssembler assembler;
  auto lines = FeedText(assembler, "hello\r\n22 short\r\n2200 long\r\n");
  ASSERT_EQ(lines.size(), 3u);
  for (auto& line : lines) EXPECT_FALSE(line.replyEnd);
  FeedText(assembler, "220-open\r\n22");
  assembler.Reset();
  lines = FeedText(assembler, "331 next\r\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].replyEnd);
  EXPECT_EQ(lines[0].text, "331 next");
}

TEST(ReplyAssembler, CodesMatchOnlyAtTheStartOfALine) {
  EXPECT_EQ(FtpLineCode("226 Transfer complete"), 226);
  EXPECT_EQ(FtpLineCode("226"), 226);
  EXPECT_EQ(FtpLineCode("150 Opening (226 bytes)"), 150);
  EXPECT_EQ(FtpLineCode("x226 "), -1);
  EXPECT_EQ(FtpLineCode("000 odd"), 0);
  std::vector<std::string> lines{"150 Opening (226 bytes)", "226-still going"};
  EXPECT_FALSE(FtpLinesHoldReply(lines, "226"));
  lines.push_back("226 Done");
  EXPECT_TRUE(FtpLinesHoldReply(lines, "226"));
}

TEST(CommandState, TransferEndWaitsSkipMarksAndFailOnRefusals) {
  for (int state : {kFtpListEnding, kFtpRetrEnding, kFtpStor}) {
    EXPECT_EQ(ControlReplyAction(state, 150), ReplyAction::Keep) << state;
    EXPECT_EQ(ControlReplyAction(state, 226), ReplyAction::Done) << state;
    EXPECT_EQ(ControlReplyAction(state, 426), ReplyAction::Failed) << state;
    EXPECT_EQ(ControlReplyAction(state, 553), ReplyAction::Failed) << state;
  }
  for (int state : {kFtpList, kFtpRetr}) {
    EXPECT_EQ(ControlReplyAction(state, 226), ReplyAction::Keep) << state;
    EXPECT_EQ(ControlReplyAction(state, 550), ReplyAction::Failed) << state;
  }
  EXPECT_EQ(ControlReplyAction(kFtpStorSent, 550), ReplyAction::Keep);
  EXPECT_EQ(ControlReplyAction(kFtpDone, 220), ReplyAction::Keep);
}

TEST(CommandState, CommandRepliesEndTheWaitAndOnly230EndsThePassword) {
  for (int state : {kFtpGreeting, kFtpUser, kFtpPasv, kFtpType, kFtpCwd, kFtpSize, kFtpRnfr, kFtpRnto, kFtpDele,
                    kFtpMkd}) {
    EXPECT_EQ(ControlReplyAction(state, 550), ReplyAction::Done) << state;
  }
  EXPECT_EQ(ControlReplyAction(kFtpPass, 230), ReplyAction::LoggedIn);
  EXPECT_EQ(ControlReplyAction(kFtpPass, 530), ReplyAction::Keep);
}

TEST(CommandState, DataCloseGoesToEndWaitUnless226CameFirst) {
  EXPECT_EQ(StateAfterDataClose(kFtpList, false), kFtpListEnding);
  EXPECT_EQ(StateAfterDataClose(kFtpRetr, false), kFtpListEnding);
  EXPECT_EQ(StateAfterDataClose(kFtpRetrOpening, false), kFtpRetrEnding);
  EXPECT_EQ(StateAfterDataClose(kFtpRetr, true), kFtpDone);
  EXPECT_EQ(StateAfterDataClose(kFtpStor, false), kFtpStor);
  EXPECT_TRUE(DataGoesToFile(kFtpRetrOpening));
  EXPECT_FALSE(DataGoesToFile(kFtpStor));
}

TEST(PasvReply, ParsesSixFieldsIntoAddressAndPort) {
  FtpDataAddress address;
  ASSERT_EQ(ParsePasvReply("227 Entering Passive Mode (127,0,0,12,156,64).", address), PasvParse::Ok);
  EXPECT_EQ(address.ip, "127.0.0.12");
  EXPECT_EQ(address.port, 156 * 256 + 64);
  ASSERT_EQ(ParsePasvReply("227 =( 10, 1, 2, 3, 0, 1 )", address), PasvParse::Ok);
  EXPECT_EQ(address.ip, "10.1.2.3");
  EXPECT_EQ(address.port, 1);
}

TEST(PasvReply, RejectsMalformedRepliesWithoutTouchingTheAddress) {
  FtpDataAddress address{"keep", 7};
  EXPECT_EQ(ParsePasvReply("227 Entering Passive Mode 127,0,0,1,4,1", address), PasvParse::NoParentheses);
  EXPECT_EQ(ParsePasvReply("227 (127,0,0,1,4,1", address), PasvParse::NoParentheses);
  const char* bad[] = {"227 (127,0,0,1,4,1,7)", "227 (127,0,0,1,4)",   "227 (127,0,0,1,300,1)",
                       "227 (127,0,0,1,0,0)",   "227 (127,0,0,1,4,)",  "227 (127,0,a,1,4,1)",
                       "227 )127,0,0,1,4,1(",   "227 (99999999999999999999,0,0,1,4,1)", "227 (-1,0,0,1,4,1)"};
  for (const char* reply : bad) EXPECT_EQ(ParsePasvReply(reply, address), PasvParse::BadFields) << reply;
  EXPECT_EQ(address.ip, "keep");
  EXPECT_EQ(address.port, 7);
}

TEST(LogLine, FormatTrimsAndEndsInCrLf) {
  FtpLogTime time{2026, 1, 2, 3, 4, 5, 6};
  EXPECT_EQ(FormatFtpLogLine(time, "CS1 220 ready\r\n"), "2026/01/02,03:04:05.006,(TmxFTP),CS1 220 ready\r\n");
  EXPECT_EQ(FormatFtpLogLine(time, "CS1 331-a\r\n331 b\r\n"), "2026/01/02,03:04:05.006,(TmxFTP),CS1 331-a\r\n331 b\r\n");
  EXPECT_EQ(FtpLogFileName("C:\\data\\", time), "C:\\data\\syslog\\FTP20260102.txt");
}

TEST(LogLine, CutAt512BytesNeverSplitsADoubleByteCharacter) {
  FtpLogTime time{2026, 12, 31, 23, 59, 59, 999};
  const std::string prefix = "2026/12/31,23:59:59.999,(TmxFTP),";
  std::string longAscii(600, 'x');
  std::string line = FormatFtpLogLine(time, longAscii);
  EXPECT_EQ(line.size(), 514u);
  EXPECT_EQ(line.substr(512), "\r\n");
  // Lead byte 0x82 at offset 511 would be cut from its trail byte.
  std::string message(511 - prefix.size(), 'a');
  message += "\x82\xA0\x82\xA0";
  line = FormatFtpLogLine(time, message);
  EXPECT_EQ(line.size(), 511u + 2);
  EXPECT_EQ(line.substr(0, 511), (prefix + message).substr(0, 511));
  // A trail byte that looks like "\" (0x5C) is not a lead byte.
  EXPECT_EQ(Cp932CutLength("\x95\x5C" "a", 2), 2u);
  EXPECT_EQ(Cp932CutLength("a\x95\x5C", 2), 1u);
}

TEST(Operands, LineBreaksAndNulAreRefusedAndTimeOutMustBeDecimal) {
  EXPECT_TRUE(IsSafeFtpOperand("報告 2026.jpg"));
  EXPECT_FALSE(IsSafeFtpOperand("a\r\nDELE b"));
  EXPECT_FALSE(IsSafeFtpOperand("a\nb"));
  EXPECT_FALSE(IsSafeFtpOperand(std::string("a\0b", 3)));
  unsigned ms = 0;
  EXPECT_TRUE(ParseFtpTimeOut("5000", ms));
  EXPECT_EQ(ms, 5000u);
  for (const char* bad : {"", "5s", "-1", "0", "99999999999", " 5"}) EXPECT_FALSE(ParseFtpTimeOut(bad, ms)) << bad;
}

TEST(TextLines, SplitsAtEveryKindOfLineBreak) {
  EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitTextLines("").empty());
}
