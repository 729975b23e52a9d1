#include "common/ViewerLookup.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "common/ExceptionText.h"
#include "common/FileSystem.h"
#include "common/portable/ViewerLookupText.h"

namespace {

// When this process last started Go.bat after removing the old Relay.ini
// (system time); 0 while it has not, or when the removal failed.
ULONGLONG relayRunTime = 0;
// Write times may be rounded down by up to 2 seconds.
constexpr ULONGLONG kWriteTimeSlack = 2 * 10000000ULL;

ULONGLONG Ticks(const FILETIME& time) { return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

void Write(const ViewerLog& log, const std::string& line) {
  if (log) log(line);
}

void SaveText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("ファイルを保存できません:" + path);
  DWORD written = 0;
  BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != text.size()) throw std::runtime_error("ファイルを保存できません:" + path);
}

}  // namespace

bool fncSetRelay(const std::string& dataDir, const std::string& workFolder, const ViewerLog& log) {
  relayRunTime = 0;
  try {
    Write(log, "fncSetRelay()");
    // Made here, so that the lookup works from the first start on.
    const std::string folder = dataDir + workFolder;
    if (!ForceDirectories(folder)) throw std::runtime_error("作業フォルダを作成できません:" + folder);
    const std::string batch = viewer::RelayBatchPath(dataDir, workFolder);
    const std::string ini = viewer::RelayIniPath(dataDir, workFolder);
    SaveText(batch, viewer::RelayBatchText(ini));
    // Go.bat cannot replace a Relay.ini that someone else made: it must go first.
    if (!DeleteFileA(ini.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
      throw std::runtime_error("Relay.iniを削除できません:" + ini);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    UINT started = WinExec(viewer::RelayBatchCommandLine(batch).c_str(), SW_HIDE);
    if (started <= 31) throw std::runtime_error("Go.batを起動できません:" + std::to_string(started));
    relayRunTime = Ticks(now);
    return true;
  } catch (...) {
    Write(log, "fncSetRelay()ERROR=" + ExceptionMessage());
    return false;
  }
}

bool RelayIniTrusted(const std::string& iniPath) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (relayRunTime == 0 || !GetFileAttributesExA(iniPath.c_str(), GetFileExInfoStandard, &data)) return false;
  return Ticks(data.ftLastWriteTime) + kWriteTimeSlack >= relayRunTime;
}

std::string fncGetRelay(const std::string& dataDir, const std::string& workFolder, const std::string& name,
                        const ViewerLog& log) {
  try {
    Write(log, "fncGetRelay()");
    if (name.empty()) return "";
    std::string value;
    const std::string ini = viewer::RelayIniPath(dataDir, workFolder);
    if (GetFileAttributesA(ini.c_str()) != INVALID_FILE_ATTRIBUTES) {
      if (!RelayIniTrusted(ini)) throw std::runtime_error(kUntrusted + ini);
      std::vector<char> buffer(4096);
      for (;;) {
        DWORD length = GetPrivateProfileStringA(viewer::kRelaySection, name.c_str(), "", buffer.data(),
                                                static_cast<DWORD>(buffer.size()), ini.c_str());
        if (length + 1 < buffer.size()) {
          value.assign(buffer.data(), length);
          break;
        }
        buffer.resize(buffer.size() * 2);
      }
    }
    Write(log, "fncGetRelay()TempAssign=" + name + "<<" + value);
    return viewer::RelayCommand(value);
  } catch (...) {
    Write(log, "fncGetRelay()ERROR=" + ExceptionMessage());
    return "";
  }
}
