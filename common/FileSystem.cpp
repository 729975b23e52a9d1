#include "common/FileSystem.h"

#include <windows.h>

#include "common/portable/FolderText.h"

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  const std::string folder = WithoutTrailingBackslash(path);
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  return !folder.empty() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string& path) {
  const std::string folder = WithoutTrailingBackslash(path);
  if (folder.empty()) return false;
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const std::string parent = FolderOf(folder);
  if (!parent.empty() && parent.back() != ':' && !ForceDirectories(parent)) return false;
  return CreateDirectoryA(folder.c_str(), nullptr) != FALSE || GetLastError() == ERROR_ALREADY_EXISTS;
}
