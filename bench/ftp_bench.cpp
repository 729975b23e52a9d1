// Times uploads and downloads through TTmxFtp.
//   ftp_bench HOST USER PASS FOLDER LOCALFILE...
// For each local file: FtpUpload to FOLDER/<name>, then FtpDownload back to
// <file>.back; prints "up|down <name> <bytes> <milliseconds>" per transfer.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "forms/Application.h"
#include "transfer/FtpLog.h"
#include "transfer/TTmxFtp.h"

namespace {

std::string BaseName(const std::string& path) {
  std::string::size_type slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

long long SizeOf(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: ftp_bench HOST USER PASS FOLDER LOCALFILE...\n");
    return 2;
  }
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  ftpLogDir = std::string(temp) + "kestro_ftp_bench\\";
  ftpVariant = transfer::FtpVariant::Client;
  TTmxFtp ftp;
  if (!ftp.Create()) return 1;
  ftp.host = argv[1];
  ftp.userid = argv[2];
  ftp.passwd = argv[3];
  ftp.TimeOut = "600000";
  if (ftp.FtpLogin() != 0) {
    std::fprintf(stderr, "login failed\n");
    return 1;
  }
  ftp.path = argv[4];
  if (ftp.FtpChDir() != 0) return 1;
  int status = 0;
  for (int i = 5; i < argc; ++i) {
    const std::string source = argv[i];
    const std::string back = source + ".back";
    const std::string remote = BaseName(source);
    long long bytes = SizeOf(source);
    LARGE_INTEGER t0, t1, t2;
    ftp.filename = remote;
    ftp.localFileName = source;
    QueryPerformanceCounter(&t0);
    int up = ftp.FtpUpload();
    QueryPerformanceCounter(&t1);
    ftp.localFileName = back;
    int down = up == 0 ? ftp.FtpDownload() : -1;
    QueryPerformanceCounter(&t2);
    if (up != 0 || down != 0 || SizeOf(back) != bytes) {
      std::fprintf(stderr, "%s: upload %d, download %d\n", remote.c_str(), up, down);
      status = 1;
      continue;
    }
    std::printf("up %s %lld %.1f\n", remote.c_str(), bytes, Milliseconds(t0, t1));
    std::printf("down %s %lld %.1f\n", remote.c_str(), bytes, Milliseconds(t1, t2));
    std::fflush(stdout);
    DeleteFileA(back.c_str());
  }
  ftp.FtpDisconnect();
  return status;
}
