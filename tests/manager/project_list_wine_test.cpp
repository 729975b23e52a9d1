// The project list edit of the real kestroMgr.exe against pyftpdlib and a
// shared folder, with a scripted editor behind the command interpreter.
#include "tests/manager/ManagerRunSupport.h"

#include "client/portable/ProjectList.h"

using namespace mgrtest;

namespace {

constexpr char kEditButton[] = "ﾌﾟﾛｼﾞｪｸﾄﾘｽﾄの編集";
constexpr char kEnded[] = ",(KestroMgr),## プロジェクトリスト参照終了\r\n";
constexpr char kExample[] =
    "プロジェクトリストの例です\r\n自由に書き換えてください\r\n統括本部\r\n企画部\r\n顧客管理部\r\n"
    "サポートセンター\r\nシステム開発部\r\n営業部営業1課\r\n";
constexpr char kInvalidBox[] =
    "ケストロ管理画面\tプロジェク名はファイル名になります。ファイル名に使えない文字が含まれています。\t0\r\n";

class ProjectListTest : public ManagerRun {};

TEST_F(ProjectListTest, AnAbsentListStartsFromTheExampleAndAColonReopensTheEditor) {
  WriteSettings();
  const std::string stored = FtpServerRoot() + "kestro\\projectlist.txt";
  const std::string work = DataFolder() + "Temp\\projectlist.txt";
  const std::string refused = "統括本部\r\n営業:部;1\r\n営業部\r\n";
  const std::string accepted = "統括本部\r\n\r\n営業部1\r\n営業部\r\n";
  WillWrite(1, refused);
  WillWrite(2, accepted);
  HWND report = StartAndLogin();
  ASSERT_NE(report, nullptr) << ReadLog();
  ASSERT_TRUE(Click(report, kEditButton));
  ASSERT_TRUE(WaitForLog(kEnded)) << ReadLog();

  // The editor opened the example, then the same file with the user's edits.
  EXPECT_EQ(Seen(1), kExample);
  EXPECT_EQ(Seen(2), refused);
  EXPECT_FALSE(Ran(3));
  EXPECT_EQ(EditorCommands().substr(0, EditorCommands().find("\r\n")), "\"CMD\" \"/C\" \"" + work + "\"");
  EXPECT_EQ(Boxes(), kInvalidBox);
  // The empty line passes; the list is stored as edited.
  EXPECT_EQ(ReadAll(stored), accepted);
  EXPECT_FALSE(Exists(work));
  const std::string log = ReadLog();
  EXPECT_NE(log.find(",(KestroMgr),なければ生成\r\n"), std::string::npos);
  EXPECT_NE(log.find(",(KestroMgr),ファイルアップロード終了\r\n"), std::string::npos);
  // What the client makes of the stored list.
  EXPECT_EQ(ParseProjectList(ReadAll(stored)), (std::vector<std::string>{"", "統括本部", "", "営業部1", "営業部"}));

  ForceFolder(runDir_ + "doc\\");  // help from a folder with a blank
  WriteBytes(runDir_ + "doc\\hint.html", "help");
  ASSERT_TRUE(Click(report, "ヒント"));
  ASSERT_TRUE(WaitFor([&] { return Ran(3); }, 15000));
  EXPECT_EQ(Seen(3), "help");
}

TEST_F(ProjectListTest, TheSharedFolderListIsEditedInPlaceAndAnUnchangedListIsNeverStored) {
  const std::string store = DataFolder() + "share\\";
  ForceFolder(store);
  WriteSettings(store);
  WriteBytes(store + "projectlist.txt", "第一\r\n\r\n第二\r\n");
  WillWrite(1, "第一\r\n第三\r\n");
  SetEnvironmentVariableA("KESTRO_MSGBOX_LOG", nullptr);  // real boxes: the user edits while one is shown
  HWND report = StartAndLogin();
  ASSERT_NE(report, nullptr) << ReadLog();
  ASSERT_TRUE(Click(report, kEditButton));
  ASSERT_TRUE(WaitForLog(kEnded)) << ReadLog();
  EXPECT_EQ(Seen(1), "第一\r\n\r\n第二\r\n");
  EXPECT_EQ(ReadAll(store + "projectlist.txt"), "第一\r\n第三\r\n");

  // The editor returns at once (it handed the file to its running window):
  // the list is read again after OK in the box, and only an edit is stored.
  auto editable = [&] { return IsWindowEnabled(FindControl(report, "BUTTON", kEditButton)) != FALSE; };
  for (const std::string edit : {"第四\r\n", ""}) {
    DeleteFileA((store + "projectlist.txt").c_str());
    ASSERT_TRUE(WaitFor(editable, 10000));
    ASSERT_TRUE(Click(report, kEditButton));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindWindowA("#32770", "ケストロ管理画面")) != nullptr; }, 30000)) << ReadLog();
    EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), "編集が終わったらOKを押してください。");
    if (!edit.empty()) WriteBytes(DataFolder() + "Temp\\projectlist.txt", edit);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(editable, 30000)) << ReadLog();
    EXPECT_EQ(ReadAll(store + "projectlist.txt"), edit);
  }
  EXPECT_EQ(Seen(2), kExample);
  EXPECT_NE(ReadLog().find("<-変更されていないためアップロードしません"), std::string::npos);
}

}  // namespace
