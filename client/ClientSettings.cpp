#include "client/ClientSettings.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/LocalTime.h"
#include "client/Common.h"
#include "client/Global.h"
#include "client/portable/SettingsDefaults.h"
#include "client/portable/SettingsKeys.h"
#include "client/portable/SettingsLog.h"

SettingsValues gSettings;

namespace {

// Lines of the main form start with its caption.
constexpr char kLogPrefix[] = "Kestro,";

void Log(const std::string& message) { fncWriteSysLog(kLogPrefix + message); }

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length ? std::string(text, length) : "エラー " + std::to_string(code);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
    message.pop_back();
  return message;
}

// The manager opens Kestro.ini shared for reading only while it reads or
// writes it: a sharing or lock violation is tried again, as the manager does.
constexpr int kTries = 5;
constexpr DWORD kPauseMs = 300;

bool IsHeldElsewhere(DWORD code) { return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION; }

// attempt() until it gives 0 or an error other than a hold, at most kTries times; the last error.
template <typename Attempt>
DWORD WhileHeld(const char* routine, Attempt attempt) {
  DWORD code = 0;
  for (int tried = 1;; ++tried) {
    code = attempt();
    if (!IsHeldElsewhere(code) || tried == kTries) return code;
    Log(std::string(routine) + "()設定ファイルが使用中のため再試行します=" + gIniPath);
    Sleep(kPauseMs);
  }
}

[[noreturn]] void Fail(const std::string& what, const std::string& path, DWORD code) {
  throw std::runtime_error(what + path + " " + SystemMessage(code));
}

// The profile functions read a file they cannot open as an empty one; the
// defaults would then overwrite the real settings at the next write.
void CheckReadable(const std::string& path) {
  const DWORD code = WhileHeld("fncSysRead", [&]() -> DWORD {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    CloseHandle(file);
    return 0;
  });
  if (code) Fail("設定ファイルを読めません:", path, code);
}

// GetPrivateProfileStringA into a buffer that grows until the text fits;
// truncation shows as a result of size - slack.
std::string ProfileString(const char* key, const std::string& path, DWORD slack) {
  std::vector<char> buffer(2048);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length =
        GetPrivateProfileStringA(kSettingsSection, key, "", buffer.data(), size, path.c_str());
    if (length < size - slack || buffer.size() >= (1u << 20)) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

bool SameKey(const std::string& a, const char* b) {
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b, -1) == CSTR_EQUAL;
}

// The values of the section's keys; a key missing from the file has no entry.
RawSettings ReadRawSettings(const std::string& path) {
  const std::string list = ProfileString(nullptr, path, 2);  // names separated by NULs
  RawSettings raw;
  for (size_t start = 0; start < list.size();) {
    const size_t end = list.find('\0', start);
    const std::string name = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
    for (const char* key : kSettingsKeys)
      if (!raw.count(key) && SameKey(name, key)) raw[key] = ProfileString(key, path, 1);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return raw;
}

void CreateFolder(const std::string& folder) {
  if (!ForceDirectories(folder)) Fail("フォルダを作成できません:", folder, GetLastError());
}

}  // namespace

bool fncSysRead() {
  Log("fncSysRead()");
  const SettingsContext context{gDataDir, gComputerName, TodayText()};
  const bool fromFile = FileExists(gIniPath);
  SettingsLoad load;
  if (fromFile) {
    Log("fncSysRead()iniFile=Read");
    CheckReadable(gIniPath);
    load = SettingsFromFile(ReadRawSettings(gIniPath), context);
  } else {
    load = SettingsWithoutFile(context);
  }
  gSettings = load.values;
  for (const std::string& folder : load.foldersToCreate) CreateFolder(folder);
  if (!fromFile) Log("fncSysRead()iniFile=NotFound");
  for (const std::string& line : SettingsReadLogLines(gSettings, fromFile)) Log(line);
  return true;
}

bool fncSysWrite() {
  Log("fncSysWrite()");
  for (const auto& [key, value] : SettingsKeyValues(gSettings)) {
    const DWORD code = WhileHeld("fncSysWrite", [&]() -> DWORD {
      return WritePrivateProfileStringA(kSettingsSection, key.c_str(), value.c_str(), gIniPath.c_str())
                 ? 0
                 : GetLastError();
    });
    if (code) Fail("設定ファイルに書き込めません:", gIniPath, code);
  }
  // Flushes the system's cached copy to the file.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, gIniPath.c_str());
  return true;
}
