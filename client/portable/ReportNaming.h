// Names in the local report store: the processing day and daily counter,
// the report file name and the tag file name, and the path length limit.
#pragma once
#include <cstddef>
#include <string>

inline constexpr int kFirstDailyCounter = 1;
inline constexpr int kLastDailyCounter = 999;
// Longest path the ANSI file functions take (MAX_PATH less the closing NUL).
inline constexpr size_t kMaxPathBytes = 259;
inline constexpr char kTagPathTooLong[] = "タグファイルのパスが長すぎます。件名を短くしてください";

// A capture date later than the processing day starts that day with counter
// 1. An equal or later day is kept (clock set back): the counter goes on.
void AdvanceProcessingDay(const std::string& captureDate, std::string& day, int& counter);

// The counter of the report after this one: 999 is followed by 1.
int NextDailyCounter(int counter);

// terminal + yyyymmdd + hhnnss + counter as 3 digits. The terminal and the
// project (below) lose the characters a name may not hold: a settings file
// edited by hand passes no form's check.
std::string ReportBaseName(const std::string& terminal, const std::string& captureDate,
                           const std::string& captureTime, int counter);

// [<project>_]<base name>, without extension.
std::string ReportFileName(const std::string& project, const std::string& baseName);

// The picture's extension: the last 4 characters of the capture name.
std::string CaptureExtension(const std::string& captureName);

// localDir + day + "\" and localDir + day + "tag\".
std::string ReportDayFolder(const std::string& localDir, const std::string& day);
std::string ReportTagFolder(const std::string& localDir, const std::string& day);

// <report name without extension>_<cleaned title>.tag
std::string TagFileName(const std::string& reportName, const std::string& title);

// True when the file functions can take the path.
bool PathFits(const std::string& path);
