#include "updater/Global.h"

#include "common/SysLogFile.h"

std::string gDataDir;
std::string gExeDir;
std::string gExePath;
std::string gIniPath;

bool fncWriteSysLog(const std::string& message) {
  try {
    return AppendSysLogLine(gDataDir, updater::kLogTag, message);
  } catch (...) {
    return false;
  }
}
