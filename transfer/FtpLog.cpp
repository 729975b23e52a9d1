#include "transfer/FtpLog.h"

#include <windows.h>

#include "common/FileSystem.h"
#include "common/portable/FolderText.h"
#include "transfer/portable/FtpLogLine.h"

std::string ftpLogDir;
transfer::FtpVariant ftpVariant = transfer::FtpVariant::Client;

void fncWriteFtpLog(const std::string& message) {
  if (ftpLogDir.empty()) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  transfer::FtpLogTime time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
  std::string line = transfer::FormatFtpLogLine(time, message);
  ForceDirectories(transfer::FtpLogFolder(ftpLogDir));
  HANDLE file = CreateFileA(transfer::FtpLogFileName(ftpLogDir, time).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}
