#include "common/FileSystem.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "common/portable/FolderText.h"

bool SamePath(const std::string& one, const std::string& other) { return lstrcmpiA(one.c_str(), other.c_str()) == 0; }

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

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  bytes = text.str();
  return true;
}

void DeleteWorkFile(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

namespace {

// Puts the finished temporary file in target's place, or removes it.
bool ReplaceWithTemporary(const std::string& temporary, const std::string& target) {
  if (MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteWorkFile(temporary);
  return false;
}

}  // namespace

std::string ReplacingTemporaryOf(const std::string& path) { return path + ".tmp"; }

bool WriteFileReplacing(const std::string& path, const std::string& bytes) {
  const std::string temporary = ReplacingTemporaryOf(path);
  HANDLE file =
      CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool complete = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                        written == bytes.size() && FlushFileBuffers(file);
  CloseHandle(file);
  if (complete) return ReplaceWithTemporary(temporary, path);
  DeleteWorkFile(temporary);
  return false;
}

bool CopyFileReplacing(const std::string& source, const std::string& target) {
  const std::string temporary = ReplacingTemporaryOf(target);
  DeleteWorkFile(temporary);
  if (!CopyFileA(source.c_str(), temporary.c_str(), FALSE)) {
    DeleteWorkFile(temporary);
    return false;
  }
  SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  return ReplaceWithTemporary(temporary, target);
}
