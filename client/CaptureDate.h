// Dating a capture from its file's creation time.
#pragma once
#include <windows.h>

#include <string>

struct CaptureStamp {
  std::string date;     // yyyymmdd, local time
  std::string time;     // hhnnss
  std::string display;  // "yyyy/mm/dd (曜日)" with the system locale's long weekday name
};

// False when the time cannot be converted.
bool CaptureStampFromFileTime(const FILETIME& utc, CaptureStamp& stamp);
