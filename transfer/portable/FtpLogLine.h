// Text of one FTP log line and the name of the day's log file.
#pragma once
#include <string>

#include "common/portable/Cp932.h"
#include "common/portable/SysLogLine.h"

namespace transfer {

using FtpLogTime = LogTime;

// "yyyy/mm/dd,hh:nn:ss.zzz,(TmxFTP),<message>": the syslog line of the
// programs with the module's own tag.
std::string FormatFtpLogLine(const FtpLogTime& time, const std::string& message);

// base + "syslog" and that folder + "\FTP<yyyymmdd>.txt".
std::string FtpLogFolder(const std::string& base);
std::string FtpLogFileName(const std::string& base, const FtpLogTime& time);

}  // namespace transfer
