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

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The server's root folder as this Windows program sees it (Z: is "/").
std::string ServerRoot() {
  std::string root = "Z:" + Env("KESTRO_TEST_FTP_ROOT");
  for (char& c : root)
    if (c == '/') c = '\\';
  return root + "\\";
}

class KestroFtpProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
    CreateDirectoryA((DataFolder().substr(0, DataFolder().size() - 8)).c_str(), nullptr);
    CreateDirectoryA(DataFolder().c_str(), nullptr);
    std::ofstream ini(DataFolder() + "Kestro.ini", std::ios::binary);
    ini << "[KESTRO]\r\nSAVE=1\r\nSHOW=0\r\nSTYLE=1\r\nOPERATION=PC01\r\nPROJECT=SALES\r\nVALIDDAY=10\r\n"
        << "SERVER=" << Env("KESTRO_TEST_FTP_HOST") << "\r\nUSERID=" << Env("KESTRO_TEST_FTP_USER")
        << "\r\nPASSWD=" << Env("KESTRO_TEST_FTP_PASS") << "\r\n";
  }
  void TearDown() override {
    EndKestro(process_);
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  }
  PROCESS_INFORMATION process_{};
};

}  // namespace

TEST_F(KestroFtpProcessTest, ACaptureEndsOnTheServerAsReportAndTag) {
  ASSERT_FALSE(Env("KESTRO_TEST_FTP_HOST").empty());
  ASSERT_TRUE(StartKestro(process_));
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = FindWindowA("TForm1", "Kestro")) != nullptr; }, 20000));
  // The registration form, created last, reads the project list again after
  // its start-time fetches from the server; start-up completes right after.
  auto readsOfProjectList = [] {
    std::string log = ReadAll(TodayLog());
    size_t count = 0;
    for (size_t at = log.find("Kestro,fncReadFile()\r\n"); at != std::string::npos;
         at = log.find("Kestro,fncReadFile()\r\n", at + 1))
      ++count;
    return count;
  };
  ASSERT_TRUE(WaitFor([&] { return readsOfProjectList() >= 2; }, 30000)) << ReadAll(TodayLog());
  Sleep(500);
  ASSERT_TRUE(SnapTrapTestCapture(FALSE));

  const std::string day = Today("%04d%02d%02d");
  const std::string dayFolder = ServerRoot() + "kestro\\" + day + "\\";
  std::string report;
  ASSERT_TRUE(WaitFor([&] { return !(report = FindFile(dayFolder + "SALES_PC01" + day + "*.jpg")).empty(); }, 30000))
      << ReadAll(TodayLog());
  // [project_]terminal + yyyymmdd + hhnnss + the day's first counter.
  ASSERT_EQ(report.size(), std::string("SALES_PC01").size() + 8 + 6 + 3 + 4);
  EXPECT_EQ(report.substr(report.size() - 7), "001.jpg");
  const std::string base = report.substr(0, report.size() - 4);
  const std::string tag = ServerRoot() + "kestro\\" + day + "tag\\" + base + "_.tag";
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
