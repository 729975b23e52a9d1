#include "tests/transfer/FtpTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "transfer/FtpLog.h"
#include "common/FileSystem.h"
#include "common/portable/FolderText.h"

namespace ftptest {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string ServerRoot() {
  std::string path = "Z:" + Env("KESTRO_TEST_FTP_ROOT");
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path + "\\";
}

std::string ServerKestro() { return ServerRoot() + "kestro\\"; }

std::string LocalFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "kestro_ftp_" + Env("KESTRO_TEST_FTP_HOST") + "\\";
  ForceDirectories(folder);
  return folder;
}

std::string ReadFileBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFileBytes(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}


std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

std::string ReadFtpLog(const std::string& base) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char name[32];
  snprintf(name, sizeof(name), "syslog\\FTP%04d%02d%02d.txt", now.wYear, now.wMonth, now.wDay);
  return ReadFileBytes(base + name);
}

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

TickCounter::TickCounter() {
  timer_.OnTimer = [this] { ++ticks_; };
  timer_.SetInterval(20);
  timer_.SetEnabled(true);
}

void EmptyFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      EmptyFolder(folder + name + "\\");
      RemoveDirectoryA((folder + name).c_str());
    } else {
      DeleteFileA((folder + name).c_str());
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

void FtpServerTest::SetUp() {
  ASSERT_FALSE(Env("KESTRO_TEST_FTP_HOST").empty()) << "run through tests/servers/run_with_server.py";
  local = LocalFolder();
  // Each test starts with an empty server folder and a log of its own.
  EmptyFolder(ServerKestro());
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  ftpLogDir = local + info->name() + "\\";
  EmptyFolder(ftpLogDir);
  ftpVariant = transfer::FtpVariant::Client;
  ftp.reset(new TTmxFtp());
  ASSERT_TRUE(ftp->Create());
  ftp->host = Env("KESTRO_TEST_FTP_HOST");
  ftp->userid = Env("KESTRO_TEST_FTP_USER");
  ftp->passwd = Env("KESTRO_TEST_FTP_PASS");
  ftp->TimeOut = "5000";
}

void FtpServerTest::TearDown() {
  if (ftp) ftp->FtpDisconnect();
  ftp.reset();
}

void FtpServerTest::LoginToKestro() {
  ASSERT_EQ(ftp->FtpLogin(), 0) << Log();
  ftp->path = "kestro";
  ASSERT_EQ(ftp->FtpChDir(), 0) << Log();
}

int FtpServerTest::DownloadTo(const std::string& remote, const std::string& localName) {
  ftp->filename = remote;
  ftp->localFileName = localName;
  return ftp->FtpDownload();
}

int FtpServerTest::UploadFrom(const std::string& localName, const std::string& remote) {
  ftp->filename = remote;
  ftp->localFileName = localName;
  return ftp->FtpUpload();
}

}  // namespace ftptest
