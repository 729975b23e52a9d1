// One line of the daily syslog file and the file's name.
#pragma once
#include <string>

struct LogTime {
  int year, month, day;
  int hour, minute, second, millisecond;
};

inline constexpr size_t kMaxLogLineBytes = 512;

// "yyyy/mm/dd,hh:nn:ss.zzz,<tag>,<message>", stripped of blanks and control
// characters at both ends, cut to 512 bytes on a character boundary, CR LF.
std::string BuildSysLogLine(const LogTime& time, const std::string& tag, const std::string& message);

// "yyyymmdd.txt"
std::string SysLogFileName(const LogTime& time);

// Removes bytes 0x00-0x20 at both ends.
std::string TrimBlanks(const std::string& text);
