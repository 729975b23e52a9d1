// Catalogue backup and restore of the real kestroMgr.exe against pyftpdlib
// and a shared folder: the READ and IMPORTANT marks come back, only day
// catalogue files are restored, other computers' backups stay as they are.
#include "tests/manager/ManagerRunSupport.h"

using namespace mgrtest;

namespace {

constexpr char kBackup[] = "ｶﾀﾛｸﾞの保存";
constexpr char kRestore[] = "ｶﾀﾛｸﾞの復元";
constexpr char kBackupDone[] = "ケストロ管理画面\tカタログの保存を終了しました。\t0\r\n";
constexpr char kRestoreDone[] = "ケストロ管理画面\tカタログの復元を終了しました。\t0\r\n";
constexpr char kRestoreFailed[] = "ケストロ管理画面\tカタログの復元に失敗しました。\t0\r\n";
constexpr char kMarked[] =
    "[PRJ_PC0120061020103100001.jpg]\r\nSTATUS=1\r\nREAD=1\r\nIMPORTANT=1\r\nFILESIZE=10\r\n"
    "[PC0220061020110000002.xls]\r\nSTATUS=3\r\nREAD=1\r\n";
constexpr char kSecondDay[] = "[PC0120061021090000001.jpg]\r\nSTATUS=1\r\nIMPORTANT=1\r\n";
constexpr char kUnmarked[] = "[PRJ_PC0120061020103100001.jpg]\r\nSTATUS=1\r\nFILESIZE=10\r\n";
constexpr char kOtherPc[] = "[PC0920061020080000001.jpg]\r\nREAD=1\r\n";

std::string ComputerName() {
  char name[256] = {};
  DWORD size = sizeof name;
  GetComputerNameA(name, &size);
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return upper;
}

// Sets the name that programs started from now on get from GetComputerNameA.
void SetComputerName(const std::string& name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName", 0,
                    KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, "ComputerName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                 static_cast<DWORD>(name.size() + 1));
  RegCloseKey(key);
}

class CatalogueBackupTest : public ManagerRun {
 protected:
  void SetUp() override {
    ManagerRun::SetUp();
    computer_ = ComputerName();
    ASSERT_FALSE(computer_.empty());
  }
  void TearDown() override {
    SetComputerName(computer_);
    ManagerRun::TearDown();
  }
  std::string Catalogue(const std::string& server, const std::string& user) const {
    return DataFolder() + "CATALOGUE\\" + server + "\\" + user + "\\";
  }
  void WaitReady(HWND report) {
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(FindControl(report, "BUTTON", kBackup)) != FALSE; }, 10000));
    DeleteFileA(boxLog_.c_str());
  }
  // A backup, the marks lost locally, a restore: the marks are back.
  void RoundTrip(HWND report, const std::string& catalogue, const std::string& backup) {
    ForceFolder(catalogue);
    WriteBytes(catalogue + "20061020.ini", kMarked);
    WriteBytes(catalogue + "20061021.INI", kSecondDay);
    ASSERT_TRUE(Click(report, kBackup));
    ASSERT_TRUE(WaitForBox(kBackupDone)) << ReadLog() << Boxes();
    EXPECT_EQ(ReadAll(backup + "20061020.ini"), kMarked);
    EXPECT_EQ(ReadAll(backup + "20061021.ini"), kSecondDay);  // stored under the lower-case name

    WriteBytes(catalogue + "20061020.ini", kUnmarked);
    DeleteFileA((catalogue + "20061021.INI").c_str());
    // A section planted in the backup that names no report is not restored.
    WriteBytes(backup + "20061021.ini", std::string("[..\\..\\PC0120061021090000009.jpg]\r\nSTATUS=1\r\n") + kSecondDay);
    // Whatever else lies in the backup folder is no catalogue file.
    WriteBytes(backup + "projectlist.txt", "x\r\n");
    WriteBytes(backup + "2006102.ini", "x\r\n");
    ForceFolder(backup + "20061022.ini\\");
    WaitReady(report);
    ASSERT_TRUE(Click(report, kRestore));
    ASSERT_TRUE(WaitForBox(kRestoreDone)) << ReadLog() << Boxes();
    EXPECT_EQ(ReadAll(catalogue + "20061020.ini"), kMarked);
    EXPECT_EQ(ReadAll(catalogue + "20061021.ini"), std::string(kSecondDay) + "\r\n");
    EXPECT_FALSE(Exists(catalogue + "projectlist.txt"));
    EXPECT_FALSE(Exists(catalogue + "2006102.ini"));
    EXPECT_FALSE(Exists(catalogue + "20061022.ini"));
    EXPECT_FALSE(Exists(DataFolder() + "Temp\\tempFile.tmp"));
  }

  std::string computer_;
};

TEST_F(CatalogueBackupTest, OverFtpTheMarksComeBackAndOtherComputersBackupsStay) {
  WriteSettings();
  const std::string other = FtpServerRoot() + "kestro\\OTHERPC\\";
  ForceFolder(other);
  WriteBytes(other + "20061020.ini", kOtherPc);
  HWND report = StartAndLogin();
  ASSERT_NE(report, nullptr) << ReadLog();
  RoundTrip(report, Catalogue(EnvValue("KESTRO_TEST_FTP_HOST"), EnvValue("KESTRO_TEST_FTP_USER")),
            FtpServerRoot() + "kestro\\" + computer_ + "\\");
  EXPECT_EQ(ReadAll(other + "20061020.ini"), kOtherPc);
  EXPECT_FALSE(Exists(other + "20061021.ini"));
  EXPECT_NE(ReadLog().find(",(KestroMgr),切断開始18\r\n"), std::string::npos);

  // Left without catalogue files, the backup restores nothing: a failure.
  const std::string backup = FtpServerRoot() + "kestro\\" + computer_ + "\\";
  for (const char* day : {"20061020.ini", "20061021.ini"}) DeleteFileA((backup + day).c_str());
  WaitReady(report);
  ASSERT_TRUE(Click(report, kRestore) && WaitForBox(kRestoreFailed)) << ReadLog() << Boxes();
}

TEST_F(CatalogueBackupTest, OnASharedFolderTheMarksComeBackAndOtherComputersBackupsStay) {
  const std::string store = DataFolder() + "share\\";
  ForceFolder(store + "OTHERPC\\");
  WriteBytes(store + "OTHERPC\\20061020.ini", kOtherPc);
  WriteSettings(store);
  HWND report = StartAndLogin();
  ASSERT_NE(report, nullptr) << ReadLog();
  RoundTrip(report, Catalogue("share", "someone"), store + computer_ + "\\");
  EXPECT_EQ(ReadAll(store + "OTHERPC\\20061020.ini"), kOtherPc);

  // Above the test's largest file size (a full share): the earlier backup stays.
  WaitReady(report);
  WriteBytes(store + computer_ + "\\20061019.ini", kSecondDay);
  ASSERT_TRUE(CreateHardLinkA((Catalogue("share", "someone") + "20061019.ini").c_str(), (runDir_ + "kestroMgr.exe").c_str(), nullptr));
  ASSERT_TRUE(Click(report, kBackup));
  ASSERT_TRUE(WaitForBox("カタログの保存に失敗しました。")) << ReadLog() << Boxes();
  EXPECT_TRUE(ReadAll(store + computer_ + "\\20061019.ini") == kSecondDay);
}

// A day's catalogue at the test's largest file size (a full disk): the
// search cannot save its new row, and the file keeps its marks whole.
TEST_F(CatalogueBackupTest, ACatalogueThatCannotBeSavedStaysAsItWas) {
  const std::string day = DayBefore(0);
  WriteSettings();
  PostReport(day, "PC01" + day + "093000001.jpg", "jpg");
  const std::string file = Catalogue(EnvValue("KESTRO_TEST_FTP_HOST"), EnvValue("KESTRO_TEST_FTP_USER")) + day + ".ini";
  ForceFolder(file);
  std::string marked = "[PC01" + day + "080000001.jpg]\r\nSTATUS=1\r\nREAD=1\r\nIMPORTANT=1\r\nCOMMENT=";
  marked += std::string(2048 * 1024 - marked.size() - 4, 'x') + "\r\n\r\n";
  WriteBytes(file, marked);
  HWND report = StartAndLogin();
  ASSERT_NE(report, nullptr) << ReadLog();
  ASSERT_TRUE(Click(report, "ﾎﾟｽﾄの検索"));
  ASSERT_TRUE(WaitForBox("KestroMgr\tINIファイルの操作に失敗しました。権限がありません。")) << ReadLog() << Boxes();
  EXPECT_TRUE(ReadAll(file) == marked);
}

TEST_F(CatalogueBackupTest, AnotherOrAnEmptyComputerNameFindsNoBackup) {
  const std::string store = DataFolder() + "share\\";
  ForceFolder(store + computer_ + "\\");
  WriteBytes(store + computer_ + "\\20061020.ini", kMarked);
  // Files directly in the store root are no backup of anyone.
  WriteBytes(store + "20061021.ini", kSecondDay);
  WriteSettings(store);
  const std::string catalogue = Catalogue("share", "someone");

  SetComputerName("OTHERPC2");
  HWND report = StartAndLogin();
  ASSERT_NE(report, nullptr) << ReadLog();
  ASSERT_TRUE(Click(report, kRestore));
  ASSERT_TRUE(WaitForBox(kRestoreFailed)) << ReadLog() << Boxes();
  EXPECT_FALSE(Exists(catalogue + "20061020.ini"));
  PostMessageA(report, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Ended(process_, 15000));
  EndKestro(process_);

  SetComputerName("");
  DeleteFileA(boxLog_.c_str());
  report = StartAndLogin();
  ASSERT_NE(report, nullptr) << ReadLog();
  ASSERT_TRUE(Click(report, kRestore));
  ASSERT_TRUE(WaitForBox(kRestoreFailed)) << ReadLog() << Boxes();
  EXPECT_FALSE(Exists(catalogue + "20061021.ini"));
  WaitReady(report);
  ForceFolder(catalogue);
  WriteBytes(catalogue + "20061022.ini", kSecondDay);
  ASSERT_TRUE(Click(report, kBackup));
  ASSERT_TRUE(WaitForBox("ケストロ管理画面\tカタログの保存に失敗しました。\t0\r\n")) << ReadLog() << Boxes();
  EXPECT_FALSE(Exists(store + "20061022.ini"));
  EXPECT_NE(ReadLog().find("コンピュータ名が取得できません"), std::string::npos);
}

}  // namespace
