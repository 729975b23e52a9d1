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

