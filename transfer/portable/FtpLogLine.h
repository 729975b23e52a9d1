// Text of one FTP log line and the name of the day's log file.
#pragma once
#include <string>

namespace transfer {

struct FtpLogTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

constexpr std::size_t kFtpLogLineMax = 512;

// "yyyy/mm/dd,hh:nn:ss.zzz,(TmxFTP),<message>", trimmed of blanks and control
// characters at both ends, cut to 512 bytes without splitting a double-byte
// character, then CR LF.
std::string FormatFtpLogLine(const FtpLogTime& time, const std::string& message);

// base + "syslog" and that folder + "\FTP<yyyymmdd>.txt".
std::string FtpLogFolder(const std::string& base);
std::string FtpLogFileName(const std::string& base, const FtpLogTime& time);

// Length of the longest prefix of at most `limit` bytes that ends on a
// character boundary of code page 932.
std::size_t Cp932CutLength(const std::string& text, std::size_t limit);

}  // namespace transfer
