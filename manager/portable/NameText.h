// Texts that become file or worksheet names, and the parts of report and
// tag file names as the manager reads them. Texts are code page 932.
//
// Report file: [project "_"] creator yyyymmdd hhnnss NNN ".jpg"/".xls".
// Tag file: the report name without extension, "_", the comment, ".tag".
// The separator of a name is the last "_" that follows a digit.
#pragma once
#include <functional>
#include <string>
#include <vector>

// True when the text holds none of the characters the client keeps out of
// file names (common/portable/NameCharacters.h), so also when it is empty.
bool fncIsValidName(const std::string& text);
// The text without the characters the client keeps out of file names
// (common/portable/NameCharacters.h), ":" and ";" too: it names tag files.
std::string fncDelInvalidStr(const std::string& text);
// The text without : \ / ? * [ ] and their full-width forms; not cut.
std::string fncDelInvalidSheetStr(const std::string& text);

// "yyyymmdd" -> "yyyy/mm/dd", "hhnnss" -> "hh:nn:ss"; "" for another length.
std::string fncFormatDate(const std::string& text);
std::string fncFormatTime(const std::string& text);
// Equal but for the case of ASCII letters.
bool SameText(const std::string& a, const std::string& b);
// The text without any c.
std::string WithoutChar(const std::string& text, char c);
// "yyyy/mm/dd" -> "yyyymmdd" (the day's store folder); raises
// std::runtime_error for anything else.
std::string DayFolderOf(const std::string& date);

// 1-based position of the last delimiter that follows a digit; 0 when there
// is none or either text is empty.
int fncLastDelimiterPos(const std::string& delimiter, const std::string& text);

// Parts of a name; "" for names of 20 characters or less.
std::string fncProjectFromName(const std::string& name);
std::string fncCreatorFromName(const std::string& name);
// log receives the name, the part after the separator and the result.
std::string fncCommentFromTagName(const std::string& name,
                                  const std::function<void(const std::string&)>& log = nullptr);
// "hhnnss" of a report name.
std::string fncGetTimeFromName(const std::string& name);

// The tag file of the report `base` (its name without extension) among the
// entries of a tag folder: listing lines of the FTP server when ftpMode,
// else plain file names. "" when there is none.
std::string fncFindTagFile(const std::string& base, const std::vector<std::string>& entries, bool ftpMode);

// Removes bytes 0x00-0x20 at both ends.
std::string TrimText(const std::string& text);
