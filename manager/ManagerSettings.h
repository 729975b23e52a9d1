// Program-wide state of the manager: its folders, fixed when the login form
// is created, and the settings read from Kestro.ini.
#pragma once
#include <string>

#include "manager/portable/ManagerSettingsRules.h"

inline constexpr char kManagerCaption[] = "ケストロ管理画面";
inline constexpr char kIniFileName[] = "Kestro.ini";
inline constexpr char kWorkFolder[] = "Temp\\";
inline constexpr char kStoreRoot[] = "kestro";
inline constexpr char kManagerTimeOut[] = "10000";

extern std::string gExeDir;    // folder of the program file, ends in "\"
extern std::string gDataDir;   // <common app data>\Veltrana\kestro\ .
extern std::string gMyDocDir;  // <documents>\Veltrana\kestro\ .
extern std::string gServerRoot;  // the store root word "kestro"
extern ManagerSettings gMgr;
extern int gShutdown;  // 1 once Windows asked to end the session
extern int gSearched;  // 1 once a search has run

// gDataDir + "Kestro.ini"
std::string ManagerIniPath();
// gDataDir + "Temp\" (not created)
std::string WorkFolderPath();
// <data>CATALOGUE\<server>\<user>\ of the current server and user, both
// without the characters that cannot stand in a Windows path (not created).
std::string CatalogueFolder();
// Reads and writes [KESTRO] and [KESTROMGR] through IniReadString and IniWriteString.
SettingsAccess ManagerIniAccess();
// Fixes the three folders (creating them) and the store root word.
void FixManagerFolders();
