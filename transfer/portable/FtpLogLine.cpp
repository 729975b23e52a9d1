#include "transfer/portable/FtpLogLine.h"

#include <cstdio>

namespace transfer {
namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string Trim(const std::string& text) {
  std::string::size_type first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

}  // namespace

std::size_t Cp932CutLength(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t i = 0;
  while (i < limit) {
    std::size_t width = IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + width > limit) break;
    i += width;
  }
  return i;
}

std::string FormatFtpLogLine(const FtpLogTime& t, const std::string& message) {
  char stamp[40];
  std::snprintf(stamp, sizeof(stamp), "%04d/%02d/%02d,%02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour, t.minute,
                t.second, t.millisecond);
  std::string line = Trim(std::string(stamp) + ",(TmxFTP)," + message);
  line.resize(Cp932CutLength(line, kFtpLogLineMax));
  return line + "\r\n";
}

std::string FtpLogFolder(const std::string& base) { return base + "syslog"; }

std::string FtpLogFileName(const std::string& base, const FtpLogTime& t) {
  char name[32];
  std::snprintf(name, sizeof(name), "\\FTP%04d%02d%02d.txt", t.year, t.month, t.day);
  return FtpLogFolder(base) + name;
}

}  // namespace transfer
