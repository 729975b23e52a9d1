#include "common/SysLogFile.h"

#include <windows.h>

#include "common/FileSystem.h"
#include "common/portable/SysLogCleanup.h"
#include "common/portable/SysLogLine.h"

namespace {

constexpr int kOpenTries = 10;
constexpr DWORD kOpenRetryMs = 5;

LogTime ToLogTime(const SYSTEMTIME& st) {
  return LogTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace

void AppendToLogFile(const std::string& path, const std::string& text) {
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < kOpenTries && file == INVALID_HANDLE_VALUE; ++attempt) {
    if (attempt) Sleep(kOpenRetryMs);
    file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) return;  // held for longer: the text is lost
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

bool AppendSysLogLine(const std::string& dataDir, const std::string& tag, const std::string& message) {
  return AppendSysLogLines(dataDir, tag, {message});
}

bool AppendSysLogLines(const std::string& dataDir, const std::string& tag, const std::vector<std::string>& messages) {
  if (dataDir.empty()) return false;  // before start-up has fixed the folders
  if (messages.empty()) return true;
  try {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string lines;
    for (const std::string& message : messages) lines += BuildSysLogLine(ToLogTime(now), tag, message);
    const std::string folder = dataDir + "syslog";
    if (!FolderExists(folder)) ForceDirectories(folder);
    const std::string path = folder + "\\" + SysLogFileName(ToLogTime(now));
    // The client and the manager share the file.
    AppendToLogFile(path, lines);
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
  int days;
  static bool badDaysLogged = false;  // the clean-up runs daily: once is enough
  if (!ParseKeepDays(validDay, days) && !badDaysLogged) {
    log("VALIDDAY=" + validDay + "<-正の整数ではないため" + std::to_string(days) + "日とします。");
    badDaysLogged = true;
  }
  const std::string cutoff = LogCutoffKey(today.wYear, today.wMonth, today.wDay, days);
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
