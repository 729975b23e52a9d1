#include "transfer/portable/FtpLogLine.h"

#include <cstdio>

namespace transfer {

std::string FormatFtpLogLine(const FtpLogTime& time, const std::string& message) {
  return BuildSysLogLine(time, "(TmxFTP)", message);
}

std::string FtpLogFolder(const std::string& base) { return base + "syslog"; }

std::string FtpLogFileName(const std::string& base, const FtpLogTime& t) {
  char name[32];
  std::snprintf(name, sizeof(name), "\\FTP%04d%02d%02d.txt", t.year, t.month, t.day);
  return FtpLogFolder(base) + name;
}

}  // namespace transfer
