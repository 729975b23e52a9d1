// Shared parts of the transfer client's tests against a real FTP server:
// the server's address from the environment, its folder as a Wine path, and
// a fixture that holds one TTmxFtp.
#pragma once
#include "common/FileSystem.h"
#include <winsock2.h>
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "forms/Timer.h"
#include "transfer/FtpLog.h"
#include "transfer/TTmxFtp.h"

namespace ftptest {

std::string Env(const char* name);
// The server's root folder ("kestro" is the writable folder inside it).
std::string ServerRoot();
std::string ServerKestro();
// The local work folder of this test program (one per server address).
std::string LocalFolder();

std::string ReadFileBytes(const std::string& name);
void WriteFileBytes(const std::string& name, const std::string& bytes);
// Deletes everything inside `folder` (which ends in "\\").
void EmptyFolder(const std::string& folder);
std::string RandomBytes(size_t size, unsigned seed);
// Lines of today's FTP log under `base`.
std::string ReadFtpLog(const std::string& base);
size_t CountOf(const std::string& text, const std::string& part);

// Counts the ticks of a 20 ms forms::Timer: the message loop runs while it grows.
class TickCounter {
 public:
  TickCounter();
  int Ticks() const { return ticks_; }

 private:
  forms::Timer timer_;
  int ticks_ = 0;
};

class FtpServerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Logs in and changes into the writable folder "kestro".
  void LoginToKestro();
  int DownloadTo(const std::string& remote, const std::string& local);
  int UploadFrom(const std::string& local, const std::string& remote);
  std::string Log() const { return ReadFtpLog(ftpLogDir); }
  DWORD Elapsed(DWORD since) const { return GetTickCount() - since; }

  std::unique_ptr<TTmxFtp> ftp;
  std::string local;  // local work folder
};

}  // namespace ftptest
