#include "client/portable/SettingsKeys.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

const char* const kSettingsKeys[kSettingsKeyCount] = {
    "DATE",     "NUM",       "OPERATION", "STYLE",    "EXCELPWD",  "TOP",          "LEFT",
    "HEIGHT",   "WIDTH",     "SAVE",      "LOCALDIR", "FILESAVEPATH", "SHOW",      "SERVER",
    "PASSWD",   "USERID",    "PROJECT",   "VALIDDAY", "CRFLAG",    "CRSTR",        "MASKCOLOR",
    "WAKUTYPE", "WAKUCOLOR", "WAKUWIDTH", "MOJISIZE", "MOJICOLOR", "YAJICOLOR"};

SettingsPairs SettingsKeyValues(const SettingsValues& v) {
  using std::to_string;
  const std::string values[kSettingsKeyCount] = {
      v.DATE,      to_string(v.NUM),   v.OPERATION, to_string(v.STYLE), to_string(v.EXCELPWD),
      to_string(v.TOP), to_string(v.LEFT), to_string(v.HEIGHT), to_string(v.WIDTH),
      to_string(v.SAVE), v.LOCALDIR, v.FILESAVEPATH, to_string(v.SHOW), v.SERVER,
      v.PASSWD,    v.USERID,  v.PROJECT, v.VALIDDAY, v.CRFLAG,  v.CRSTR,   v.MASKCOLOR,
      v.WAKUTYPE,  v.WAKUCOLOR, v.WAKUWIDTH, v.MOJISIZE, v.MOJICOLOR, v.YAJICOLOR};
  SettingsPairs pairs;
  for (int i = 0; i < kSettingsKeyCount; ++i) pairs.emplace_back(kSettingsKeys[i], values[i]);
  return pairs;
}

bool operator==(const SettingsValues& a, const SettingsValues& b) {
  return SettingsKeyValues(a) == SettingsKeyValues(b);
}

int ParseSettingsInteger(const std::string& text, int fallback) {
  size_t pos = text.find_first_not_of(" \t");
  if (pos == std::string::npos) return fallback;
  size_t digits = pos;
  if (text[digits] == '+' || text[digits] == '-') ++digits;
  if (digits == text.size()) return fallback;
  for (size_t i = digits; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return fallback;
  errno = 0;
  const long long value = std::strtoll(text.c_str() + pos, nullptr, 10);
  if (errno == ERANGE || value < INT_MIN || value > INT_MAX) return fallback;
  return static_cast<int>(value);
}
