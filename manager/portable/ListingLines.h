// Lines of an FTP directory listing, UNIX "ls -l" style or MS-DOS style,
// split into fields with fncGetToken on the blank.
#pragma once
#include <string>

enum class ListingLineKind {
  File,       // name and size are set
  Directory,  // a folder ("d..." or "<DIR>")
  Malformed,  // an MS-DOS line without its column gap, or a line without a name
};

struct ListingLine {
  ListingLineKind kind = ListingLineKind::Malformed;
  std::string name;  // runs to the end of the line, blanks inside kept
  std::string size;  // the size field as listed
};

// True when the line is of the UNIX kind: its first character, lower-cased,
// is "-", "d" or "l". Any other line is read as MS-DOS kind.
bool IsUnixListingLine(const std::string& line);

// UNIX kind: size field 5, name field 9 to the end; "d" lines are folders,
// "l" lines count as files. MS-DOS kind: a line holding "<DIR>" is a
// folder, one without a run of three blanks is malformed, otherwise size
// field 3 and name field 4 to the end. A trailing CR is ignored.
ListingLine ParseListingLine(const std::string& line);
