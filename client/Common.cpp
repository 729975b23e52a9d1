#include "client/Common.h"

#include <shlobj.h>

#include <exception>
#include <stdexcept>

#include "client/Global.h"
#include "client/SettingsValues.h"
#include "transfer/portable/Cp932.h"
#include "client/portable/HintCommand.h"
#include "client/portable/SysLogCleanup.h"
#include "transfer/portable/SysLogLine.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"

namespace {

LogTime ToLogTime(const SYSTEMTIME& st) {
  return LogTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

std::string SysLogFolder() { return gDataDir + "syslog"; }

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string ExceptionMessage() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "不明なエラーが発生しました";
  }
}

bool ForceDirectories(const std::string& path) {
  std::string folder = path;
  while (Cp932EndsWith(folder, '\\')) folder.pop_back();
  if (folder.empty()) return false;
  DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  // The parent ends at the last "\" that is not the second byte of a character.
  size_t lastSlash = std::string::npos;
  for (size_t pos = 0; pos < folder.size(); pos += Cp932CharLength(folder, pos))
    if (folder[pos] == '\\' || folder[pos] == '/') lastSlash = pos;
  if (lastSlash != std::string::npos && lastSlash > 0 && folder[lastSlash - 1] != ':' &&
      !ForceDirectories(folder.substr(0, lastSlash)))
    return false;
  if (CreateDirectoryA(folder.c_str(), nullptr)) return true;
  return GetLastError() == ERROR_ALREADY_EXISTS;
}

bool fncWriteSysLog(const std::string& message) {
  if (gDataDir.empty()) return false;  // before start-up has fixed the folders
  try {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string line = BuildSysLogLine(ToLogTime(now), kestro::kLogTag, message);
    std::string folder = SysLogFolder();
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) ForceDirectories(folder);
    std::string path = folder + "\\" + SysLogFileName(ToLogTime(now));
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

void fncCleanUpSysLog(const std::string& pattern, const std::string& validDay) {
  fncWriteSysLog("Clean up syslog.");
  SYSTEMTIME today;
  GetLocalTime(&today);
  std::string cutoff = LogCutoffKey(today.wYear, today.wMonth, today.wDay, ParseKeepDays(validDay));
  fncWriteSysLog(cutoff + "以前の" + pattern + "データを消去します。");
  if (LogKeyPosition(pattern) == std::string::npos) {
    fncWriteSysLog("指定ファイル種別不正");
    return;
  }
  std::string folder = SysLogFolder() + "\\";
  ForceDirectories(folder);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!IsExpiredLogName(found.cFileName, pattern, cutoff)) continue;
    std::string path = folder + "\\" + found.cFileName;
    DeleteFileA(path.c_str());
    fncWriteSysLog("DeleteLog->" + path);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

std::string fncGetComputerName(std::string& name) {
  char buffer[256] = {};
  DWORD size = 255;
  name = GetComputerNameA(buffer, &size) ? std::string(buffer, size) : std::string();
  return name;
}

bool fncDeleteFile(const std::string& path) {
  bool done = false;
  for (int attempt = 0; attempt < kestro::kRetryCount; ++attempt) {
    done = DeleteFileA(path.c_str()) != FALSE;
    if (done) break;
    Sleep(100);
  }
  return done;
}

bool fncCopyFile(const std::string& source, const std::string& target, bool failIfExists) {
  bool done = false;
  for (int attempt = 0; attempt < kestro::kRetryCount; ++attempt) {
    done = CopyFileA(source.c_str(), target.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
    if (done) break;
    Sleep(100);
  }
  return done;
}

std::string fncMapString(const std::string& text, DWORD flags, std::string& result) {
  result = text;
  if (text.empty()) return result;
  int size = LCMapStringA(LOCALE_SYSTEM_DEFAULT, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return result;
  std::string mapped(static_cast<size_t>(size), '\0');
  size = LCMapStringA(LOCALE_SYSTEM_DEFAULT, flags, text.data(), static_cast<int>(text.size()), &mapped[0], size);
  if (size > 0) result = mapped.substr(0, static_cast<size_t>(size));
  return result;
}

std::string fncGetSpecialFolder(int folderId, std::string& path) {
  char buffer[MAX_PATH] = {};
  path.clear();
  if (SHGetSpecialFolderPathA(nullptr, buffer, folderId, FALSE)) {
    path = buffer;
    if (Cp932EndsWith(path, '\\')) path.pop_back();
  }
  return path;
}

bool fncFindLocalFile(const std::string& localDir, const std::string& subfolder, const std::string& fileName,
                      std::string& found) {
  found.clear();
  std::string base, extension;
  fncSplitFileName(fileName, base, extension);
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((localDir + subfolder + "\\" + base + "_*.*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  found = data.cFileName;
  FindClose(search);
  return true;
}

bool fncFindLocalFile(const std::string& subfolder, const std::string& fileName, std::string& found) {
  return fncFindLocalFile(gSettings.LOCALDIR, subfolder, fileName, found);
}

void fncShowHint(HWND owner) {
  std::string path = gExeDir + kestro::kDocFolder + kestro::kHintFile;
  if (FileExists(path)) {
    WinExec(HintCommandLine(path).c_str(), SW_HIDE);
  } else {
    forms::ShowMessageBox(owner, "ヒントファイルが見つかりません", forms::Application::Instance().Title(),
                          MB_OK | MB_TOPMOST);
  }
}
