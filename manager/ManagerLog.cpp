#include "manager/ManagerLog.h"

#include "common/SysLogFile.h"
#include "manager/ManagerSettings.h"
#include "manager/portable/CatalogueDay.h"

bool fncWriteSysLog(const std::string& message) { return AppendSysLogLine(gDataDir, "(KestroMgr)", message); }

bool fncWriteSysLogLines(const std::vector<std::string>& messages) {
  return AppendSysLogLines(gDataDir, "(KestroMgr)", messages);
}

void LogSkipped(const std::vector<SkippedEntry>& skipped) {
  std::vector<std::string> lines;
  for (const SkippedEntry& entry : skipped) {
    lines.push_back(entry.text);
    lines.push_back(SkipReasonText(entry.reason));
  }
  fncWriteSysLogLines(lines);
}

void fncCleanUpSysLog(const std::string& pattern, const std::string& validDay) {
  CleanUpSysLogFiles(gDataDir, pattern, validDay, [](const std::string& line) { fncWriteSysLog(line); });
}
