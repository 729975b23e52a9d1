// Folder names in code page 932: a trail byte 0x5C of a double-byte
// character ("表", "ソ") is never taken for a "\".
#pragma once
#include <string>

// The folder with one trailing "\".
std::string WithTrailingBackslash(const std::string& folder);
// The folder without trailing "\" or "/".
std::string WithoutTrailingBackslash(const std::string& folder);
// The folder part of a file name, without its last "\" or "/" ("" when it
// has none).
std::string FolderOf(const std::string& fileName);
// The file name part of a path, after its last "\" or "/" (the whole path
// when it has none).
std::string FileNameOf(const std::string& path);
