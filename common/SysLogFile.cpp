#include "common/SysLogFile.h"

#include <windows.h>

#include "common/FileSystem.h"
#include "common/portable/SysLogCleanup.h"
#include "common/portable/SysLogLine.h"

namespace {

LogTime ToLogTime(const SYSTEMTIME& st) {
  return LogTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace

bool AppendSysLogLine(const std::string& dataDir, const std::string& tag, const std::string& message) {
  if (dataDir.empty()) return false;  // before start-up has fixed the folders
  try {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string line = BuildSysLogLine(ToLogTime(now), tag, message);
    const std::string folder = dataDir + "syslog";
    if (!FolderExists(folder)) ForceDirectories(folder);
    const std::string path = folder + "\\" + SysLogFileName(ToLogTime(now));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return true;  // another writer has it: the line is lost
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return true;
  } catch (...) {
    return false;
  }
}

void CleanUpSysLogFiles(const std::string& dataDir, const std::string& pattern, const std::string& validDay,
                        const std::function<void(const std::string&)>& log) {
  log("Clean up syslog.");
  SYSTEMTIME today;
  GetLocalTime(&today);
  const std::string cutoff = LogCutoffKey(today.wYear, today.wMonth, today.wDay, ParseKeepDays(validDay));
  log(cutoff + "以前の" + pattern + "データを消去します。");
  if (LogKeyPosition(pattern) == std::string::npos) {
    log("指定ファイル種別不正");
    return;
  }
  const std::string folder = dataDir + "syslog\\";
  ForceDirectories(folder);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!IsExpiredLogName(found.cFileName, pattern, cutoff)) continue;
    const std::string path = folder + "\\" + found.cFileName;
    DeleteFileA(path.c_str());
    log("DeleteLog->" + path);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}
