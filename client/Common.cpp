#include "client/Common.h"

#include <shlobj.h>

#include <exception>
#include <stdexcept>

#include "client/Global.h"
#include "client/SettingsValues.h"
#include "common/portable/HintCommand.h"
#include "common/SysLogFile.h"
#include "forms/Application.h"
#include "forms/MessageBox.h"

bool fncWriteSysLog(const std::string& message) { return AppendSysLogLine(gDataDir, kestro::kLogTag, message); }

void fncCleanUpSysLog(const std::string& pattern, const std::string& validDay) {
  CleanUpSysLogFiles(gDataDir, pattern, validDay, [](const std::string& line) { fncWriteSysLog(line); });
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
