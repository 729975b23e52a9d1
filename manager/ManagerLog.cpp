#include "manager/ManagerLog.h"

#include "common/SysLogFile.h"
#include "manager/ManagerSettings.h"

bool fncWriteSysLog(const std::string& message) { return AppendSysLogLine(gDataDir, "(KestroMgr)", message); }

bool fncWriteSysLogLines(const std::vector<std::string>& messages) {
  return AppendSysLogLines(gDataDir, "(KestroMgr)", messages);
}

void fncCleanUpSysLog(const std::string& pattern, const std::string& validDay) {
  CleanUpSysLogFiles(gDataDir, pattern, validDay, [](const std::string& line) { fncWriteSysLog(line); });
}
