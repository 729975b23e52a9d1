// The daily log files <data>syslog\<yyyymmdd>.txt that every program
// writes, each with its own tag.
#pragma once
#include <functional>
#include <string>
#include <vector>

// Appends one line "yyyy/mm/dd,hh:nn:ss.zzz,<tag>,<message>" CR LF to
// today's file under dataDir. False when dataDir is empty or on an error;
// a file held by another writer loses the line and gives true.
bool AppendSysLogLine(const std::string& dataDir, const std::string& tag, const std::string& message);
// The same for many messages, one line each, with one opening of the file.
bool AppendSysLogLines(const std::string& dataDir, const std::string& tag, const std::vector<std::string>& messages);

// Appends text to the log file at path. Readers may keep the file open; a
// writer that has it is waited for briefly, then the text is given up.
void AppendToLogFile(const std::string& path, const std::string& text);

// Deletes the files matching pattern in <dataDir>syslog\ whose date key is
// validDay days or more before today, reporting each step through log.
// A validDay that is not a positive whole number keeps 10 days (logged once).
void CleanUpSysLogFiles(const std::string& dataDir, const std::string& pattern, const std::string& validDay,
                        const std::function<void(const std::string&)>& log);
