#include "manager/ManagerUtilities.h"

#include <windows.h>

#include <vector>

#include "common/FileSystem.h"
#include "common/SystemUtilities.h"
#include "common/ViewerLookup.h"
#include "manager/IniFiles.h"
#include "manager/ManagerLog.h"
#include "manager/ManagerSettings.h"
#include "manager/portable/ManagerSettingsRules.h"
#include "manager/portable/NameText.h"
#include "manager/portable/StorePaths.h"

std::string fncGetComputerNameUpper() {
  std::string name;
  fncGetComputerName(name);
  return UpperAscii(TrimText(name));
}

std::string fncGetRelay(const std::string& name) {
  if (name.empty()) return "";
  const std::string ini = WorkFolderPath() + "Relay.ini";
  if (FileExists(ini) && !RelayIniTrusted(ini)) {
    fncWriteSysLog(kUntrusted + ini);
    return "";
  }
  const std::string value = IniReadString(ini, "RELAY", name);
  fncWriteSysLog("TempAssign:" + name + "=" + value);
  return value == "error" ? "" : value;
}

void fncCleanUpTemp() {
  fncWriteSysLog("Clean up Temp.");
  const std::string folder = WorkFolderPath();
  ForceDirectories(folder);
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (IsManagerWorkFile(found.cFileName)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  for (const std::string& name : names) {
    const std::string path = folder + name;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
  if (!RemoveDirectoryA(folder.c_str())) fncWriteSysLog("Temp is not empty.");
}

void DeleteWorkFile(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

namespace {

// Puts the finished temporary file in target's place, or removes it.
bool ReplaceWithTemporary(const std::string& temporary, const std::string& target) {
  if (MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteWorkFile(temporary);
  return false;
}

}  // namespace

bool WriteFileReplacing(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  HANDLE file =
      CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool complete = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                        written == bytes.size() && FlushFileBuffers(file);
  CloseHandle(file);
  if (complete) return ReplaceWithTemporary(temporary, path);
  DeleteWorkFile(temporary);
  return false;
}

bool CopyFileReplacing(const std::string& source, const std::string& target) {
  const std::string temporary = target + ".tmp";
  DeleteWorkFile(temporary);
  if (!CopyFileA(source.c_str(), temporary.c_str(), FALSE)) {
    DeleteWorkFile(temporary);
    return false;
  }
  SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  return ReplaceWithTemporary(temporary, target);
}
