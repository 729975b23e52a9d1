#include "common/portable/FolderText.h"

#include "common/portable/Cp932.h"

std::string WithTrailingBackslash(const std::string& folder) {
  return Cp932EndsWith(folder, '\\') ? folder : folder + "\\";
}

std::string WithoutTrailingBackslash(const std::string& folder) {
  std::string path = folder;
  while (Cp932EndsWith(path, '\\') || Cp932EndsWith(path, '/')) path.pop_back();
  return path;
}

std::string FolderOf(const std::string& fileName) {
  size_t last = std::string::npos;
  for (size_t pos = 0; pos < fileName.size(); pos += Cp932CharLength(fileName, pos))
    if (fileName[pos] == '\\' || fileName[pos] == '/') last = pos;
  return last == std::string::npos ? std::string() : fileName.substr(0, last);
}

std::string FileNameOf(const std::string& path) {
  size_t start = 0;
  for (size_t pos = 0; pos < path.size(); pos += Cp932CharLength(path, pos))
    if (path[pos] == '\\' || path[pos] == '/') start = pos + 1;
  return path.substr(start);
}
