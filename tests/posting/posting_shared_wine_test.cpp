// Posting into and fetching from a shared folder (SAVE other than 1).
#include "tests/posting/PostingTestSupport.h"

#include "client/Global.h"
#include "client/SettingsValues.h"

using namespace postingtest;

namespace {

const char* const kReport = kJapaneseReport;
const char* const kTag = kJapaneseTag;

class SharedFolderPosting : public PostingTest {
 protected:
  void SetUp() override {
    PostingTest::SetUp();
    gSettings.SAVE = 0;
    gSettings.FILESAVEPATH = root + "\\shared store\\deep\\";  // missing, with parents
  }
  std::string InStore(const std::string& relative) const { return gSettings.FILESAVEPATH + relative; }
};

TEST_F(SharedFolderPosting, ReportAndTagAreCopiedAndLocalCopiesRemoved) {
  gSettings.SHOW = 0;
  PrepareCapture("営業部", "画面が固まる", "JPEG-F");
  ASSERT_TRUE(poster->fncSendFile(true)) << poster->LastError();
  EXPECT_EQ(ReadBytes(InStore(std::string(kDay) + "\\" + kReport)), "JPEG-F");
  EXPECT_TRUE(Exists(InStore(std::string(kDay) + "tag\\" + kTag)));
  EXPECT_FALSE(Exists(LocalReport(kReport)));
  EXPECT_FALSE(Exists(LocalTag(kTag)));
  EXPECT_EQ(trays, (std::vector<int>{kTrayBusy, kTrayNormal}));

  // An existing copy is replaced; a report without its tag stays local.
  PutLocalReport(kReport, "JPEG-G", "画面が固まる");
  std::string folder = kDay, name = kReport;
  ASSERT_TRUE(poster->fncSendFile(false, folder, name));
  EXPECT_EQ(ReadBytes(InStore(std::string(kDay) + "\\" + kReport)), "JPEG-G");
  PutLocalReport(kReport, "JPEG-I", nullptr);
  EXPECT_FALSE(poster->fncSendFile(false, folder, name));
  EXPECT_EQ(ReadBytes(InStore(std::string(kDay) + "\\" + kReport)), "JPEG-G");
  EXPECT_TRUE(Exists(LocalReport(kReport)));
}

TEST_F(SharedFolderPosting, MissingDriveFailsWithoutSuffixAndKeepsFiles) {
  gSettings.FILESAVEPATH = "Q:\\kestro\\";
  PrepareCapture("営業部", "画面が固まる", "JPEG-H");
  EXPECT_FALSE(poster->fncSendFile(true));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "ポストに失敗しました");
  EXPECT_TRUE(Exists(LocalReport(kReport)));
  EXPECT_TRUE(Exists(LocalTag(kTag)));
  EXPECT_EQ(LastTray(), kTrayError);
}

TEST_F(SharedFolderPosting, MissingLocalReport) {
  std::string folder = kDay, name = "PC0120240501093000009.jpg";
  EXPECT_FALSE(poster->fncSendFile(false, folder, name));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "ファイルが見つかりません");
}

TEST_F(SharedFolderPosting, Fetches) {
  ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  const std::string list = gDataDir + "projectlist.txt";
  WriteBytes(list, "old\r\n");
  EXPECT_TRUE(poster->fncGetProject());  // the store has no list yet
  EXPECT_EQ(ReadBytes(list), "old\r\n");
  EXPECT_NE(TodaysSysLog().find("登録画面,fncGetProject():プロジェクトファイルなし"), std::string::npos);

  CreateDirectoryA((root + "\\shared store").c_str(), nullptr);
  CreateDirectoryA(gSettings.FILESAVEPATH.c_str(), nullptr);
  WriteBytes(InStore("projectlist.txt"), "営業部\r\n");
  WriteBytes(InStore("downloader.ini"), "[DOWNLOADER]\r\n");
  EXPECT_TRUE(poster->fncGetProject());
  EXPECT_EQ(ReadBytes(list), "営業部\r\n");
  EXPECT_TRUE(poster->fncGetDownloder());
  EXPECT_EQ(ReadBytes(gExeDir + "downloader.ini"), "[DOWNLOADER]\r\n");
  EXPECT_FALSE(Exists(gDataDir + "temp\\downloader.ini"));
  EXPECT_EQ(LastTray(), kTrayNormal);
}

}  // namespace
