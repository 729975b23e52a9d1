// Files and folders on the local disk, shared by the programs and the hook
// library. Paths are code page 932.
#pragma once
#include <string>

// The same path, upper and lower case alike (as the file system compares).
bool SamePath(const std::string& one, const std::string& other);
// A file (not a folder) exists at path.
bool FileExists(const std::string& path);
// A folder exists at path (a trailing "\" is allowed).
bool FolderExists(const std::string& path);
// Creates the folder and its missing parents; true when it exists after.
bool ForceDirectories(const std::string& path);
// The whole file into bytes; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& bytes);
// Deletes a file, read-only or not; nothing when it is not there.
void DeleteWorkFile(const std::string& path);
// The file beside path that the two routines below write first.
std::string ReplacingTemporaryOf(const std::string& path);
// Writes the bytes to path + ".tmp" beside the file, then puts that file in
// its place in one step. False when either fails; the old file is then
// left as it was.
bool WriteFileReplacing(const std::string& path, const std::string& bytes);
// The same with a copy of source: target + ".tmp", then the replace.
bool CopyFileReplacing(const std::string& source, const std::string& target);
