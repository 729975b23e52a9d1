// The project list edit and the catalogue restore of the real kestroMgr.exe
// against the scripted fault server: a fetch that fails or times out never
// puts the example list over the real one, a failed store keeps the edit,
// a failed restore keeps the catalogue file.
#include "tests/manager/ManagerRunSupport.h"

using namespace mgrtest;

namespace {

constexpr char kEditButton[] = "ﾌﾟﾛｼﾞｪｸﾄﾘｽﾄの編集";
constexpr char kRealList[] = "本物の部署\r\n営業部\r\n";
constexpr char kReferFailed[] = "ケストロ管理画面\tプロジェクトリスト参照に失敗しました。\t0\r\n";

class StoreFaultTest : public ManagerRun {
 protected:
  void Script(const std::string& name) { WriteBytes(FtpServerRoot() + "script.txt", name); }
  std::string Stored() const { return ReadAll(FtpServerRoot() + "kestro\\projectlist.txt"); }
};

TEST_F(StoreFaultTest, AFailedOrTimedOutFetchLeavesTheStoresListAlone) {
  WriteSettings();
  WriteBytes(FtpServerRoot() + "kestro\\projectlist.txt", kRealList);
  HWND report = StartAndLogin();
  ASSERT_NE(report, nullptr) << ReadLog();

  // The data connection breaks off halfway: the file is there but not fetched.
  Script("drop_data");
  ASSERT_TRUE(Click(report, kEditButton));
  ASSERT_TRUE(WaitForBox(kReferFailed)) << ReadLog();
  EXPECT_FALSE(Ran(1));
  EXPECT_EQ(Stored(), kRealList);
  EXPECT_FALSE(Exists(DataFolder() + "Temp\\projectlist.txt"));
  EXPECT_NE(ReadLog().find(",(KestroMgr),ファイル取得失敗\r\n"), std::string::npos);  // listed, not fetched

  // A server that never answers: the login times out, and so does the check.
  Script("silent");
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(FindControl(report, "BUTTON", kEditButton)) != FALSE; }, 10000));
  DeleteFileA(boxLog_.c_str());
  ASSERT_TRUE(Click(report, kEditButton));
  ASSERT_TRUE(WaitForBox(kReferFailed, 90000)) << ReadLog();
  EXPECT_NE(Boxes().find("接続できませんでした。"), std::string::npos);
  EXPECT_FALSE(Ran(1));
  Script("normal");
  EXPECT_EQ(Stored(), kRealList);
  EXPECT_EQ(ReadLog().find("なければ生成"), std::string::npos);
}

TEST_F(StoreFaultTest, AFailedStoreKeepsTheEditedFileAndTheStoresList) {
  WriteSettings();
  Script("normal");
  WriteBytes(FtpServerRoot() + "kestro\\projectlist.txt", kRealList);
  WillWrite(1, "新しい部署\r\n");
  WillSetScript(1, "stall_upload");  // the upload after the edit never completes
  HWND report = StartAndLogin();
  ASSERT_NE(report, nullptr) << ReadLog();
  ASSERT_TRUE(Click(report, kEditButton));
  const std::string work = DataFolder() + "Temp\\projectlist.txt";
  ASSERT_TRUE(WaitForBox("ケストロ管理画面\t" + work + "\r\n<-ファイルのアップロードに失敗しました。\t0\r\n", 90000))
      << ReadLog() << Boxes();
  EXPECT_EQ(Seen(1), kRealList);
  EXPECT_EQ(ReadAll(work), "新しい部署\r\n");
  Script("normal");
  EXPECT_EQ(Stored(), kRealList);
  EXPECT_NE(ReadLog().find(work + "<-編集ファイルアップロードに失敗しました"), std::string::npos);
}

TEST_F(StoreFaultTest, AFailedRestoreKeepsTheCatalogueFile) {
  WriteSettings();
  Script("normal");
  char name[256] = {};
  DWORD size = sizeof name;
  GetComputerNameA(name, &size);
  std::string computer = name;
  for (char& c : computer) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  const std::string catalogue =
      DataFolder() + "CATALOGUE\\" + EnvValue("KESTRO_TEST_FTP_HOST") + "\\" + EnvValue("KESTRO_TEST_FTP_USER") + "\\";
  ForceFolder(catalogue);
  const std::string live = "[PC0120061020103100001.jpg]\r\nSTATUS=1\r\nREAD=1\r\nIMPORTANT=1\r\n";
  WriteBytes(catalogue + "20061020.ini", live);
  ForceFolder(FtpServerRoot() + "kestro\\" + computer + "\\");
  WriteBytes(FtpServerRoot() + "kestro\\" + computer + "\\20061020.ini", std::string(200000, 'x'));
  HWND report = StartAndLogin();
  ASSERT_NE(report, nullptr) << ReadLog();
  Script("drop_data");
  ASSERT_TRUE(Click(report, "ｶﾀﾛｸﾞの復元"));
  ASSERT_TRUE(WaitForBox("ケストロ管理画面\tカタログの復元に失敗しました。\t0\r\n", 60000)) << ReadLog() << Boxes();
  EXPECT_EQ(ReadAll(catalogue + "20061020.ini"), live);
  EXPECT_FALSE(Exists(DataFolder() + "Temp\\tempFile.tmp"));
  Script("normal");
}

}  // namespace
