#include "common/UpdaterSettings.h"

#include <windows.h>

bool fncWriteUpdaterKeys(const std::string& ini, const std::vector<std::pair<const char*, const char*>>& keys) {
  for (const auto& key : keys)
    if (!WritePrivateProfileStringA(kUpdaterSection, key.first, key.second, ini.c_str())) return false;
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // flush
  return true;
}
