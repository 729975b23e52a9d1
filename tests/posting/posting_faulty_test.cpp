// Posting against the scripted FTP server: it keeps code page 932 names
// (stored as UTF-8 on its disk, so Wine reads them back under the same
// names), and its "stall_upload" script stops reading an upload.
#include "tests/posting/PostingTestSupport.h"

#include "client/Global.h"
#include "client/SettingsValues.h"

using namespace postingtest;

namespace {

const char* const kReport = kJapaneseReport;
const char* const kTag = kJapaneseTag;

class ScriptedServerPosting : public PostingTest {
 protected:
  // The script of the next connections; the file sits beside "kestro".
  void UseScript(const char* script) { WriteBytes(OnServer("..\\script.txt"), script); }
};

TEST_F(ScriptedServerPosting, JapaneseNamesArriveExactly) {
  gSettings.SHOW = 0;
  PrepareCapture("営業部", "画面が固まる", "JPEG-J");
  ASSERT_TRUE(poster->fncSendFile(true)) << poster->LastError();
  EXPECT_EQ(poster->Name(), kReport);
  EXPECT_EQ(ReadBytes(OnServer(std::string(kDay) + "\\" + kReport)), "JPEG-J");
  EXPECT_TRUE(Exists(OnServer(std::string(kDay) + "tag\\" + kTag)));
  EXPECT_FALSE(Exists(LocalReport(kReport)));
  EXPECT_FALSE(Exists(LocalTag(kTag)));
}

TEST_F(ScriptedServerPosting, UploadThatNeverEndsKeepsTheReport) {
  UseScript("stall_upload");
  PrepareCapture("営業部", "画面が固まる", "JPEG-S");
  EXPECT_FALSE(poster->fncSendFile(true));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, std::string("ポストに失敗しました") + kSuffix);
  EXPECT_TRUE(Exists(LocalReport(kReport)));
  EXPECT_TRUE(Exists(LocalTag(kTag)));
  EXPECT_EQ(LastTray(), kTrayError);
  EXPECT_FALSE(Exists(OnServer(std::string(kDay) + "\\" + kReport)));

  UseScript("normal");
  std::string folder = kDay, name = kReport;
  ASSERT_TRUE(poster->fncSendFile(false, folder, name)) << poster->LastError();
  EXPECT_EQ(ReadBytes(OnServer(std::string(kDay) + "\\" + kReport)), "JPEG-S");
  EXPECT_TRUE(Exists(OnServer(std::string(kDay) + "tag\\" + kTag)));
  EXPECT_FALSE(Exists(LocalReport(kReport)));
}

}  // namespace
