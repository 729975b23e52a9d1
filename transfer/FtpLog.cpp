#include "transfer/FtpLog.h"

#include <windows.h>

#include "common/FileSystem.h"
#include "common/SysLogFile.h"
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
  // A reader of the log (a viewer, the user) does not cost the line.
  AppendToLogFile(transfer::FtpLogFileName(ftpLogDir, time), line);
}
