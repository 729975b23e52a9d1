// The real downloader.exe, copied into a program folder whose path holds a
// blank, against pyftpdlib with anonymous access: the version-up from
// download/<PROJECT>/ and its SUBDIR, the start of EXE, and the failures.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "tests/client/WineTestFiles.h"

namespace {

std::string Here() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\') + 1);
}

std::string Temp() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

std::string DataFolder() {
  char path[MAX_PATH];
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_COMMON_APPDATA, FALSE);
  return std::string(path) + "\\Veltrana\\downloader\\";
}

std::string ServerFolder(const std::string& relative, const char* variable = "KESTRO_TEST_FTP_ROOT") {
  std::string root = std::getenv(variable);
  for (char& c : root)
    if (c == '/') c = '\\';
  return "Z:" + root + "\\" + relative;
}

void Write(const std::string& path, const std::string& bytes) {
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Two uncompressed 4 x 4 frames: the animation control plays them without a codec.
std::string Clip(char shade) {
  auto dwords = [](std::initializer_list<DWORD> values) {
    std::string bytes;
    for (DWORD value : values) bytes.append(reinterpret_cast<const char*>(&value), 4);
    return bytes;
  };
  auto chunk = [&](const char* id, const std::string& data) { return id + dwords({DWORD(data.size())}) + data; };
  auto list = [&](const char* type, const std::string& data) { return chunk("LIST", type + data); };
  const std::string strl = chunk("strh", "vidsDIB " + dwords({0, 0, 0, 1, 10, 0, 2, 48, 0, 0, 0, 0})) +
                           chunk("strf", dwords({40, 4, 4, 1 | 24 << 16, 0, 48, 0, 0, 0, 0}));
  const std::string header =
      chunk("avih", dwords({100000, 0, 0, 0, 2, 0, 1, 48, 4, 4, 0, 0, 0, 0})) + list("strl", strl);
  const std::string frame = chunk("00db", std::string(48, shade));
  return chunk("RIFF", "AVI " + list("hdrl", header) + list("movi", frame + frame));
}

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  for (DWORD start = GetTickCount(); !done(); Sleep(20))
    if (GetTickCount() - start > ms) return false;
  return true;
}

class DownloaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prog_ = Temp() + "upd prog\\";
    decoy_ = Temp() + "upd.exe";
    boxes_ = Temp() + "downloader_boxes.txt";
    SetEnvironmentVariableA("KESTRO_MSGBOX_LOG", boxes_.c_str());
    CopyFileA((Here() + "started_marker.exe").c_str(), decoy_.c_str(), FALSE);
    // download\names\ was put there by seed_odd_names.py and stays.
    for (const char* project : {"kestro", "empty", "race", "race.gone"})
      RemoveTree(ServerFolder("download\\" + std::string(project)));
  }
  void TearDown() override {
    RemoveTree(prog_.substr(0, prog_.size() - 1));
    DeleteFileA(decoy_.c_str());
    DeleteFileA((decoy_ + ".started").c_str());
    DeleteFileA(boxes_.c_str());
  }
  // A fresh program folder with the updater, EXE app.exe and the settings.
  void Prepare(const std::string& settings) {
    RemoveTree(prog_.substr(0, prog_.size() - 1));
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
    DeleteFileA(boxes_.c_str());
    Write(prog_ + "x", "");
    CopyFileA((Here() + "downloader.exe").c_str(), (prog_ + "downloader.exe").c_str(), FALSE);
    CopyFileA((Here() + "started_marker.exe").c_str(), (prog_ + "app.exe").c_str(), FALSE);
    if (!settings.empty())
      Write(prog_ + "downloader.ini",
            "[DOWNLOADER]\r\n" + settings + "IP=" + std::getenv("KESTRO_TEST_FTP_HOST") + "\r\nEXE=app.exe\r\n");
  }
  // Runs the updater to its end; `during` runs while it works.
  void Run(const std::function<void()>& during = [] {}) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const std::string exe = prog_ + "downloader.exe";
    std::string command = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, prog_.c_str(), &startup,
                               &process));
    during();
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    GetExitCodeProcess(process.hProcess, &exitCode_);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  // app.exe was started in the program folder.
  bool Started() { return WaitFor([&] { return ReadAll(prog_ + "app.exe.started") + "\\" == prog_; }, 10000); }
  std::string Log() { return ReadAll(DataFolder() + "syslog\\" + Today()); }
  static std::string Today() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    char name[16];
    wsprintfA(name, "%04d%02d%02d.txt", st.wYear, st.wMonth, st.wDay);
    return name;
  }
  bool Logged(const std::string& text) { return Log().find(",(DOWNLOADER),ダウンローダー," + text) != std::string::npos; }
  std::string Boxes() { return ReadAll(boxes_); }
  static std::string Box(const std::string& text, const char* caption = "DownLoader") {
    return caption + ("\t" + text + "\t" + std::to_string(MB_OK | MB_TOPMOST) + "\r\n");
  }

  std::string prog_, decoy_, boxes_;
  DWORD exitCode_ = 1;
};

}  // namespace

TEST_F(DownloaderTest, AFullCycleInstallsBothFoldersApartAndStartsTheProgramAgain) {
  Write(ServerFolder("download\\kestro\\app.exe"), ReadAll(Here() + "started_marker.exe"));
  Write(ServerFolder("download\\kestro\\same.txt"), "project");
  Write(ServerFolder("download\\kestro\\with blank.txt"), "blank");
  Write(ServerFolder("download\\kestro\\sub\\same.txt"), "subfolder");
  Write(ServerFolder("download\\kestro\\template.xls"), "new template");
  Write(ServerFolder("download\\kestro\\pctopc.avi"), Clip('\x40'));
  // The file the install record is written through is no package file.
  Write(ServerFolder("download\\kestro\\downloader.lst.tmp"), "package");
  const std::string newUpdater = ReadAll(Here() + "downloader.exe") + "new build";
  Write(ServerFolder("download\\kestro\\downloader.exe"), newUpdater);
  Prepare("PROJECT=kestro\r\nSUBDIR=sub\r\n");
  Write(prog_ + "app.exe", "old version");
  Write(prog_ + "template.xls", "old template");
  // The splash plays the folder's clip, which the package replaces.
  Write(prog_ + "pctopc.avi", Clip('\x20'));
  // Kept there by hand: neither an install nor a start may touch them.
  const char* const kept[] = {"template.xls.old", "same.txt.new"};
  for (const char* name : kept) Write(prog_ + name, name);
  Run();
  // app.exe is the new one: the old text could not have started.
  EXPECT_TRUE(Started()) << Log();
  EXPECT_EQ(ReadAll(prog_ + "same.txt"), "project");
  EXPECT_EQ(ReadAll(prog_ + "sub\\same.txt"), "subfolder");
  EXPECT_EQ(ReadAll(prog_ + "with blank.txt"), "blank");
  EXPECT_TRUE(ReadAll(prog_ + "pctopc.avi") == Clip('\x40'));
  EXPECT_TRUE(Logged("fncDownload()アニメーション解放=" + prog_ + "pctopc.avi"));
  EXPECT_FALSE(Logged("fncDownload()使用中のため待機="));
  EXPECT_FALSE(Exists(decoy_ + ".started"));
  for (const char* work : {"temp\\same.txt", "temp\\sub\\same.txt", "temp\\app.exe", "temp\\with blank.txt"})
    EXPECT_FALSE(Exists(DataFolder() + work)) << work;
  EXPECT_TRUE(Logged("fncDownload()ディレクトリ行はスキップ"));
  EXPECT_TRUE(Logged("tmrEventTimer()Apl=\"" + prog_ + "app.exe\""));
  EXPECT_NE(ReadAll(DataFolder() + "syslog\\FTP" + Today()).find(",(TmxFTP),Login Complete"), std::string::npos);
  char update[32] = {};
  GetPrivateProfileStringA("DOWNLOADER", "UPDATE", "", update, sizeof update, (prog_ + "downloader.ini").c_str());
  EXPECT_EQ(std::string(update).size(), 19u) << update;
  EXPECT_EQ(Boxes(), "");
  EXPECT_TRUE(ReadAll(prog_ + "downloader.exe") == newUpdater);
  EXPECT_TRUE(Logged("fncDownload()ファイル名が不正なのでスキップ=downloader.lst.tmp"));
  EXPECT_FALSE(Exists(prog_ + "downloader.lst.tmp"));
  // The running updater's old file is listed, relative to the folder.
  const std::string record = ReadAll(prog_ + "downloader.lst");
  for (const char* line : {"OLD\tdownloader.exe.old\tdownloader.exe\r\n", "OLD\ttemplate.xls.old1\ttemplate.xls\r\n",
                           "NEW\tsub\\same.txt.new\r\nOLD\tsub\\same.txt.old\tsub\\same.txt\r\n"})
    EXPECT_NE(record.find(line), std::string::npos) << line << record;
  EXPECT_EQ(record.substr(record.size() - 6), "DONE\r\n");
  DeleteFileA(ServerFolder("download\\kestro\\downloader.exe").c_str());
  Run();
  EXPECT_FALSE(Exists(prog_ + "downloader.exe.old"));
  EXPECT_FALSE(Exists(prog_ + "downloader.lst"));
  for (const char* name : kept) EXPECT_EQ(ReadAll(prog_ + name), name);
}

TEST_F(DownloaderTest, AFileInUseIsWaitedForAndAFailedReplacePutsEveryFileBack) {
  Write(ServerFolder("download\\kestro\\free.txt"), "new free");
  Write(ServerFolder("download\\kestro\\busy.txt"), "new busy");
  Prepare("PROJECT=kestro\r\n");
  Write(prog_ + "busy.txt", "old busy");
  HANDLE busy = CreateFileA((prog_ + "busy.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(busy, INVALID_HANDLE_VALUE);
  Run([&] {
    // The caller has not ended yet: nothing is replaced until it lets go.
    EXPECT_TRUE(WaitFor([&] { return Logged("fncDownload()使用中のため待機=" + prog_ + "busy.txt"); }, 30000));
    EXPECT_FALSE(Exists(prog_ + "free.txt"));
    CloseHandle(busy);
  });
  EXPECT_EQ(ReadAll(prog_ + "free.txt"), "new free");
  EXPECT_EQ(ReadAll(prog_ + "busy.txt"), "new busy");
  EXPECT_EQ(Boxes(), "");

  // The subfolder's y.txt comes last and cannot be moved in: every file
  // goes back; one that cannot (x.txt held) is kept, and the next start puts it back.
  Write(ServerFolder("download\\kestro\\x.txt"), "new x");
  Write(ServerFolder("download\\kestro\\sub\\y.txt"), "new y");
  auto open = [&](const char* name, DWORD share) {
    return CreateFileA((prog_ + name).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
  };
  for (const bool stuck : {false, true}) {
    Prepare("PROJECT=kestro\r\nSUBDIR=sub\r\n");
    Write(prog_ + "x.txt", "old x");
    Write(prog_ + "sub\\y.txt", "old y");
    HANDLE x = open("x.txt", 0), held[2] = {};
    Run([&] {
      EXPECT_TRUE(WaitFor([&] { return Logged("fncDownload()使用中のため待機=" + prog_ + "x.txt"); }, 30000));
      held[0] = open("sub\\y.txt.new", FILE_SHARE_READ);
      if (stuck) held[1] = open("x.txt.new", FILE_SHARE_READ | FILE_SHARE_DELETE);
      CloseHandle(x);
    });
    EXPECT_EQ(ReadAll(prog_ + "sub\\y.txt"), "old y");
    EXPECT_EQ(ReadAll(prog_ + (stuck ? "x.txt.old" : "x.txt")), "old x");
    EXPECT_EQ(Boxes(), Box("ファイルを更新できませんでした\r\n" + prog_ + "sub\\y.txt\r\n" +
                           (stuck ? "元のファイルに戻せませんでした" : "プログラムは更新前のままです")));
    for (HANDLE handle : held) CloseHandle(handle);
  }
  RemoveTree(ServerFolder("download\\kestro"));
  // x.txt is held through the next start's wait: x.txt.old stays listed.
  HANDLE x = open("x.txt", 0);
  Run([&] {
    EXPECT_TRUE(WaitFor([&] { return Logged("FormCreate()使用中のため待機=" + prog_ + "x.txt"); }, 30000));
    EXPECT_TRUE(WaitFor([&] { return Logged("FormCreate()復元失敗=" + prog_ + "x.txt"); }, 40000));
    CloseHandle(x);
  });
  EXPECT_EQ(ReadAll(prog_ + "x.txt.old"), "old x");
  EXPECT_EQ(ReadAll(prog_ + "downloader.lst"), "OLD\tx.txt.old\tx.txt\r\n");
  Run();
  EXPECT_EQ(ReadAll(prog_ + "x.txt"), "old x");
  for (const char* left : {"x.txt.old", "sub\\y.txt.new", "downloader.lst"}) EXPECT_FALSE(Exists(prog_ + left)) << left;
}

// Only a 550 says that SUBDIR is not there: a refusal or no answer installs nothing.
TEST_F(DownloaderTest, ASubfolderThatCouldNotBeReadInstallsNothing) {
  const std::string host = std::getenv("KESTRO_TEST_FTP_HOST");
  Write(ServerFolder("download\\kestro\\one.txt", "KESTRO_TEST_FAULTY_ROOT"), "one");
  for (const char* subdir : {"450", "421", "silent"}) {
    Prepare("IP=" + host.substr(0, host.rfind('.')) + ".61\r\nPROJECT=kestro\r\nSUBDIR=" + subdir + "\r\n");
    Run();
    EXPECT_FALSE(Exists(prog_ + "one.txt")) << subdir;
    EXPECT_EQ(Boxes(), Box("ダウンロード失敗")) << subdir;
  }
}

TEST_F(DownloaderTest, WhateverTheStoreOrTheSettingsHoldTheProgramStillStarts) {
  Write(ServerFolder("download\\kestro\\one.txt"), "one");
  Write(ServerFolder("download\\empty\\sub\\x.txt"), "never");
  struct Step {
    const char* settings;
    const char* box;
  } steps[] = {
      {"PROJECT=kestro\r\nSUBDIR=absent\r\n", ""},
      {"PROJECT=empty\r\n", ""},
      {"PROJECT=missing\r\n", "最新のファイルはありませんでした"},
      {"PROJECT=kestro\r\nIP=127.0.0.69\r\n", "FTPサーバーにログインできません"},
      {"PROJECT=odd\r\n", "ダウンロード失敗"},
      {"PROJECT=kestro\r\nSUBDIR=../../kestro\r\n", "ダウンロード失敗"},
  };
  for (const Step& step : steps) {
    Prepare(step.settings);
    // A folder in the way of the record: an empty package writes none.
    if (&step == &steps[1]) CreateDirectoryA((prog_ + "downloader.lst.tmp").c_str(), nullptr);
    Run();
    EXPECT_TRUE(Started()) << step.settings;
    EXPECT_EQ(Boxes(), *step.box ? Box(step.box) : "") << step.settings;
    if (&step == &steps[0]) {
      EXPECT_EQ(ReadAll(prog_ + "one.txt"), "one");
      EXPECT_FALSE(Exists(prog_ + "absent"));
    } else if (&step == &steps[1]) {
      EXPECT_TRUE(Logged("fncDownload()ダウンロード開始"));
      EXPECT_FALSE(Logged("fncDownload()Name="));
    } else if (&step == &steps[5]) {
      EXPECT_TRUE(Logged("fncDownload()サブディレクトリが不正=../../kestro"));
      EXPECT_FALSE(Exists(Temp() + "..\\kestro"));
    }
  }
}

TEST_F(DownloaderTest, NamesThatLeaveTheirFolderAreSkipped) {
  Prepare("PROJECT=names\r\n");
  Run();
  EXPECT_TRUE(Started());
  EXPECT_EQ(ReadAll(prog_ + "ok.txt"), "from the server");
  EXPECT_EQ(ReadAll(prog_ + "設定ソ.txt"), "from the server");
  for (const char* name : {"..\\escape.txt", "c:drive.txt", "sub\\inner.txt"})
    EXPECT_TRUE(Logged("fncDownload()ファイル名が不正なのでスキップ=" + std::string(name))) << name;
  EXPECT_FALSE(Exists(DataFolder() + "escape.txt"));
  EXPECT_FALSE(Exists(Temp() + "escape.txt"));
  EXPECT_EQ(Boxes(), "");
}

TEST_F(DownloaderTest, AFolderThatCannotBeEnteredAgainOrMadeStopsTheDownload) {
  // Were the failed change ignored, x.txt would come from the root.
  Write(ServerFolder("x.txt"), "root decoy");
  Write(ServerFolder("download\\race\\x.txt"), "race");
  Prepare("PROJECT=race\r\n");
  Write(prog_ + "x.txt", "old");
  Run([&] {
    // The folder goes away in the pause between the listing and the download.
    const std::string ftpLog = DataFolder() + "syslog\\FTP" + Today();
    EXPECT_TRUE(WaitFor([&] { return ReadAll(ftpLog).find(",(TmxFTP),DIR end") != std::string::npos; }, 20000));
    EXPECT_TRUE(MoveFileA(ServerFolder("download\\race").c_str(), ServerFolder("download\\race.gone").c_str()));
  });
  DeleteFileA(ServerFolder("x.txt").c_str());
  EXPECT_TRUE(Started());
  EXPECT_EQ(ReadAll(prog_ + "x.txt"), "old");
  EXPECT_TRUE(Logged("fncDownload()フォルダ移動失敗=download/race/"));
  EXPECT_EQ(Boxes(), Box("ダウンロード失敗"));

  // A file where the subfolder should be made: nothing is installed.
  Write(ServerFolder("download\\kestro\\top.txt"), "new");
  Write(ServerFolder("download\\kestro\\blocked\\inner.txt"), "new");
  Prepare("PROJECT=kestro\r\nSUBDIR=blocked\r\n");
  Write(prog_ + "blocked", "a file");
  Run();
  EXPECT_TRUE(Started());
  EXPECT_FALSE(Exists(prog_ + "top.txt"));
  EXPECT_EQ(Boxes(), Box("フォルダを作成できません\r\n" + prog_ + "blocked\\"));
}

TEST_F(DownloaderTest, AFailedStartOrASecondCopyRunsNothing) {
  Prepare("");
  Run();
  EXPECT_EQ(Boxes(), Box("システムファイルが確認できません\r\nプログラムを終了します"));
  EXPECT_TRUE(Logged("FormCreate()ERROR=システムファイルが確認できません\r\nプログラムを終了します"));
  // Run() has waited for the updater to end: what it did not log, it did not do.
  EXPECT_FALSE(Logged("tmrEventTimer()"));
  EXPECT_FALSE(Exists(DataFolder() + "syslog\\FTP" + Today()));

  Prepare("PROJECT=kestro\r\n");
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "TMXDownLoader");
  Run();
  CloseHandle(mutex);
  EXPECT_FALSE(Exists(prog_ + "app.exe.started"));
  EXPECT_EQ(exitCode_, 0u);  // it ran and ended by itself
  EXPECT_EQ(Log(), "");
  EXPECT_EQ(Boxes(), "");
}
