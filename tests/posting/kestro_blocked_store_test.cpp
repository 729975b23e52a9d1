// The running client, SHOW 0, with a local report store it cannot write:
// a capture whose report was not saved stays in the work folder, the queue
// goes on, and once the store is free again captures are saved and posted
// to a real FTP server. The store's folder name ends in a double-byte
// character whose second byte is the code of "\".
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/client/KestroProcessSupport.h"
#include "tests/client/WineTestFiles.h"

namespace {

const int kUnbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0);

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A plain file where the client wants a folder.
void Block(const std::string& path) { std::ofstream(path, std::ios::binary) << "not a folder"; }

class KestroBlockedStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    boxLog_ = UseBoxLog("kestro_blocked_store_boxes.txt");
    FreshDataFolder();
    FreshServerStore();
    CreateDirectoryA(localDir_.c_str(), nullptr);
    // Written without its trailing "\": the client must not take the
    // second byte of the last character for one.
    std::ofstream ini(DataFolder() + "Kestro.ini", std::ios::binary);
    ini << "[KESTRO]\r\nSAVE=1\r\nSHOW=0\r\nSTYLE=1\r\nOPERATION=PC01\r\nPROJECT=SALES\r\nVALIDDAY=10\r\n"
        << "LOCALDIR=" << localDir_.substr(0, localDir_.size() - 1) << "\r\n" << FtpSettingsLines();
  }
  void TearDown() override {
    EndKestro(process_);
    DeleteFileA(boxLog_.c_str());
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  }
  // Waits for the line that takes the capture off the queue without its file.
  bool Skipped(const std::string& capture) {
    return WaitFor([&] { return ReadLog().find("Kestro,tmrEventTimer()Skip=" + capture + "\r\n") != std::string::npos; },
                   20000);
  }

  const std::string localDir_ = DataFolder() + "報告表\\";
  const std::string day_ = Today("%04d%02d%02d");
  PROCESS_INFORMATION process_{};
  std::string boxLog_;
};

}  // namespace

TEST_F(KestroBlockedStoreTest, UnsavedCapturesStayAndTheQueueGoesOnUntilTheStoreIsFree) {
  ASSERT_FALSE(EnvValue("KESTRO_TEST_FTP_HOST").empty());
  const std::string temp = DataFolder() + "temp\\";
  const std::string dayFolder = localDir_ + day_, tagFolder = localDir_ + day_ + "tag";
  Block(dayFolder);
  ASSERT_TRUE(StartKestro(process_));
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = FindWindowA("TForm1", "Kestro")) != nullptr; }, 20000));

  // The day folder cannot be made: the report is never written.
  const std::string first = CaptureWhenReady();
  ASSERT_FALSE(first.empty()) << ReadLog();
  ASSERT_TRUE(Skipped(first)) << ReadLog();
  std::string log = ReadLog();
  EXPECT_NE(log.find("登録画面,fncSendFile()ERROR=ファイルの保存に失敗しました\r\n"), std::string::npos);
  EXPECT_NE(log.find("Kestro,tmrEventTimer()ERROR=報告が保存できなかったため取込ファイルを残します=" + temp + first),
            std::string::npos);
  EXPECT_EQ(log.find("fncDeleteTemp()Delete=" + first), std::string::npos);
  EXPECT_TRUE(Exists(temp + first));

  // The tag folder cannot be made: the report written without its title is
  // removed again and the capture kept.
  ASSERT_TRUE(DeleteFileA(dayFolder.c_str()));
  RemoveTree(tagFolder);  // made by the first save
  Block(tagFolder);
  const std::string second = CaptureWhenReady();
  ASSERT_FALSE(second.empty()) << ReadLog();
  ASSERT_NE(second, first);
  ASSERT_TRUE(Skipped(second)) << ReadLog();
  log = ReadLog();
  EXPECT_NE(log.find("登録画面,fncSendFile()ERROR=タグファイルを作成できません\r\nファイルの保存に失敗しました"),
            std::string::npos);
  EXPECT_TRUE(Exists(temp + second));
  EXPECT_TRUE(FindFile(dayFolder + "\\*.jpg").empty());
  EXPECT_TRUE(FindFile(FtpServerRoot() + "kestro\\" + day_ + "\\*.jpg").empty());

  // Free again: the next capture is saved under the store's folder and posted.
  ASSERT_TRUE(DeleteFileA(tagFolder.c_str()));
  const std::string third = CaptureWhenReady();
  ASSERT_FALSE(third.empty()) << ReadLog();
  const std::string serverDay = FtpServerRoot() + "kestro\\" + day_ + "\\";
  std::string report;
  ASSERT_TRUE(WaitFor([&] { return !(report = FindFile(serverDay + "SALES_PC01" + day_ + "*.jpg")).empty(); }, 30000))
      << ReadLog();
  const std::string tag = report.substr(0, report.size() - 4) + "_.tag";
  EXPECT_TRUE(WaitFor([&] { return Exists(FtpServerRoot() + "kestro\\" + day_ + "tag\\" + tag); }, 10000));
  EXPECT_TRUE(WaitFor([&] { return !Exists(temp + third); }, 10000));
  log = ReadLog();
  EXPECT_NE(log.find("登録画面,fncSaveFile()Save=" + dayFolder + "\\SALES_PC01"), std::string::npos);
  EXPECT_NE(log.find("登録画面,fncSendFile()Posted=" + day_ + "\\" + report), std::string::npos);
  EXPECT_TRUE(FindFile(dayFolder + "\\*.jpg").empty());  // posted: the local copies are gone
  EXPECT_TRUE(FindFile(tagFolder + "\\*.tag").empty());
  // The captures whose reports were never saved are still there.
  EXPECT_TRUE(Exists(temp + first));
  EXPECT_TRUE(Exists(temp + second));
  EXPECT_EQ(ReadAll(boxLog_), "");  // SHOW 0: no box

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0);
  // The settings file keeps the store's folder byte for byte.
  EXPECT_NE(ReadAll(DataFolder() + "Kestro.ini").find("LOCALDIR=" + localDir_ + "\r\n"), std::string::npos);

  // The next start queues the captures left behind, oldest first, and posts them.
  EndKestro(process_);
  ASSERT_TRUE(StartKestro(process_));
  EXPECT_TRUE(WaitFor([&] { return !Exists(temp + first) && !Exists(temp + second); }, 30000)) << ReadLog();
  log = ReadLog();
  const std::string queued = "Kestro,fncInit()取込ファイル再登録=" + temp;  // oldest first
  EXPECT_LT(log.find(queued + first + "\r\n"), log.find(queued + second + "\r\n")) << log;
}
