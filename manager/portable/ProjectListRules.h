// The project list of the report store ("projectlist.txt"): one project name
// a line, CR LF, system code page, no header. Clients read every line as a
// project name.
#pragma once
#include <string>
#include <vector>

#include "manager/portable/CatalogueDay.h"

inline constexpr char kProjectListName[] = "projectlist.txt";

// The eight lines offered when the store holds no list yet.
const std::vector<std::string>& ExampleProjectList();

// Lines joined, each ended by CR LF.
std::string ProjectListText(const std::vector<std::string>& lines);

// The file's lines: CR LF, LF or CR end a line; a last line without an end
// counts, a final line end adds no empty line.
std::vector<std::string> ProjectListLines(const std::string& text);

// Index of the first line that fncIsValidName refuses, or -1 when all pass
// (empty lines pass).
int FirstInvalidProjectLine(const std::vector<std::string>& lines);

// What the store says about a file, from the listing of its folder.
enum class StoreFileState {
  Present,  // listed as a file
  Absent,   // the folder is missing, or listed without the file
  Unknown,  // the folder could not be listed (time-out, lost connection)
};
StoreFileState FileInListing(FolderListing listing, const std::vector<std::string>& lines, bool ftpMode,
                             const std::string& name);
