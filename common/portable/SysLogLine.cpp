#include "common/portable/SysLogLine.h"

#include <cstdio>

#include "common/portable/Cp932.h"

std::string TrimBlanks(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

std::string BuildSysLogLine(const LogTime& t, const std::string& tag, const std::string& message) {
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d,%02d:%02d:%02d.%03d,", t.year, t.month, t.day, t.hour,
                t.minute, t.second, t.millisecond);
  std::string line = TrimBlanks(stamp + tag + "," + message);
  line.resize(Cp932CutLength(line, kMaxLogLineBytes));
  return line + "\r\n";
}

std::string SysLogFileName(const LogTime& t) {
  char name[24];
  std::snprintf(name, sizeof name, "%04d%02d%02d.txt", t.year, t.month, t.day);
  return name;
}
