// A server that cuts the connection during the tag file's upload
// (tag_drop_ftp.py): the report is on the server, but without its tag the
// title is lost, so the post fails and nothing local is deleted.
#include "tests/posting/PostingTestSupport.h"

#include "client/Global.h"
#include "client/SettingsValues.h"

using namespace postingtest;

namespace {

const char* const kReport = kJapaneseReport;
const char* const kTag = kJapaneseTag;

class TagDropPosting : public PostingTest {
 protected:
  // While it exists the server cuts tag uploads.
  std::string DropSwitch() const { return OnServer("..\\drop_tag.txt"); }
};

TEST_F(TagDropPosting, DroppedTagUploadFailsThePostAndKeepsEverything) {
  WriteBytes(DropSwitch(), "");
  PrepareCapture("営業部", "画面が固まる", "JPEG-D");
  EXPECT_FALSE(poster->fncSendFile(true));
  EXPECT_TRUE(Exists(OnServer(std::string(kDay) + "\\" + kReport)));
  EXPECT_FALSE(Exists(OnServer(std::string(kDay) + "tag\\" + kTag)));
  EXPECT_TRUE(Exists(LocalReport(kReport)));
  EXPECT_TRUE(Exists(LocalTag(kTag)));
  EXPECT_EQ(LastTray(), kTrayError);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, std::string("ポストに失敗しました") + kSuffix);

  // The connection is back: the re-post from the list completes the report.
  DeleteFileA(DropSwitch().c_str());
  std::string folder = kDay, name = kReport;
  ASSERT_TRUE(poster->fncSendFile(false, folder, name)) << poster->LastError();
  EXPECT_TRUE(Exists(OnServer(std::string(kDay) + "tag\\" + kTag)));
  EXPECT_FALSE(Exists(LocalReport(kReport)));
  EXPECT_FALSE(Exists(LocalTag(kTag)));
  EXPECT_EQ(LastTray(), kTrayNormal);
}

}  // namespace
