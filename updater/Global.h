// Constants, folders and the log writer of the updater.
#pragma once
#include <string>

namespace updater {

constexpr char kMakerFolder[] = "Veltrana";
constexpr char kProductFolder[] = "downloader";
constexpr char kIniFile[] = "downloader.ini";
constexpr char kIniSection[] = "DOWNLOADER";
constexpr char kLogTag[] = "(DOWNLOADER)";
constexpr unsigned kTimerInterval = 500;
constexpr char kAnimationFile[] = "pctopc.avi";
constexpr char kWorkFolder[] = "temp\\";
constexpr char kServerFolder[] = "download/";
constexpr char kFtpUser[] = "anonymous";
constexpr char kFtpPassword[] = "";
constexpr char kFtpTimeOut[] = "5000";
// Used when the settings file names no server.
constexpr char kDefaultServer[] = "127.0.0.1";
// An install copies each new file next to its target as <name> + kNewSuffix
// and moves the installed one aside to <name> + kMovedAsideSuffix until
// every file is in place; when such a file is there already, the first free
// one of <name> + suffix + 1, 2, ... is used. The paths it makes are listed
// in kInstallRecord beforehand; the next start clears what it lists, and
// nothing else.
constexpr char kNewSuffix[] = ".new";
constexpr char kMovedAsideSuffix[] = ".old";
constexpr char kInstallRecord[] = "downloader.lst";
// How long the install waits for the caller to let go of its files.
constexpr unsigned kTargetWaitMs = 30000;
constexpr char kUnknownError[] = "不明なエラーが発生しました";

}  // namespace updater

// <common app data>\Veltrana\downloader\ and the program folder, each with
// a trailing "\"; the updater's own file and the settings file in the
// program folder.
extern std::string gDataDir;
extern std::string gExeDir;
extern std::string gExePath;
extern std::string gIniPath;

// Appends one line to <data>syslog\<yyyymmdd>.txt; never raises.
bool fncWriteSysLog(const std::string& message);
