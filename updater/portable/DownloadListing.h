// Lines of a server listing turned into the files to download.
#pragma once
#include <string>

#include "common/portable/NameCharacters.h"

namespace updater {

enum class ListingStyle { Msdos, Unix };

// The style of a whole listing, from its first line mapped to lower case:
// UNIX when it begins with "-", "d" or "l", MSDOS otherwise.
ListingStyle ListingStyleOf(const std::string& firstLineLower);

// "total N", which servers built on ls put before the file lines.
bool IsTotalLine(const std::string& line);

enum class LineKind { Empty, Total, Folder, File, Refused };

struct ListingLine {
  LineKind kind;
  std::string name;  // File: the name; Refused: the name that was refused
};

// One listing line: MSDOS lines hold date, time, size or "<DIR>", name;
// UNIX lines permissions, links, owner, group, size, month, day, time or
// year, name. The name runs to the end of the line. A name that is not a
// plain file name (IsPlainFileName, common/portable/NameCharacters.h) is
// Refused.
ListingLine ReadListingLine(const std::string& line, ListingStyle style);

// A relative folder path whose parts, split on "\" or "/", are all plain
// file names: no "..", no drive, no leading or doubled separator, and no
// lead byte at its end that a separator added after it would complete.
bool IsPlainRelativePath(const std::string& path);

// The path with every "\" and "/" between its parts made `separator`.
std::string WithSeparator(const std::string& path, char separator);

}  // namespace updater
