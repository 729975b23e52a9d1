// Login, listing, download, upload, rename and delete against a real server
// (built once for pyftpdlib and once for vsftpd).
#include <algorithm>

#include "tests/transfer/FtpTestSupport.h"
#include "forms/Application.h"
#include "transfer/FtpLog.h"

using namespace ftptest;

namespace {

bool ListingHas(const std::vector<std::string>& lines, const std::string& name) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.size() > name.size() && line.compare(line.size() - name.size(), name.size(), name) == 0 &&
           line[line.size() - name.size() - 1] == ' ';
  });
}

}  // namespace

TEST_F(FtpServerTest, LoginListUploadReplaceDownloadRenameDelete) {
  LoginToKestro();
  EXPECT_EQ(ftp->FtpLogin(), 0);  // already logged in: no second login
  EXPECT_EQ(CountOf(Log(), "Login Start"), 1u);

  ftp->path = "kestro";
  ASSERT_EQ(ftp->FtpDir(), 0) << Log();
  EXPECT_TRUE(ftp->Memo2.empty());

  const std::string first = local + "report.jpg";
  WriteFileBytes(first, RandomBytes(70000, 1));
  ASSERT_EQ(UploadFrom(first, "report.jpg"), 0) << Log();
  EXPECT_EQ(ReadFileBytes(ServerKestro() + "report.jpg"), ReadFileBytes(first));
  EXPECT_FALSE(FileExists(ServerKestro() + "report.jpg.tmp"));
  EXPECT_EQ(CountOf(Log(), "Delete error at DELE not 250.if new file,Maybe OK"), 1u);

  // Over an existing file: replaced.
  WriteFileBytes(first, RandomBytes(5000, 2));
  ASSERT_EQ(UploadFrom(first, "report.jpg"), 0) << Log();
  EXPECT_EQ(ReadFileBytes(ServerKestro() + "report.jpg"), ReadFileBytes(first));
  EXPECT_EQ(CountOf(Log(), "Delete error at DELE not 250.if new file,Maybe OK"), 1u);

  ASSERT_EQ(ftp->FtpDir(), 0);
  EXPECT_TRUE(ListingHas(ftp->Memo2, "report.jpg")) << ftp->Memo2.size();

  const std::string fetched = local + "fetched\\sub\\report.jpg";
  ASSERT_EQ(DownloadTo("report.jpg", fetched), 0) << Log();
  EXPECT_EQ(ReadFileBytes(fetched), ReadFileBytes(first));
  EXPECT_EQ(ftp->fileSize, "5000");
  EXPECT_EQ(ftp->getSize, "0");

  ftp->filename = "report.jpg";
  ftp->fileNameTo = "report.jpg.UPD";
  ASSERT_EQ(ftp->FtpRename(), 0) << Log();
  EXPECT_TRUE(FileExists(ServerKestro() + "report.jpg.UPD"));
  ftp->filename = "report.jpg";
  EXPECT_EQ(ftp->FtpRename(), -1);
  EXPECT_NE(Log().find("Rename error at RNFR not 350"), std::string::npos);

  ftp->filename = "report.jpg.UPD";
  ASSERT_EQ(ftp->FtpDelete(), 0);
  EXPECT_FALSE(FileExists(ServerKestro() + "report.jpg.UPD"));
  EXPECT_EQ(ftp->FtpDelete(), -1);

  ftp->path = "20260102";
  EXPECT_EQ(ftp->FtpMkDir(), 0);
  EXPECT_EQ(ftp->FtpMkDir(), -1);  // exists already
  ftp->path = "/kestro/20260102";
  EXPECT_EQ(ftp->FtpChDir(), 0);
  ftp->path = "missing";
  EXPECT_EQ(ftp->FtpChDir(), -1);
  EXPECT_EQ(ftp->ResultStr.size(), 1u);
  EXPECT_EQ(ftp->ResultStr[0].substr(0, 3), "550");

  ftp->FtpDisconnect();
  EXPECT_EQ(TTmxFtp::ftpLoggedIn, 0);
  EXPECT_EQ(ftp->FtpDir(), -1);
}

TEST_F(FtpServerTest, BinaryRoundTripOverOneMegabyteWithSmallSendBuffer) {
  LoginToKestro();
  ftp->cs2.SendBufferSize = 8192;
  std::string bytes = RandomBytes(1536 * 1024 + 123, 3);
  // Bytes that a text mode would change.
  bytes.replace(1000, 6, "\r\n\n\r\0\x1A", 6);
  const std::string source = local + "big.bin";
  WriteFileBytes(source, bytes);
  TickCounter ticks;
  ASSERT_EQ(UploadFrom(source, "big.bin"), 0) << Log();
  ASSERT_EQ(ReadFileBytes(ServerKestro() + "big.bin"), bytes);
  const std::string back = local + "big.back";
  ASSERT_EQ(DownloadTo("big.bin", back), 0) << Log();
  EXPECT_EQ(ReadFileBytes(back), bytes);
  EXPECT_EQ(ftp->fileSize, std::to_string(bytes.size()));
  EXPECT_GT(ticks.Ticks(), 0);
}

TEST_F(FtpServerTest, FailedDownloadsKeepOrRemoveTheLocalFileAsDocumented) {
  LoginToKestro();
  const std::string target = local + "keep.jpg";
  WriteFileBytes(target, "local copy");
  // SIZE answered 550: nothing is touched.
  EXPECT_EQ(DownloadTo("missing.jpg", target), -1);
  EXPECT_EQ(ReadFileBytes(target), "local copy");
  EXPECT_NE(Log().find("Download error at SIZE not 213"), std::string::npos);
  // Missing operands and a local source that does not exist.
  EXPECT_EQ(DownloadTo("", target), -1);
  EXPECT_EQ(UploadFrom(local + "vanished.jpg", "report.jpg"), -1);
  EXPECT_NE(Log().find("Upload error at first.3"), std::string::npos);
  EXPECT_FALSE(FileExists(ServerKestro() + "report.jpg"));
  EXPECT_FALSE(FileExists(ServerKestro() + "report.jpg.tmp"));
}

TEST_F(FtpServerTest, OperandsWithLineBreaksAreRefusedAndNeverSent) {
  LoginToKestro();
  WriteFileBytes(ServerKestro() + "victim.jpg", "x");
  ftp->filename = "nothing\r\nDELE victim.jpg";
  EXPECT_EQ(ftp->FtpDelete(), -1);
  ftp->filename = std::string("victim.jpg\0", 11);
  EXPECT_EQ(ftp->FtpDelete(), -1);
  ftp->filename = "victim.jpg";
  ftp->fileNameTo = "b\nDELE victim.jpg";
  EXPECT_EQ(ftp->FtpRename(), -1);
  ftp->path = "x\rMKD evil";
  EXPECT_EQ(ftp->FtpMkDir(), -1);
  EXPECT_TRUE(FileExists(ServerKestro() + "victim.jpg"));
  EXPECT_FALSE(FileExists(ServerKestro() + "evil"));
  EXPECT_EQ(CountOf(Log(), "operand holds CR, LF or NUL; nothing sent."), 4u);
  // The session is still usable.
  ftp->filename = "victim.jpg";
  EXPECT_EQ(ftp->FtpDelete(), 0);
}

TEST_F(FtpServerTest, EveryStepGoesToTheDailyLogWithTheTmxFtpTag) {
  LoginToKestro();
  ftp->FtpDisconnect();
  EXPECT_EQ(TTmxFtp::ftpState, 0);
  TickCounter ticks;
  while (ticks.Ticks() < 5) {  // a late socket event would log it again
    Sleep(1);
    forms::Application::Instance().ProcessMessages();
  }
  std::string log = Log();
  // Our own close of the control connection is logged once, between the
  // disconnect's first and last lines.
  EXPECT_EQ(CountOf(log, "FTP path CS1 disconnected!"), 1u);
  size_t start = log.find(",(TmxFTP),Disconnect start.\r\n");
  ASSERT_NE(start, std::string::npos);
  size_t closed = log.find(",(TmxFTP),FTP path CS1 disconnected!\r\n", start);
  EXPECT_NE(closed, std::string::npos);
  EXPECT_LT(closed, log.find(",(TmxFTP),Disconnect end.\r\n", start));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
  EXPECT_NE(log.find(",(TmxFTP),Login Start\r\n"), std::string::npos);
  EXPECT_NE(log.find(",(TmxFTP),FTP path DataReceived!\r\n"), std::string::npos);
  EXPECT_NE(log.find(",(TmxFTP),CS1 220"), std::string::npos);
  EXPECT_NE(log.find(",(TmxFTP),Login Complete\r\n"), std::string::npos);
  EXPECT_NE(log.find(",(TmxFTP),CHDIR start ->kestro\r\n"), std::string::npos);
  EXPECT_NE(log.find(",(TmxFTP),Disconnect end.\r\n"), std::string::npos);
  // yyyy/mm/dd,hh:nn:ss.zzz at the start of the first line.
  ASSERT_GT(log.size(), 24u);
  EXPECT_EQ(log[4], '/');
  EXPECT_EQ(log[10], ',');
  EXPECT_EQ(log[19], '.');
  EXPECT_EQ(log[23], ',');
}
