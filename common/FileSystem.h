// Files and folders on the local disk, shared by the programs and the hook
// library. Paths are code page 932.
#pragma once
#include <string>

// A file (not a folder) exists at path.
bool FileExists(const std::string& path);
// A folder exists at path (a trailing "\" is allowed).
bool FolderExists(const std::string& path);
// Creates the folder and its missing parents; true when it exists after.
bool ForceDirectories(const std::string& path);
