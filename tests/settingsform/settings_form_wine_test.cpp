// The settings form of the running Kestro.exe, driven from outside through
// its controls, and the version-up that its button starts: the real
// downloader.exe fetches download/kestro/ from pyftpdlib (anonymous) into a
// program folder whose path holds a blank and starts the client again.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "client/SettingsForm.h"
#include "tests/client/KestroProcessSupport.h"
#include "tests/client/WineTestFiles.h"
#include "tests/office/StandInTestSupport.h"

namespace {

const int kUnbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0);

std::string TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

std::string ServerPath(const std::string& relative) {
  std::string root = std::getenv("KESTRO_TEST_FTP_ROOT");
  for (char& c : root)
    if (c == '/') c = '\\';
  return "Z:" + root + "\\" + relative;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  standin::WriteBytes(path, bytes);
}

std::string IniValue(const std::string& path, const char* section, const char* key) {
  char value[512] = {};
  GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, path.c_str());
  return value;
}

std::string Text(HWND control) {
  char text[512] = {};
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, nullptr);
  return text;
}

void SetText(HWND control, const std::string& text) {
  SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK, 5000, nullptr);
}

void Click(HWND control) { SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_BLOCK, 60000, nullptr); }

class SettingsFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    boxes_ = UseBoxLog("settings_form_boxes.txt");
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  }
  void TearDown() override {
    EndKestro(process_);
    standin::Register();
    DeleteFileA(boxes_.c_str());
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  }

  void WriteSettings(const std::string& keys) {
    WriteFile(DataFolder() + "Kestro.ini", "[KESTRO]\r\nSHOW=1\r\nOPERATION=PC01\r\nMOJISIZE=12\r\n" + keys);
  }
  // Starts the client of the folder (default: the build's) and waits for it.
  bool Start(const std::string& folder = "") {
    std::string exe = (folder.empty() ? ProgramFolder() : folder) + "Kestro.exe";
    std::string command = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        (folder.empty() ? ProgramFolder() : folder).c_str(), &startup, &process_))
      return false;
    return WaitFor([] { return ReadLog().find("Kestro,fncSetPopup") != std::string::npos ||
                               FindWindowA("TForm1", "Kestro") != nullptr; }, 20000) &&
           WaitFor([] { return ReadLog().find("登録画面,fncGetDownloder()") != std::string::npos; }, 20000);
  }
  // The settings form, opened by a double click on the tray icon.
  HWND OpenByDoubleClick() {
    HWND main = FindWindowA("TForm1", "Kestro");
    HWND form = nullptr;
    WaitFor([&] {
      PostMessageA(main, 1126, 0, WM_LBUTTONDBLCLK);
      Sleep(300);
      form = FindWindowA("TForm2", "設定画面");
      return form && IsWindowVisible(form);
    }, 20000);
    return form && IsWindowVisible(form) ? form : nullptr;
  }
  HWND Item(HWND form, int id) const {
    HWND control = GetDlgItem(form, id);
    return control ? control : GetDlgItem(GetDlgItem(form, kSetIdButtonBar), id);
  }
  // Clicks "変更" and returns the box it gave.
  std::string Update(HWND form) {
    DeleteFileA(boxes_.c_str());
    Click(Item(form, kSetIdUpdate));
    std::string box = ReadAll(boxes_);
    return box.substr(0, box.rfind('\t'));
  }
  bool Exited(DWORD ms) const { return WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0; }

  PROCESS_INFORMATION process_{};
  std::string boxes_;
};

TEST_F(SettingsFormTest, ChecksRefuseInTheirOrderAndAcceptedSettingsLandInTheFile) {
  WriteSettings("STYLE=1\r\nSAVE=0\r\nSERVER=127.0.0.1\r\nFILESAVEPATH=" + DataFolder() + "save\\\r\n");
  ASSERT_TRUE(Start());
  HWND form = OpenByDoubleClick();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text(Item(form, kSetIdTerminal)), "PC01");
  EXPECT_EQ(SendMessageA(Item(form, kSetIdStyle1), BM_GETCHECK, 0, 0), BST_CHECKED);

  // Every check fails at first; each repair uncovers the next one.
  ASSERT_TRUE(standin::Unregister());
  Click(Item(form, kSetIdStyle0));
  SetText(Item(form, kSetIdProject), "営業_部");
  SetText(Item(form, kSetIdTerminal), "   ");
  Click(Item(form, kSetIdSave));
  SetText(Item(form, kSetIdServer), "192.168.001");
  SetText(Item(form, kSetIdMojiSize), "0");
  SetText(Item(form, kSetIdDir), "Q:\\nowhere");
  EXPECT_EQ(Update(form), "Kestro\tエクセルがインストールされていません");
  ASSERT_TRUE(standin::Register());
  EXPECT_EQ(Update(form), "Kestro\tプロジェク名はファイル名になります\r\nファイル名に使えない文字が含まれています");
  SetText(Item(form, kSetIdProject), "営業部");
  EXPECT_EQ(Update(form), "Kestro\t端末名を入力してください");
  SetText(Item(form, kSetIdTerminal), "PC_02");
  EXPECT_EQ(Update(form), "Kestro\t端末名はファイル名になります\r\nファイル名に使えない文字が含まれています");
  SetText(Item(form, kSetIdTerminal), "PC02");
  EXPECT_EQ(Update(form), "Kestro\tアドレスの入力が正しくありません");
  SetText(Item(form, kSetIdServer), "192.168.001.010");
  EXPECT_EQ(Update(form), "Kestro\t文字サイズは1から99までの数字を入力してください");
  EXPECT_EQ(Text(Item(form, kSetIdServer)), "192.168.1.10");
  SetText(Item(form, kSetIdMojiSize), "7");
  EXPECT_EQ(Update(form), "Kestro\t指定の保存先ではファイル保存フォルダを作成できません。");
  EXPECT_TRUE(IsWindowVisible(form));
  std::string ini = DataFolder() + "Kestro.ini";
  EXPECT_EQ(IniValue(ini, "KESTRO", "OPERATION"), "PC01");
  EXPECT_EQ(IniValue(ini, "KESTRO", "STYLE"), "1");

  // Closed without "変更" and opened again through the tray menu: the
  // refused folder was never taken, the shown values are the settings.
  Click(Item(form, kSetIdClose));
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(form); }, 5000));
  PostMessageA(FindWindowA("TForm1", "Kestro"), 1126, 0, WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr; }, 10000));
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(form); }, 10000));
  EXPECT_EQ(Text(Item(form, kSetIdDir)), DataFolder() + "save\\");
  EXPECT_EQ(Text(Item(form, kSetIdTerminal)), "PC01");
  EXPECT_EQ(SendMessageA(Item(form, kSetIdSave), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // Accepted: report style, a new folder made, the address stored as typed
  // without FTP, a colour by its list index.
  const std::string share = "C:\\settings form\\share";
  RemoveTree(share);
  Click(Item(form, kSetIdStyle0));
  Click(Item(form, kSetIdShow0));
  SetText(Item(form, kSetIdProject), "営業部");
  SetText(Item(form, kSetIdTerminal), "PC02");
  SetText(Item(form, kSetIdServer), "010.1.1.1");
  SetText(Item(form, kSetIdDir), share);
  SetText(Item(form, kSetIdMojiSize), "99");
  SendMessageA(Item(form, kSetIdBrushColor), CB_SETCURSEL, 2, 0);
  Click(Item(form, kSetIdMoji1));
  SetText(Item(form, kSetIdMoji), "社外秘");
  EXPECT_EQ(Update(form), "Kestro\t変更しました");
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(form); }, 5000));
  EXPECT_EQ(GetFileAttributesA(share.c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  const char* expected[][2] = {{"STYLE", "0"},        {"SHOW", "0"},          {"PROJECT", "営業部"},
                               {"OPERATION", "PC02"}, {"SAVE", "0"},          {"SERVER", "010.1.1.1"},
                               {"MOJISIZE", "99"},    {"MASKCOLOR", "3"},     {"WAKUCOLOR", "1"},
                               {"CRFLAG", "1"},       {"CRSTR", "社外秘"}};
  for (const auto& key : expected) EXPECT_EQ(IniValue(ini, "KESTRO", key[0]), key[1]) << key[0];
  EXPECT_EQ(IniValue(ini, "KESTRO", "FILESAVEPATH"), share + "\\");
  EXPECT_NE(ReadLog().find("設定画面,fncChkData()"), std::string::npos);
  RemoveTree("C:\\settings form");

  PostMessageA(FindWindowA("TForm1", "Kestro"), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Exited(15000));
}

TEST_F(SettingsFormTest, ThePictureEditorsSettingsItemOpensTheForm) {
  WriteSettings("STYLE=1\r\nSAVE=0\r\n");
  ASSERT_TRUE(Start());
  ASSERT_FALSE(CaptureWhenReady().empty());
  HWND registration = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (registration = FindWindowA("TForm3", "登録画面")) && IsWindowVisible(registration); },
                      20000));
  PostMessageA(FindControl(registration, "FormsImage", ""), WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
  HWND editor = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (editor = FindWindowA("TForm5", "プレビュー")) && IsWindowVisible(editor); }, 20000));
  // Its menu from a right click on the picture; the last item is "各種設定".
  PostMessageA(FindControl(editor, "FormsImageView", ""), WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr; }, 10000));
  PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  HWND form = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (form = FindWindowA("TForm2", "設定画面")) && IsWindowVisible(form); }, 10000));
  EXPECT_TRUE(IsWindowVisible(editor));  // modeless beside the editor
  EXPECT_EQ(Text(Item(form, kSetIdTerminal)), "PC01");
}

// A program folder with a blank in its path, and beside it "kestro.exe",
// which an unquoted start of "<temp>kestro prog\DownLoader.exe" would run.
class VersionUpTest : public SettingsFormTest {
 protected:
  void SetUp() override {
    SettingsFormTest::SetUp();
    prog_ = TempFolder() + "kestro prog\\";
    decoy_ = TempFolder() + "kestro.exe";
    RemoveTree(prog_.substr(0, prog_.size() - 1));
    CreateDirectoryA(prog_.c_str(), nullptr);
    for (const char* file : {"Kestro.exe", "SNAPTRAP.DLL"})
      CopyFileA((ProgramFolder() + file).c_str(), (prog_ + file).c_str(), FALSE);
    CopyFileA((ProgramFolder() + "started_marker.exe").c_str(), decoy_.c_str(), FALSE);
    DeleteFileA((decoy_ + ".started").c_str());
    const std::string host = std::getenv("KESTRO_TEST_FTP_HOST");
    WriteSettings("STYLE=1\r\nSAVE=1\r\nSERVER=" + host + "\r\nUSERID=anonymous\r\nPASSWD=\r\n");
    WriteFile(ServerPath("kestro\\downloader.ini"), "[DOWNLOADER]\r\nIP=" + host + "\r\n");
    WriteFile(ServerPath("download\\kestro\\version.txt"), "2.0");
  }
  void TearDown() override {
    if (HWND again = FindWindowA("TForm1", "Kestro")) {
      DWORD id = 0;
      GetWindowThreadProcessId(again, &id);
      HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
      DWORD_PTR answer = 0;
      SendMessageTimeoutA(again, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer);
      if (process && WaitForSingleObject(process, 15000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
      if (process) CloseHandle(process);
    }
    SettingsFormTest::TearDown();
    RemoveTree(prog_.substr(0, prog_.size() - 1));
    DeleteFileA(decoy_.c_str());
    DeleteFileA((decoy_ + ".started").c_str());
  }
  std::string prog_, decoy_;
};

TEST_F(VersionUpTest, WithoutTheUpdaterOrOnCancelTheClientStaysAndTheKeysAreWritten) {
  SetEnvironmentVariableA("KESTRO_MSGBOX_REPLY", nullptr);  // each box's default button: Cancel for the question
  ASSERT_TRUE(Start(prog_));
  const std::string ini = prog_ + "downloader.ini";
  ASSERT_TRUE(WaitFor([&] { return IniValue(ini, "DOWNLOADER", "IP") == std::getenv("KESTRO_TEST_FTP_HOST"); }, 20000));
  HWND form = OpenByDoubleClick();
  ASSERT_NE(form, nullptr);
  DeleteFileA(boxes_.c_str());
  Click(Item(form, kSetIdDownLoad));
  EXPECT_EQ(ReadAll(boxes_).substr(0, ReadAll(boxes_).rfind('\t')), "Kestro\tダウンローダが確認できません");
  EXPECT_EQ(IniValue(ini, "DOWNLOADER", "PROJECT"), "kestro");
  EXPECT_EQ(IniValue(ini, "DOWNLOADER", "EXE"), "Kestro.exe");
  EXPECT_EQ(IniValue(ini, "DOWNLOADER", "PARAM5"), "");

  CopyFileA((ProgramFolder() + "downloader.exe").c_str(), (prog_ + "downloader.exe").c_str(), FALSE);
  DeleteFileA(boxes_.c_str());
  Click(Item(form, kSetIdDownLoad));
  EXPECT_NE(ReadAll(boxes_).find("Kestro\tバージョンアップを開始します\r\nよろしいですか？\t"), std::string::npos);
  EXPECT_NE(ReadLog().find("設定画面,btnDownLoadClick()=キャンセル押下"), std::string::npos);
  EXPECT_TRUE(HandledPostedMessages(FindWindowA("TForm1", "Kestro"))) << ReadLog();
  EXPECT_FALSE(Exited(0));
  EXPECT_TRUE(IsWindowEnabled(form));
  EXPECT_EQ(FindWindowA(nullptr, "ダウンローダー"), nullptr);
}

TEST_F(VersionUpTest, TheButtonStartsTheUpdaterWhichInstallsTheStoreFilesAndStartsTheClientAgain) {
  CopyFileA((ProgramFolder() + "downloader.exe").c_str(), (prog_ + "downloader.exe").c_str(), FALSE);
  ASSERT_TRUE(Start(prog_));
  const std::string ini = prog_ + "downloader.ini";
  ASSERT_TRUE(WaitFor([&] { return IniValue(ini, "DOWNLOADER", "IP") == std::getenv("KESTRO_TEST_FTP_HOST"); }, 20000));
  HWND form = OpenByDoubleClick();
  ASSERT_NE(form, nullptr);
  const size_t firstStart = ReadLog().find("Kestro,FormCreate()-----");
  ASSERT_NE(firstStart, std::string::npos);

  PostMessageA(Item(form, kSetIdDownLoad), BM_CLICK, 0, 0);
  ASSERT_TRUE(Exited(20000));
  EXPECT_EQ(IniValue(ini, "DOWNLOADER", "PROJECT"), "kestro");
  EXPECT_EQ(IniValue(ini, "DOWNLOADER", "EXE"), "Kestro.exe");
  std::string log = ReadLog();
  EXPECT_NE(log.find("設定画面,btnDownLoadClick()=ＯＫ押下"), std::string::npos);
  EXPECT_NE(log.find("Kestro,FormClose()"), std::string::npos);

  // The updater installs version.txt and starts the client of the folder again.
  EXPECT_TRUE(WaitFor([&] { return ReadAll(prog_ + "version.txt") == "2.0"; }, 60000));
  EXPECT_TRUE(WaitFor([&] { return ReadLog().find("Kestro,FormCreate()-----", firstStart + 1) != std::string::npos; },
                      60000))
      << ReadLog().substr(firstStart);
  HWND again = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (again = FindWindowA("TForm1", "Kestro")) != nullptr; }, 20000));
  EXPECT_TRUE(WaitFor([&] { return IniValue(ini, "DOWNLOADER", "UPDATE") != "<none>"; }, 20000));
  EXPECT_EQ(GetFileAttributesA((decoy_ + ".started").c_str()), INVALID_FILE_ATTRIBUTES);
  // The updater ran only once the first client had closed (log times
  // "yyyy/mm/dd,hh:nn:ss.zzz" compare as text).
  log = ReadLog();
  const size_t secondStart = log.rfind("\r\n", log.find("Kestro,FormCreate()-----", firstStart + 1));
  const size_t closeLine = log.rfind("\r\n", secondStart - 1) + 2;  // the first client's last line
  std::string updaterLog = ReadAll(DataFolder() + "..\\downloader\\syslog\\" + Today("%04d%02d%02d.txt"));
  size_t updaterStart = updaterLog.rfind("ダウンローダー,FormCreate()");
  ASSERT_NE(updaterStart, std::string::npos);
  updaterStart = updaterLog.rfind("\r\n", updaterStart);
  updaterStart = updaterStart == std::string::npos ? 0 : updaterStart + 2;
  EXPECT_GT(updaterLog.substr(updaterStart, 23), log.substr(closeLine, 23));
  // The boxes of both programs: only the question.
  EXPECT_EQ(ReadAll(boxes_).find("ダウンロード失敗"), std::string::npos) << ReadAll(boxes_);
  EXPECT_EQ(ReadAll(boxes_).find("ログインできません"), std::string::npos) << ReadAll(boxes_);
}

}  // namespace
