#include "tests/posting/PostingTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "client/CaptureState.h"
#include "client/Common.h"
#include "client/Global.h"
#include "client/SettingsValues.h"
#include "forms/Application.h"
#include "tests/client/WineTestFiles.h"
#include "transfer/FtpLog.h"

namespace postingtest {

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadBytes(const std::string& path) { return ReadAll(path); }

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TodaysSysLog() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char name[32];
  snprintf(name, sizeof(name), "syslog\\%04d%02d%02d.txt", now.wYear, now.wMonth, now.wDay);
  return ReadAll(gDataDir + name);
}

void PostingTest::SetUp() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string host = Env("KESTRO_TEST_FTP_HOST");
  root = std::string(temp) + "kestro_posting_" + (host.empty() ? "local" : host);
  RemoveTree(root);
  gDataDir = root + "\\data\\";
  gExeDir = root + "\\exe\\";
  ASSERT_TRUE(ForceDirectories(gDataDir + "temp"));
  ASSERT_TRUE(ForceDirectories(gExeDir));
  ftpLogDir = gDataDir;
  ftpVariant = transfer::FtpVariant::Client;
  forms::Application::Instance().SetTitle("Kestro");

  gSettings = SettingsValues();
  gSettings.DATE = "20240430";
  gSettings.NUM = 5;
  gSettings.OPERATION = "PC01";
  gSettings.STYLE = 1;
  gSettings.SAVE = 1;
  gSettings.SHOW = 1;
  gSettings.LOCALDIR = root + "\\store\\";
  gSettings.FILESAVEPATH = root + "\\shared\\";
  gSettings.SERVER = host;
  gSettings.USERID = Env("KESTRO_TEST_FTP_USER");
  gSettings.PASSWD = Env("KESTRO_TEST_FTP_PASS");
  if (!ServerKestro().empty()) {
    RemoveTree(ServerKestro());
    ASSERT_TRUE(CreateDirectoryA(ServerKestro().c_str(), nullptr));
  }

  ftp.reset(new TTmxFtp());
  ASSERT_TRUE(ftp->Create());
  poster.reset(new ReportPoster(*ftp));
  poster->SetTrayState = [this](int state) { trays.push_back(state); };
  forms::SetMessageBoxHook([this](const forms::MessageBoxRecord& box) {
    boxes.push_back(box);
    return IDOK;
  });
}

void PostingTest::TearDown() {
  forms::SetMessageBoxHook(nullptr);
  poster.reset();
  if (ftp) ftp->FtpDisconnect();
  ftp.reset();
}

std::string PostingTest::LocalReport(const std::string& name) const {
  return gSettings.LOCALDIR + kDay + "\\" + name;
}

std::string PostingTest::LocalTag(const std::string& tagName) const {
  return gSettings.LOCALDIR + kDay + "tag\\" + tagName;
}

void PostingTest::PutLocalReport(const std::string& name, const std::string& bytes, const char* title) {
  ASSERT_TRUE(ForceDirectories(gSettings.LOCALDIR + kDay));
  ASSERT_TRUE(ForceDirectories(gSettings.LOCALDIR + kDay + "tag"));
  WriteBytes(LocalReport(name), bytes);
  if (title) WriteBytes(LocalTag(name.substr(0, name.rfind('.')) + "_" + title + ".tag"), "");
}

void PostingTest::PrepareCapture(const std::string& project, const std::string& title, const std::string& bytes) {
  gSettings.PROJECT = project;
  gCurrentCapture = "000001_1.jpg";
  gCaptureDate = kDay;
  gCaptureTime = "093000";
  gCaptureTitle = title;
  WriteBytes(CurrentCapturePath(), bytes);
}

std::string PostingTest::ServerKestro() const {
  std::string unix = Env("KESTRO_TEST_FTP_ROOT");
  if (unix.empty()) return "";
  std::string path = "Z:" + unix + "/kestro";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace postingtest
