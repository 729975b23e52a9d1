// Log writer and file and text utilities of the client. None of them raises.
#pragma once
#include <windows.h>

#include <string>

#include "common/ExceptionText.h"
#include "common/FileSystem.h"
#include "common/SystemUtilities.h"
#include "client/portable/FileNameText.h"
#include "client/portable/NumberText.h"
#include "client/portable/RepeatString.h"

// Appends one line to <data>syslog\<yyyymmdd>.txt. False before the data
// folder is known and after an error; a refused open loses the line, true.
bool fncWriteSysLog(const std::string& message);

// Deletes the log files matching the pattern in <data>syslog\ that are
// dated validDay days or more before today; 10 days when validDay is not a
// positive whole number.
void fncCleanUpSysLog(const std::string& pattern, const std::string& validDay);

// First file LOCALDIR + subfolder + "\" + <base of fileName> + "_*.*";
// its name without folder, or false and "".
bool fncFindLocalFile(const std::string& subfolder, const std::string& fileName, std::string& found);
// The same under the store folder localDir.
bool fncFindLocalFile(const std::string& localDir, const std::string& subfolder, const std::string& fileName,
                      std::string& found);

// Opens <exe>doc\clienthint.html hidden through the command interpreter,
// or tells the user that the page is missing.
void fncShowHint(HWND owner);
