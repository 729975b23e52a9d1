// The refresh of one day's catalogue from the listings of the day folder
// <yyyymmdd> and the tag folder <yyyymmdd>tag of the report store.
#pragma once
#include <string>
#include <vector>

#include "manager/portable/IniText.h"

// How the listing of a folder went. Only a folder that really is absent
// means its reports are gone; a failed listing tells nothing.
enum class FolderListing { Ok, Absent, Failed };

enum class SkipReason {
  Directory,   // a folder line
  Malformed,   // a line that cannot be read
  Upload,      // a ".tmp" file of an upload in progress
  UnsafeName,  // a name with a path part, a device name or a control character
  NotReport,   // a name outside the report pattern
  NotTag,      // a tag-folder entry that is no "*.tag" file
};

struct SkippedEntry {
  std::string text;  // the listing line or the name
  SkipReason reason;
};

// The log text that follows a skipped entry.
const char* SkipReasonText(SkipReason reason);

// One file of a folder: its name and its size text.
struct StoreFile {
  std::string name;
  std::string size;
};

// One report as a refresh writes it.
struct CatalogueEntry {
  std::string section;  // report file name without ".UPD" / ".CMP"
  std::string status;   // "1" normal, "2" under edit lock, "3" completed
  std::string fileSize;
  std::string fileType;  // extension upper-cased without the dot, "Etc" when none
  std::string comment, project, creator;
};

// Keys of a report's section in the catalogue file <yyyymmdd>.ini.
inline constexpr char kStatusKey[] = "STATUS";
inline constexpr char kReadKey[] = "READ";
inline constexpr char kImportantKey[] = "IMPORTANT";
inline constexpr char kFileSizeKey[] = "FILESIZE";
inline constexpr char kFileTypeKey[] = "FILETYPE";
inline constexpr char kCommentKey[] = "COMMENT";
inline constexpr char kProjectKey[] = "PROJECT";
inline constexpr char kOperationKey[] = "OPERATION";

// The files of an FTP listing of a day folder (blank lines ignored).
std::vector<StoreFile> FilesFromListing(const std::vector<std::string>& lines,
                                        std::vector<SkippedEntry>& skipped);

// The tag file names of a tag folder: from FTP listing lines, or (shared
// folder) from the entry names. Entries that are no "*.tag" file of a
// safe name are skipped.
std::vector<std::string> TagNamesFromListing(const std::vector<std::string>& lines,
                                             std::vector<SkippedEntry>& skipped);
std::vector<std::string> TagNamesFromEntries(const std::vector<std::string>& names,
                                             std::vector<SkippedEntry>& skipped);

// False, with text and the reason added to skipped, for a name that is no
// safe report file name (IsSafeStoreName, IsReportFileName).
// Removes every section of a catalogue file that names no report of the
// store, so that no foreign name reaches a row or a path.
void DropForeignSections(IniText& file, const std::string& fileName, std::vector<SkippedEntry>& skipped);
bool AcceptReportName(const std::string& name, const std::string& text, std::vector<SkippedEntry>& skipped);

// The catalogue entries of a day's files in listing order, with the comment,
// project and creator of each report's tag file. In FTP mode a name holding
// ".TMP" anywhere is an upload in progress, in shared-folder mode a name
// with the extension ".TMP" (any case).
std::vector<CatalogueEntry> BuildDayEntries(const std::vector<StoreFile>& files,
                                            const std::vector<std::string>& tagNames, bool sharedFolder,
                                            std::vector<SkippedEntry>& skipped);

// Applies a refresh to the day's catalogue. A failed day listing leaves the
// file as it is and gives false. Otherwise every section gets STATUS "0",
// then each entry writes STATUS, FILESIZE, FILETYPE, COMMENT, PROJECT and
// OPERATION (new sections at the end, in listing order); READ and
// IMPORTANT are never touched. After a failed tag listing a section that
// exists keeps its COMMENT, PROJECT and OPERATION. True when the file is
// to be written.
bool ApplyDayListing(IniText& file, FolderListing day, FolderListing tags,
                     const std::vector<CatalogueEntry>& entries);
