// Cases that need a server with a real password check: pyftpdlib.
#include "tests/transfer/FtpTestSupport.h"
#include "transfer/FtpLog.h"

using namespace ftptest;

TEST_F(FtpServerTest, WrongPasswordEndsEachOfThreeAttemptsByTimeOut) {
  ftp->passwd = "wrong";
  ftp->TimeOut = "600";
  TickCounter ticks;
  DWORD start = GetTickCount();
  EXPECT_EQ(ftp->FtpLogin(), -9);
  DWORD elapsed = Elapsed(start);
  EXPECT_GE(elapsed, 3u * (600 + 500) - 100);
  EXPECT_LT(elapsed, 3u * (600 + 500) + 3000);
  std::string log = Log();
  EXPECT_EQ(CountOf(log, "Login Error at PASS"), 3u);
  EXPECT_EQ(CountOf(log, "FTP path timeout!"), 3u);
  EXPECT_EQ(CountOf(log, "FTP path CS1 disconnected!"), 3u);  // each failed attempt closes the connection
  EXPECT_EQ(TTmxFtp::ftpLoggedIn, 0);
  EXPECT_GT(ticks.Ticks(), 20);  // the message loop ran during the waits
  ftp->passwd = Env("KESTRO_TEST_FTP_PASS");
  EXPECT_EQ(ftp->FtpLogin(), 0);
  ASSERT_EQ(ftp->ResultStr.size(), 1u);
  EXPECT_EQ(ftp->ResultStr[0], "230");
}

TEST_F(FtpServerTest, ManagerVariantLogsTheUploadAddressAndNoDataReceivedLines) {
  ftpVariant = transfer::FtpVariant::Manager;
  LoginToKestro();
  WriteFileBytes(local + "m.jpg", "manager");
  EXPECT_EQ(UploadFrom(local + "m.jpg", "m.jpg"), 0);
  ftpVariant = transfer::FtpVariant::Client;
  std::string log = Log();
  EXPECT_EQ(log.find("FTP path DataReceived!"), std::string::npos);
  EXPECT_NE(log.find("CS2 prepare ConnectionInformation complete."), std::string::npos);
  EXPECT_NE(log.find("TargIP is " + Env("KESTRO_TEST_FTP_HOST")), std::string::npos);
  EXPECT_EQ(ReadFileBytes(ServerKestro() + "m.jpg"), "manager");
}

TEST_F(FtpServerTest, DisconnectDuringADownloadCancelsItAndRemovesThePartialFile) {
  LoginToKestro();
  WriteFileBytes(ServerKestro() + "large.bin", RandomBytes(8 * 1024 * 1024, 4));
  forms::Timer canceller;
  canceller.SetInterval(5);
  canceller.OnTimer = [&] {
    if (TTmxFtp::ftpState == 10) {
      canceller.SetEnabled(false);
      ftp->FtpDisconnect();
    }
  };
  canceller.SetEnabled(true);
  const std::string target = local + "large.bin";
  EXPECT_EQ(DownloadTo("large.bin", target), -1);
  canceller.SetEnabled(false);
  EXPECT_FALSE(FileExists(target));
  EXPECT_NE(Log().find("Disconnect at command progress."), std::string::npos);
  // A fresh login works.
  LoginToKestro();
  ASSERT_EQ(DownloadTo("large.bin", target), 0);
  EXPECT_EQ(ReadFileBytes(target).size(), 8u * 1024 * 1024);
}

TEST_F(FtpServerTest, DownloadLongerThanTheTimeOutFailsWhileDataStillFlows) {
  LoginToKestro();
  WriteFileBytes(ServerKestro() + "slow.bin", RandomBytes(32 * 1024 * 1024, 9));
  ftp->TimeOut = "150";
  const std::string target = local + "slow.bin";
  EXPECT_EQ(DownloadTo("slow.bin", target), -9);
  EXPECT_FALSE(FileExists(target));
  EXPECT_NE(Log().find("Download error at RETR"), std::string::npos);
}
