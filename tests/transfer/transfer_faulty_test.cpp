// Faults of the server, from tests/servers/faulty_ftp.py: every call ends
// with -1 or -9 within its time-out, the message loop keeps running, and a
// fresh login afterwards works.
#include "tests/transfer/FtpTestSupport.h"
#include "transfer/FtpLog.h"

using namespace ftptest;

namespace {

class FaultyServerTest : public FtpServerTest {
 protected:
  void SetUp() override {
    FtpServerTest::SetUp();
    UseScript("normal");
  }
  // The script for the next control connection.
  void UseScript(const std::string& name) { WriteFileBytes(ServerRoot() + "script.txt", name); }

  void ExpectFreshLoginWorks() {
    ftp->FtpDisconnect();
    UseScript("normal");
    ftp->TimeOut = "5000";
    LoginToKestro();
    ftp->path = "kestro";
    EXPECT_EQ(ftp->FtpDir(), 0) << Log();
    WriteFileBytes(local + "after.txt", "after the fault");
    EXPECT_EQ(UploadFrom(local + "after.txt", "after.txt"), 0) << Log();
    EXPECT_EQ(ReadFileBytes(ServerKestro() + "after.txt"), "after the fault");
  }
};

}  // namespace

TEST_F(FaultyServerTest, MultiLineAndSplitRepliesAreJudgedWhenComplete) {
  UseScript("multiline");
  ASSERT_EQ(ftp->FtpLogin(), 0);
  ASSERT_EQ(ftp->ResultStr.size(), 1u);  // after the password: only "230"
  EXPECT_EQ(ftp->ResultStr[0], "230");
  ftp->path = "kestro";
  ASSERT_EQ(ftp->FtpChDir(), 0);
  EXPECT_EQ(ftp->ResultStr.size(), 2u);
  std::string bytes = RandomBytes(300000, 5);
  WriteFileBytes(ServerKestro() + "split.bin", bytes);
  ASSERT_EQ(DownloadTo("split.bin", local + "split.bin"), 0) << Log();
  EXPECT_EQ(ftp->fileSize, std::to_string(bytes.size()));
  EXPECT_EQ(ReadFileBytes(local + "split.bin"), bytes);
  EXPECT_EQ(ftp->DataTargIp, Env("KESTRO_TEST_FTP_HOST"));
}

TEST_F(FaultyServerTest, GreetingWithHyphenFailsAllThreeAttempts) {
  UseScript("greeting_dash");
  EXPECT_EQ(ftp->FtpLogin(), -1);
  EXPECT_EQ(CountOf(Log(), "Login Error at CS1 Not 220"), 3u);
  ExpectFreshLoginWorks();
}

TEST_F(FaultyServerTest, SilentServerEndsEachLoginAttemptByTimeOut) {
  UseScript("silent");
  ftp->TimeOut = "400";
  TickCounter ticks;
  DWORD start = GetTickCount();
  EXPECT_EQ(ftp->FtpLogin(), -9);
  EXPECT_LT(Elapsed(start), 3u * (400 + 500) + 2500);
  EXPECT_EQ(CountOf(Log(), "Login Error at CS1 Connect"), 3u);
  EXPECT_GT(ticks.Ticks(), 10);
  ExpectFreshLoginWorks();
}

TEST_F(FaultyServerTest, ReplyOf150Holding226DoesNotEndTheTransfer) {
  std::string bytes = RandomBytes(200000, 6);
  WriteFileBytes(ServerKestro() + "r.bin", bytes);
  UseScript("retr_150_226");
  LoginToKestro();
  ASSERT_EQ(DownloadTo("r.bin", local + "r.bin"), 0) << Log();
  EXPECT_EQ(ReadFileBytes(local + "r.bin"), bytes);
  EXPECT_TRUE(transfer::FtpLinesHoldReply(ftp->ResultStr, "226"));
  ftp->FtpDisconnect();

  UseScript("stor_150_226");
  LoginToKestro();
  WriteFileBytes(local + "s.bin", bytes);
  DWORD start = GetTickCount();
  ASSERT_EQ(UploadFrom(local + "s.bin", "s.bin"), 0) << Log();
  EXPECT_GE(Elapsed(start), 450u);  // waited for the late 226
  EXPECT_EQ(ReadFileBytes(ServerKestro() + "s.bin"), bytes);
}

TEST_F(FaultyServerTest, DroppedConnectionsDuringADownloadFailWithinTheTimeOut) {
  WriteFileBytes(ServerKestro() + "d.bin", RandomBytes(400000, 7));
  const std::string target = local + "d.bin";
  for (const char* script : {"drop_control", "drop_data", "abort_data"}) {
    SCOPED_TRACE(script);
    UseScript(script);
    LoginToKestro();
    ftp->TimeOut = "1500";
    TickCounter ticks;
    DWORD start = GetTickCount();
    int result = DownloadTo("d.bin", target);
    EXPECT_TRUE(result == -1 || result == -9) << result;
    EXPECT_LT(Elapsed(start), 1500u + 1000);
    EXPECT_FALSE(FileExists(target));
    EXPECT_GT(ticks.Ticks(), 0);
    ftp->FtpDisconnect();
  }
  // A refusal on the control connection ends at once, not by time-out.
  UseScript("abort_data");
  LoginToKestro();
  ftp->TimeOut = "3000";
  DWORD start = GetTickCount();
  EXPECT_EQ(DownloadTo("d.bin", target), -1);
  EXPECT_LT(Elapsed(start), 2000u);
  ExpectFreshLoginWorks();
}

TEST_F(FaultyServerTest, ServerThatStopsReadingAnUploadEndsItByTimeOut) {
  UseScript("stall_upload");
  LoginToKestro();
  ftp->cs2.SendBufferSize = 4096;
  ftp->TimeOut = "1500";
  WriteFileBytes(local + "stall.bin", RandomBytes(24 * 1024 * 1024, 8));
  DWORD start = GetTickCount();
  EXPECT_EQ(UploadFrom(local + "stall.bin", "stall.bin"), -9);
  DWORD elapsed = Elapsed(start);
  EXPECT_GE(elapsed, 1400u);
  EXPECT_LT(elapsed, 1500u * 2 + 2000);
  EXPECT_FALSE(FileExists(ServerKestro() + "stall.bin"));
  ftp->cs2.SendBufferSize = 0;
  ExpectFreshLoginWorks();
}

TEST_F(FaultyServerTest, MalformedPasvRepliesFailTheListing) {
  for (const char* script : {"pasv_noparen", "pasv_seven", "pasv_range", "pasv_port0"}) {
    SCOPED_TRACE(script);
    UseScript(script);
    LoginToKestro();
    ftp->path = "kestro";
    EXPECT_EQ(ftp->FtpDir(), -1);
    EXPECT_EQ(ftp->DataTargPort, "");
    ftp->FtpDisconnect();
  }
  EXPECT_EQ(CountOf(Log(), "DIR error at PASV"), 4u);
  ExpectFreshLoginWorks();
}

TEST_F(FaultyServerTest, DataGoesToTheControlHostWhateverThePasvReplyNames) {
  WriteFileBytes(ServerKestro() + "p.bin", "data");
  UseScript("pasv_elsewhere");
  LoginToKestro();
  ASSERT_EQ(DownloadTo("p.bin", local + "p.bin"), 0) << Log();
  EXPECT_EQ(CountOf(Log(), " ignored, data to " + Env("KESTRO_TEST_FTP_HOST")), 1u) << Log();
}

TEST_F(FaultyServerTest, RefusedConnectionAndBadTimeOutFailWithoutWaiting) {
  ftp->host = "127.0.0.13";  // nobody listens there (tests/servers/servers.cmake)
  DWORD start = GetTickCount();
  EXPECT_EQ(ftp->FtpLogin(), -1);
  EXPECT_LT(Elapsed(start), 3u * 500 + 2000);
  EXPECT_EQ(CountOf(Log(), "Login Error at CS1 Connect"), 3u);
  ftp->host = Env("KESTRO_TEST_FTP_HOST");
  ftp->TimeOut = "5 s";
  EXPECT_EQ(ftp->FtpLogin(), -1);
  EXPECT_NE(Log().find("TimeOut is not a number."), std::string::npos);
  ExpectFreshLoginWorks();
}
