#include "common/SystemUtilities.h"

#include <shlobj.h>

#include "common/portable/FolderText.h"

namespace {

constexpr int kTries = 3;

}  // namespace

std::string fncGetComputerName(std::string& name) {
  char buffer[256] = {};
  DWORD size = 255;
  name = GetComputerNameA(buffer, &size) ? std::string(buffer, size) : std::string();
  return name;
}

bool fncDeleteFile(const std::string& path) {
  bool done = false;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    done = DeleteFileA(path.c_str()) != FALSE;
    if (done) break;
    Sleep(100);
  }
  return done;
}

bool fncCopyFile(const std::string& source, const std::string& target, bool failIfExists) {
  bool done = false;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    done = CopyFileA(source.c_str(), target.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
    if (done) break;
    Sleep(100);
  }
  return done;
}

std::string fncMapString(const std::string& text, DWORD flags, std::string& result) {
  result = text;
  if (text.empty()) return result;
  int size = LCMapStringA(LOCALE_SYSTEM_DEFAULT, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return result;
  std::string mapped(static_cast<size_t>(size), '\0');
  size = LCMapStringA(LOCALE_SYSTEM_DEFAULT, flags, text.data(), static_cast<int>(text.size()), &mapped[0], size);
  if (size > 0) result = mapped.substr(0, static_cast<size_t>(size));
  return result;
}

std::string fncGetSpecialFolder(int folderId, std::string& path) {
  char buffer[MAX_PATH] = {};
  path.clear();
  if (SHGetSpecialFolderPathA(nullptr, buffer, folderId, FALSE)) {
    path = buffer;
    path = WithoutTrailingBackslash(path);
  }
  return path;
}
