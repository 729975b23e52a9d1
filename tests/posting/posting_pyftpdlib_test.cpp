// Posting and fetching against pyftpdlib. pyftpdlib reads names as UTF-8,
// so these reports carry ASCII names; code page 932 names are checked
// against the scripted server (posting_faulty_test.cpp).
#include "tests/posting/PostingTestSupport.h"

#include <cstdlib>

#include "client/Global.h"
#include "client/SettingsValues.h"

using namespace postingtest;

namespace {

const char kReport[] = "SALES_PC0120240501093000001.jpg";
const char kTag[] = "SALES_PC0120240501093000001_Freeze.tag";
const char kNoServer[] = "127.0.0.13";  // kept free of servers: connections are refused

class PyftpdlibPosting : public PostingTest {};

TEST_F(PyftpdlibPosting, SaveFirstPostsReportAndTagUnderTheirExactNames) {
  gSettings.SHOW = 0;
  PrepareCapture("SALES", "Freeze", "JPEG-1");
  ASSERT_TRUE(poster->fncSendFile(true));
  EXPECT_EQ(poster->Folder(), kDay);
  EXPECT_EQ(poster->Name(), kReport);
  EXPECT_EQ(ReadBytes(OnServer(std::string(kDay) + "\\" + kReport)), "JPEG-1");
  EXPECT_TRUE(Exists(OnServer(std::string(kDay) + "tag\\" + kTag)));
  EXPECT_EQ(ReadBytes(OnServer(std::string(kDay) + "tag\\" + kTag)), "");
  EXPECT_FALSE(Exists(OnServer(std::string(kDay) + "\\" + kReport + ".tmp")));
  EXPECT_FALSE(Exists(LocalReport(kReport)));
  EXPECT_FALSE(Exists(LocalTag(kTag)));
  EXPECT_TRUE(poster->savedOrPosted);
  EXPECT_EQ(trays, (std::vector<int>{kTrayBusy, kTrayNormal}));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PyftpdlibPosting, ExistingFoldersPostButAReportWithoutItsTagStaysLocal) {
  PutLocalReport("PC0120240501100000002.jpg", "first", "One");
  std::string folder = kDay, name = "PC0120240501100000002.jpg";
  ASSERT_TRUE(poster->fncSendFile(false, folder, name));
  // Day and tag folders exist now; a re-post of the same name replaces the server copy.
  PutLocalReport(name, "first, again", "One");
  ASSERT_TRUE(poster->fncSendFile(false, folder, name)) << poster->LastError();
  EXPECT_EQ(ReadBytes(OnServer(std::string(kDay) + "\\PC0120240501100000002.jpg")), "first, again");
  EXPECT_TRUE(boxes.empty());

  // The title lives only in the tag's name: a report without one is not posted.
  PutLocalReport("PC0120240501100000003.jpg", "second", nullptr);
  name = "PC0120240501100000003.jpg";
  EXPECT_FALSE(poster->fncSendFile(false, folder, name));
  EXPECT_EQ(poster->LastOutcome(), PostOutcome::SavedOnly);
  EXPECT_FALSE(Exists(OnServer(std::string(kDay) + "\\PC0120240501100000003.jpg")));
  EXPECT_TRUE(Exists(LocalReport(name)));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "タグファイルが見つかりません");
  EXPECT_EQ(LastTray(), kTrayError);
}

TEST_F(PyftpdlibPosting, StoreDownKeepsTheReportUntilARepostSucceeds) {
  gSettings.SERVER = kNoServer;
  PrepareCapture("SALES", "Freeze", "JPEG-2");
  EXPECT_FALSE(poster->fncSendFile(true));
  EXPECT_TRUE(Exists(LocalReport(kReport)));
  EXPECT_TRUE(Exists(LocalTag(kTag)));
  EXPECT_TRUE(poster->savedOrPosted);  // saved, shown in the list of unposted reports
  EXPECT_EQ(LastTray(), kTrayError);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, std::string("FTPサーバにログインできません") + kSuffix);
  EXPECT_EQ(boxes[0].caption, "Kestro");
  EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK | MB_TOPMOST));

  // From the list: no suffix.
  std::string folder = kDay, name = kReport;
  EXPECT_FALSE(poster->fncSendFile(false, folder, name));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, "FTPサーバにログインできません");

  // The server is back.
  gSettings.SERVER = std::getenv("KESTRO_TEST_FTP_HOST");
  ASSERT_TRUE(poster->fncSendFile(false, folder, name)) << poster->LastError();
  EXPECT_EQ(ReadBytes(OnServer(std::string(kDay) + "\\" + kReport)), "JPEG-2");
  EXPECT_TRUE(Exists(OnServer(std::string(kDay) + "tag\\" + kTag)));
  EXPECT_FALSE(Exists(LocalReport(kReport)));
  EXPECT_FALSE(Exists(LocalTag(kTag)));
  EXPECT_EQ(LastTray(), kTrayNormal);
}

TEST_F(PyftpdlibPosting, SaveFirstWithoutTheFormShowsNoBox) {
  gSettings.SHOW = 0;
  gSettings.SERVER = kNoServer;
  PrepareCapture("SALES", "Freeze", "JPEG-3");
  EXPECT_FALSE(poster->fncSendFile(true));
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(LastTray(), kTrayError);
  EXPECT_EQ(poster->LastError(), std::string("FTPサーバにログインできません") + kSuffix);
  EXPECT_TRUE(Exists(LocalReport(kReport)));
  EXPECT_TRUE(Exists(LocalTag(kTag)));
}

TEST_F(PyftpdlibPosting, RefusedLoginKeepsTheReport) {
  gSettings.PASSWD = "wrong";
  PrepareCapture("SALES", "Freeze", "JPEG-4");
  EXPECT_FALSE(poster->fncSendFile(true));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, std::string("FTPサーバにログインできません") + kSuffix);
  EXPECT_TRUE(Exists(LocalReport(kReport)));
  EXPECT_TRUE(Exists(LocalTag(kTag)));
  EXPECT_EQ(LastTray(), kTrayError);
}

TEST_F(PyftpdlibPosting, FailedTagUploadIsAFailedPost) {
  PutLocalReport(kReport, "JPEG-5", "Freeze");
  // A folder in the tag file's place: the upload's final rename is refused.
  ASSERT_TRUE(CreateDirectoryA(ServerKestro().c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  CreateDirectoryA(OnServer(std::string(kDay) + "tag").c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryA(OnServer(std::string(kDay) + "tag\\" + kTag).c_str(), nullptr));
  std::string folder = kDay, name = kReport;
  EXPECT_FALSE(poster->fncSendFile(false, folder, name));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "ポストに失敗しました");
  EXPECT_TRUE(Exists(LocalReport(kReport)));
  EXPECT_TRUE(Exists(LocalTag(kTag)));
  EXPECT_EQ(LastTray(), kTrayError);

  RemoveDirectoryA(OnServer(std::string(kDay) + "tag\\" + kTag).c_str());
  ASSERT_TRUE(poster->fncSendFile(false, folder, name)) << poster->LastError();
  EXPECT_TRUE(Exists(OnServer(std::string(kDay) + "tag\\" + kTag)));
  EXPECT_FALSE(Exists(LocalTag(kTag)));
}

TEST_F(PyftpdlibPosting, ProjectListFetch) {
  const std::string local = gDataDir + "projectlist.txt";
  WriteBytes(local, "old\r\n");
  // None on the store: the local list stays.
  EXPECT_TRUE(poster->fncGetProject());
  EXPECT_EQ(ReadBytes(local), "old\r\n");
  WriteBytes(OnServer("projectlist.txt"), "SALES\r\nDEV\r\n");
  EXPECT_TRUE(poster->fncGetProject());
  EXPECT_EQ(ReadBytes(local), "SALES\r\nDEV\r\n");
  EXPECT_EQ(trays, (std::vector<int>{kTrayBusy, kTrayNormal, kTrayBusy, kTrayNormal}));

  gSettings.SERVER = kNoServer;
  EXPECT_FALSE(poster->fncGetProject());
  EXPECT_EQ(LastTray(), kTrayError);
  EXPECT_EQ(ReadBytes(local), "SALES\r\nDEV\r\n");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PyftpdlibPosting, UpdaterSettingsFetch) {
  const std::string installed = gExeDir + "downloader.ini";
  const std::string temporary = gDataDir + "temp\\downloader.ini";
  WriteBytes(installed, "[DOWNLOADER]\r\nPROJECT=old\r\n");
  EXPECT_TRUE(poster->fncGetDownloder());
  EXPECT_EQ(ReadBytes(installed), "[DOWNLOADER]\r\nPROJECT=old\r\n");

  WriteBytes(OnServer("downloader.ini"), "[DOWNLOADER]\r\nSUBDIR=x\r\n");
  EXPECT_TRUE(poster->fncGetDownloder());
  EXPECT_EQ(ReadBytes(installed), "[DOWNLOADER]\r\nSUBDIR=x\r\n");
  EXPECT_FALSE(Exists(temporary));

  // The program folder refuses the copy.
  gExeDir = root + "\\missing\\";
  EXPECT_FALSE(poster->fncGetDownloder());
  EXPECT_EQ(LastTray(), kTrayError);
  EXPECT_FALSE(Exists(temporary));
}

}  // namespace
