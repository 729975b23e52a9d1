#include "client/CaptureDate.h"

bool CaptureStampFromFileTime(const FILETIME& utc, CaptureStamp& stamp) {
  FILETIME local;
  SYSTEMTIME t;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return false;
  char text[32];
  wsprintfA(text, "%04u%02u%02u", t.wYear, t.wMonth, t.wDay);
  stamp.date = text;
  wsprintfA(text, "%02u%02u%02u", t.wHour, t.wMinute, t.wSecond);
  stamp.time = text;
  char weekday[64] = {};
  GetDateFormatA(LOCALE_SYSTEM_DEFAULT, 0, &t, "dddd", weekday, sizeof weekday);
  wsprintfA(text, "%04u/%02u/%02u", t.wYear, t.wMonth, t.wDay);
  stamp.display = std::string(text) + " (" + weekday + ")";
  return true;
}
