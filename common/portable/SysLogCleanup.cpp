#include "common/portable/SysLogCleanup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/portable/SysLogLine.h"

bool ParseKeepDays(const std::string& validDay, int& days) {
  const std::string text = TrimBlanks(validDay);
  days = kDefaultKeepDays;
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const size_t digits = text.size() - std::min(text.find_first_not_of('0'), text.size());
  if (digits == 0) return false;
  days = digits > 5 ? 99999 : std::atoi(text.c_str());  // beyond that nothing is old enough anyway
  return true;
}

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y += m <= 2;
}

}  // namespace

std::string LogCutoffKey(int year, int month, int day, int days) {
  long long y;
  unsigned m, d;
  CivilFromDays(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - days, y, m, d);
  char key[32];
  std::snprintf(key, sizeof key, "%04lld%02u%02u", y, m, d);
  return key;
}

size_t LogKeyPosition(const std::string& pattern) { return pattern.find('?'); }

bool IsExpiredLogName(const std::string& name, const std::string& pattern, const std::string& cutoff) {
  size_t pos = LogKeyPosition(pattern);
  if (pos == std::string::npos || pos >= name.size()) return false;
  std::string key = TrimBlanks(name.substr(pos, 8));
  if (key.size() != 8) return false;
  for (char c : key)
    if (c < '0' || c > '9') return false;
  return key <= cutoff;
}
