// Go.bat and Relay.ini through Wine's real command interpreter and its
// "ftype", with a data folder whose path holds a blank.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/ViewerLookup.h"
#include "common/portable/ViewerLookupText.h"
#include "tests/client/WineTestFiles.h"

namespace {

class ViewerLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "kestro viewer";
    RemoveTree(root_);
    data_ = root_ + "\\Veltrana data\\kestro\\";
    log_ = [this](const std::string& line) { lines_.push_back(line); };
  }
  void TearDown() override { RemoveTree(root_); }

  // Waits for the hidden batch run to finish writing Relay.ini.
  bool WaitForRelay(const std::string& key) {
    for (int i = 0; i < 300; ++i) {
      if (!fncGetRelay(data_, "temp\\", key, nullptr).empty()) return true;
      Sleep(100);
    }
    return false;
  }

  std::string root_, data_;
  std::vector<std::string> lines_;
  ViewerLog log_;
};

TEST_F(ViewerLookup, FirstRunWritesTheBatchAndFindsTheBrowser) {
  // No work folder yet: the first start makes it.
  ASSERT_TRUE(fncSetRelay(data_, "temp\\", log_));
  const std::string ini = "\"" + data_ + "temp\\Relay.ini\"";
  EXPECT_EQ(ReadAll(data_ + "temp\\Go.bat"), "echo [relay]>" + ini + "\r\n" + "ftype htmlfile>>" + ini + "\r\n" +
                                                 "ftype giffile>>" + ini + "\r\n" + "ftype jpegfile>>" + ini + "\r\n");
  ASSERT_TRUE(WaitForRelay("htmlfile"));
  const std::string command = fncGetRelay(data_, "temp\\", "htmlfile", log_);
  // Wine's registered browser, exactly as ftype prints it.
  EXPECT_NE(command.find("winebrowser.exe"), std::string::npos) << command;
  EXPECT_EQ(lines_.front(), "fncSetRelay()");
  EXPECT_EQ(lines_.back(), "fncGetRelay()TempAssign=htmlfile<<" + command);
  const std::string relay = ReadAll(data_ + "temp\\Relay.ini");
  EXPECT_EQ(relay.rfind("[relay]\r\n", 0), 0u) << relay;
}

TEST_F(ViewerLookup, MissingOrUnusableValues) {
  lines_.clear();
  EXPECT_EQ(fncGetRelay(data_, "temp\\", "", log_), "");
  EXPECT_EQ(lines_, std::vector<std::string>{"fncGetRelay()"});  // the file is not read
  EXPECT_EQ(fncGetRelay(data_, "temp\\", "htmlfile", log_), "");  // no Relay.ini yet
  EXPECT_EQ(lines_.back(), "fncGetRelay()TempAssign=htmlfile<<");

  ASSERT_TRUE(fncSetRelay(data_, "temp\\", nullptr));
  ASSERT_TRUE(WaitForRelay("htmlfile"));  // the batch appends nothing more
  const std::string long_command = "\"C:\\Program Files\\b.exe\" -nohome " + std::string(5000, 'x');
  std::string ini = "[relay]\r\nhtmlfile=error\r\njpegfile=" + long_command + "\r\n";
  HANDLE file = CreateFileA((data_ + "temp\\Relay.ini").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, ini.data(), static_cast<DWORD>(ini.size()), &written, nullptr);
  CloseHandle(file);
  EXPECT_EQ(fncGetRelay(data_, "temp\\", "htmlfile", log_), "");
  EXPECT_EQ(fncGetRelay(data_, "temp\\", "giffile", log_), "");
  EXPECT_EQ(fncGetRelay(data_, "temp\\", "jpegfile", log_), long_command);
}

TEST_F(ViewerLookup, UnwritableWorkFolderIsLoggedNotRaised) {
  // A file where the data folder should be.
  CreateDirectoryA(root_.c_str(), nullptr);
  HANDLE file = CreateFileA((root_ + "\\Veltrana data").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(file);
  EXPECT_FALSE(fncSetRelay(data_, "temp\\", log_));
  ASSERT_EQ(lines_.size(), 2u);
  EXPECT_EQ(lines_[1].rfind("fncSetRelay()ERROR=", 0), 0u);
}

}  // namespace
