// The manager's lines in the daily syslog file, tagged "(KestroMgr)".
#pragma once
#include <string>
#include <vector>

// Appends one line; a file held by another writer loses it silently.
bool fncWriteSysLog(const std::string& message);
// Many lines at once (a listing), with one opening of the file.
bool fncWriteSysLogLines(const std::vector<std::string>& messages);
struct SkippedEntry;
// Each skipped listing line or name, followed by why it was skipped.
void LogSkipped(const std::vector<SkippedEntry>& skipped);
// Deletes the log files matching the pattern that are validDay days old
// or more; 10 days when validDay is not a positive whole number.
void fncCleanUpSysLog(const std::string& pattern, const std::string& validDay);
