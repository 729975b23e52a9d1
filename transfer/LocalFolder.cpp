#include "transfer/LocalFolder.h"

#include <windows.h>

namespace transfer {

bool ForceDirectories(const std::string& folder) {
  std::string path = folder;
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  std::string parent = FolderOf(path);
  if (!parent.empty() && parent != path && parent.back() != ':') ForceDirectories(parent);
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::string FolderOf(const std::string& fileName) {
  // CharPrevA keeps a trail byte 0x5C of a double-byte character from
  // passing for a separator.
  const char* begin = fileName.c_str();
  const char* p = begin + fileName.size();
  while (p > begin) {
    p = CharPrevA(begin, p);
    if (*p == '\\' || *p == '/') return std::string(begin, p);
  }
  return std::string();
}

}  // namespace transfer
