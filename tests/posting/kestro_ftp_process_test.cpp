// The whole road of one report in the running client, SHOW 0: a capture of
// the hook library is saved and posted at once to a real FTP server.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "snaptrap/SnapTrap.h"
#include "tests/client/KestroProcessSupport.h"
#include "tests/client/WineTestFiles.h"

namespace {

class KestroFtpProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    boxLog_ = UseBoxLog("kestro_ftp_process_boxes.txt");
    WriteSettings("0");
    FreshServerStore();  // each case starts with an empty store
  }
  void WriteSettings(const char* show) {
    FreshDataFolder();
    std::ofstream ini(DataFolder() + "Kestro.ini", std::ios::binary);
    ini << "[KESTRO]\r\nSAVE=1\r\nSHOW=" << show << "\r\nSTYLE=1\r\nOPERATION=PC01\r\nPROJECT=SALES\r\nVALIDDAY=10\r\n"
        << FtpSettingsLines();
  }
  void TearDown() override {
    EndKestro(process_);
    DeleteFileA(boxLog_.c_str());
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  }
  PROCESS_INFORMATION process_{};
  std::string boxLog_;
};

}  // namespace

TEST_F(KestroFtpProcessTest, ACaptureEndsOnTheServerAsReportAndTag) {
  ASSERT_FALSE(EnvValue("KESTRO_TEST_FTP_HOST").empty());
  ASSERT_TRUE(StartKestro(process_));
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = FindWindowA("TForm1", "Kestro")) != nullptr; }, 20000));
  ASSERT_FALSE(CaptureWhenReady().empty()) << ReadAll(TodayLog());

  const std::string day = Today("%04d%02d%02d");
  const std::string dayFolder = FtpServerRoot() + "kestro\\" + day + "\\";
  std::string report;
  ASSERT_TRUE(WaitFor([&] { return !(report = FindFile(dayFolder + "SALES_PC01" + day + "*.jpg")).empty(); }, 30000))
      << ReadAll(TodayLog());
  // [project_]terminal + yyyymmdd + hhnnss + the day's first counter.
  ASSERT_EQ(report.size(), std::string("SALES_PC01").size() + 8 + 6 + 3 + 4);
  EXPECT_EQ(report.substr(report.size() - 7), "001.jpg");
  const std::string base = report.substr(0, report.size() - 4);
  const std::string tag = FtpServerRoot() + "kestro\\" + day + "tag\\" + base + "_.tag";
  ASSERT_TRUE(WaitFor([&] { return GetFileAttributesA(tag.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
  EXPECT_EQ(ReadAll(tag), "");
  EXPECT_EQ(ReadAll(dayFolder + report).substr(0, 2), "\xFF\xD8");
  EXPECT_TRUE(FindFile(dayFolder + "*.tmp").empty());

  // Posted: the local copies and the capture file are gone.
  EXPECT_TRUE(WaitFor([&] { return FindFile(DataFolder() + "temp\\*.jpg").empty(); }, 10000));
  EXPECT_TRUE(FindFile(DataFolder() + "images\\" + day + "\\*.*").find(".jpg") == std::string::npos);
  EXPECT_TRUE(FindFile(DataFolder() + "images\\" + day + "tag\\*.tag").empty());
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0);
}

TEST_F(KestroFtpProcessTest, AReportPostedFromTheFormEndsOnTheServerWithItsTitle) {
  WriteSettings("1");
  ASSERT_TRUE(StartKestro(process_));
  ASSERT_TRUE(WaitFor([] { return FindWindowA("TForm1", "Kestro") != nullptr; }, 20000));
  ASSERT_FALSE(CaptureWhenReady().empty()) << ReadAll(TodayLog());
  RegistrationFields fields;
  ASSERT_TRUE(WaitForRegistration(fields));
  HWND form = fields.form, terminal = fields.terminal, title = fields.title;
  // The form fills its fields as it shows; type once it has done so. (The
  // message goes to the client's thread, so it is answered after FormShow.)
  auto text = [](HWND window) {
    char buffer[64] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 5000,
                        &length);
    return std::string(buffer);
  };
  ASSERT_TRUE(WaitFor([&] { return text(terminal) == "PC01"; }, 15000)) << ReadAll(TodayLog());
  SendMessageA(title, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("disk full"));
  HWND post = FindControl(form, "Button", "ポスト");
  ASSERT_NE(post, nullptr);
  ASSERT_EQ(text(title), "disk full");
  SendMessageA(post, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(form); }, 30000)) << ReadAll(TodayLog());
  EXPECT_NE(ReadAll(boxLog_).find("Kestro\tポストしました\t"), std::string::npos) << ReadAll(boxLog_);

  const std::string day = Today("%04d%02d%02d");
  std::string report = FindFile(FtpServerRoot() + "kestro\\" + day + "\\SALES_PC01" + day + "*001.jpg");
  ASSERT_FALSE(report.empty()) << ReadAll(TodayLog());
  // The blank is removed from the title in the tag's name.
  const std::string tag = report.substr(0, report.size() - 4) + "_diskfull.tag";
  EXPECT_EQ(FindFile(FtpServerRoot() + "kestro\\" + day + "tag\\*.tag"), tag) << ReadAll(TodayLog());
  EXPECT_TRUE(FindFile(DataFolder() + "images\\" + day + "tag\\*.tag").empty());
  PostMessageA(FindWindowA("TForm1", "Kestro"), WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0);
}
