#include "common/LocalTime.h"

#include <windows.h>

#include <cstdio>

std::string TodayText(const std::string& separator) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u%s%02u%s%02u", now.wYear, separator.c_str(), now.wMonth, separator.c_str(),
                now.wDay);
  return text;
}
