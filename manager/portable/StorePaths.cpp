#include "manager/portable/StorePaths.h"

#include <cctype>

#include "common/portable/Cp932.h"
#include "common/portable/NameCharacters.h"
#include "manager/portable/NameText.h"

namespace {

bool EndsWithText(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && SameText(text.substr(text.size() - end.size()), end);
}

// The name ends in yyyymmdd hhnnss NNN before `tail` (17 digits).
bool HasStampBefore(const std::string& name, size_t tail) {
  if (name.size() < tail + 17) return false;
  for (size_t i = name.size() - tail - 17; i < name.size() - tail; ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

bool IsReportName(std::string name) {
  for (const char* mark : {".UPD", ".CMP", ".pwd"})
    if (EndsWithText(name, mark)) name.resize(name.size() - 4);
  return (EndsWithText(name, ".jpg") || EndsWithText(name, ".xls")) && HasStampBefore(name, 4);
}

// <report base>_<comment>.tag: the stamp right before the last "_" that follows a digit.
bool IsTagName(const std::string& name) {
  if (!EndsWithText(name, ".tag")) return false;
  for (size_t pos = name.size(); pos-- > 1;) {
    if (name[pos] == '_' && name[pos - 1] >= '0' && name[pos - 1] <= '9') return HasStampBefore(name.substr(0, pos), 0);
  }
  return false;
}

}  // namespace

std::string ToForwardSlashes(const std::string& text) {
  std::string result = text;
  for (size_t pos = 0; pos < result.size();) {
    const size_t length = Cp932CharLength(result, pos);
    if (length == 1 && result[pos] == '\\') result[pos] = '/';
    pos += length;
  }
  return result;
}

std::string RemoteStorePath(const std::string& root, const std::string& folder, const std::string& name) {
  const std::string dir = ToForwardSlashes(folder);
  return PathInFolder(root + (dir.empty() ? "" : "/" + dir) + "/", name, '/');
}

std::string RemoteStoreFolder(const std::string& root, const std::string& folder) {
  const std::string dir = ToForwardSlashes(folder);
  return "/" + root + (dir.empty() ? "" : "/" + dir) + "/";
}

std::string SharedStorePath(const std::string& storeRoot, const std::string& folder, const std::string& name) {
  return PathInFolder(storeRoot + folder, name);
}

std::string PathSafeName(const std::string& text) {
  static const char kForbidden[] = "|:<>*?\"/\\";
  std::string result;
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = Cp932CharLength(text, pos);
    bool keep = true;
    if (length == 1) {
      const unsigned char c = static_cast<unsigned char>(text[pos]);
      keep = c >= 0x20;
      for (const char* f = kForbidden; keep && *f; ++f) keep = text[pos] != *f;
    }
    if (keep) result.append(text, pos, length);
    pos += length;
  }
  // Windows drops trailing blanks and dots itself; ".." would climb a level.
  // Neither byte can be the second byte of a double-byte character.
  while (!result.empty() && (result.back() == ' ' || result.back() == '.')) result.pop_back();
  if (IsDeviceName(result)) return "_" + result;  // "con" would name the console
  return result.empty() ? "_" : result;
}

std::string CatalogueFolderPath(const std::string& dataDir, const std::string& server, const std::string& user) {
  return dataDir + "CATALOGUE\\" + PathSafeName(server) + "\\" + PathSafeName(user) + "\\";
}

bool IsManagerWorkFile(const std::string& name) {
  for (const char* fixed : {"tempFile.tmp", "dirlist.tmp", "projectlist.txt", "comment.tmp"})
    if (SameText(name, fixed)) return true;
  return IsReportName(name) || IsTagName(name);
}
