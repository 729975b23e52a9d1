#include "manager/ManagerSettings.h"

#include <windows.h>
#include <shlobj.h>

#include "common/FileSystem.h"
#include "common/SystemUtilities.h"
#include "common/portable/FolderText.h"
#include "manager/IniFiles.h"
#include "manager/portable/NameText.h"
#include "manager/portable/StorePaths.h"

std::string gExeDir, gDataDir, gMyDocDir, gServerRoot;
ManagerSettings gMgr;
int gShutdown = 0;
int gSearched = 0;

namespace {

std::string ProductFolder(int folderId) {
  std::string folder;
  fncGetSpecialFolder(folderId, folder);
  return WithTrailingBackslash(folder) + "Veltrana\\kestro\\";
}

}  // namespace

std::string ManagerIniPath() { return gDataDir + kIniFileName; }
std::string WorkFolderPath() { return gDataDir + kWorkFolder; }
std::string CatalogueFolder() { return CatalogueFolderPath(gDataDir, gMgr.server, gMgr.user); }

SettingsAccess ManagerIniAccess() {
  SettingsAccess access;
  access.read = [](const std::string& section, const std::string& key) -> std::optional<std::string> {
    std::string value;
    if (!IniTryReadString(ManagerIniPath(), section, key, value)) return std::nullopt;
    return value;
  };
  access.write = [](const std::string& section, const std::string& key, const std::string& value) {
    IniWriteString(ManagerIniPath(), section, key, value);
  };
  return access;
}

void FixManagerFolders() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  gExeDir = WithTrailingBackslash(TrimText(FolderOf(path)));
  gDataDir = ProductFolder(CSIDL_COMMON_APPDATA);
  ForceDirectories(gDataDir);
  gMyDocDir = ProductFolder(CSIDL_PERSONAL);
  ForceDirectories(gMyDocDir);
  gServerRoot = kStoreRoot;
}
