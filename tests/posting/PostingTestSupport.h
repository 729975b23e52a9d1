// Shared parts of the posting tests: a local report store in a temporary
// folder, the settings pointing at it and at the test's FTP server, one
// transfer client and the poster, with tray states and boxes recorded.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "client/ReportPosting.h"
#include "forms/MessageBox.h"
#include "transfer/TTmxFtp.h"

namespace postingtest {

inline constexpr char kDay[] = "20240501";
inline constexpr char kSuffix[] = "\r\nファイルはローカルPCに保存しました";
// A report of project 営業部 with the title 画面が固まる, as the capture of
// PrepareCapture is saved, and its tag file.
inline constexpr char kJapaneseReport[] = "営業部_PC0120240501093000001.jpg";
inline constexpr char kJapaneseTag[] = "営業部_PC0120240501093000001_画面が固まる.tag";

bool Exists(const std::string& path);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// The client's syslog of today under gDataDir.
std::string TodaysSysLog();

class PostingTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a report (and, when title is given, its empty tag file) into the
  // local store: LOCALDIR<day>\<name> and LOCALDIR<day>tag\<base>_<title>.tag.
  void PutLocalReport(const std::string& name, const std::string& bytes, const char* title);
  std::string LocalReport(const std::string& name) const;
  std::string LocalTag(const std::string& tagName) const;
  // A capture in the work folder, saved as a picture report on a save first.
  void PrepareCapture(const std::string& project, const std::string& title, const std::string& bytes);
  // The server's kestro folder as a Windows path, no trailing backslash
  // ("" without a server).
  std::string ServerKestro() const;
  // A file below the server's kestro folder, or beside it ("..\\name").
  std::string OnServer(const std::string& relative) const { return ServerKestro() + "\\" + relative; }
  int LastTray() const { return trays.empty() ? -1 : trays.back(); }

  std::string root;  // everything local of this test
  std::unique_ptr<TTmxFtp> ftp;
  std::unique_ptr<ReportPoster> poster;
  std::vector<int> trays;
  std::vector<forms::MessageBoxRecord> boxes;
};

}  // namespace postingtest
