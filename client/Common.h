// Log writer and file and text utilities of the client. None of them
// raises, except fncCleanUpSysLog for a days value that is not a number.
#pragma once
#include <windows.h>

#include <string>

#include "client/portable/FileNameText.h"
#include "client/portable/NumberText.h"
#include "client/portable/RepeatString.h"

// Appends one line to <data>syslog\<yyyymmdd>.txt. False before the data
// folder is known and after an error; a refused open loses the line, true.
bool fncWriteSysLog(const std::string& message);

// Deletes the log files matching the pattern in <data>syslog\ that are
// dated validDay days or more before today. Throws std::invalid_argument
// when validDay is not a number.
void fncCleanUpSysLog(const std::string& pattern, const std::string& validDay);

// The Windows computer name; "" on failure.
std::string fncGetComputerName(std::string& name);

// Up to three tries 100 ms apart; the result of the last try.
bool fncDeleteFile(const std::string& path);
bool fncCopyFile(const std::string& source, const std::string& target, bool failIfExists);

// The text mapped by LCMapString of the system locale (LCMAP_UPPERCASE,
// LCMAP_LOWERCASE, ...); the text unchanged when the mapping fails.
std::string fncMapString(const std::string& text, DWORD flags, std::string& result);

// Shell folder of a CSIDL (35 common application data, 5 documents)
// without a trailing "\"; "" on failure.
std::string fncGetSpecialFolder(int folderId, std::string& path);

// First file LOCALDIR + subfolder + "\" + <base of fileName> + "_*.*";
// its name without folder, or false and "".
bool fncFindLocalFile(const std::string& subfolder, const std::string& fileName, std::string& found);
// The same under the store folder localDir.
bool fncFindLocalFile(const std::string& localDir, const std::string& subfolder, const std::string& fileName,
                      std::string& found);

// Inside a catch block: the message of the exception being handled, or
// "不明なエラーが発生しました" for one of a foreign kind.
std::string ExceptionMessage();

// Creates the folder and its missing parents; true when it exists after.
bool ForceDirectories(const std::string& path);

// Opens <exe>doc\clienthint.html hidden through the command interpreter,
// or tells the user that the page is missing.
void fncShowHint(HWND owner);
