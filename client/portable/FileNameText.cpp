#include "client/portable/FileNameText.h"

#include "common/portable/Cp932.h"
#include "common/portable/NameCharacters.h"

bool fncChkFileName(const std::string& text) { return HoldsNoNameCharacter(text); }

bool fncCleanFileName(const std::string& text, std::string& result) {
  const std::string cleaned = WithoutNameCharacters(text);
  size_t end = 0;
  for (size_t chars = 0; end < cleaned.size() && chars < kMaxCleanNameChars; ++chars)
    end += Cp932CharLength(cleaned, end);
  result = cleaned.substr(0, end);
  return true;
}

bool fncSplitFileName(const std::string& path, std::string& base, std::string& extension) {
  size_t nameStart = 0, dot = std::string::npos;
  for (size_t pos = 0; pos < path.size(); pos += Cp932CharLength(path, pos)) {
    if (Cp932CharLength(path, pos) != 1) continue;
    if (path[pos] == '\\' || path[pos] == ':') {
      nameStart = pos + 1;
      dot = std::string::npos;
    } else if (path[pos] == '.') {
      dot = pos;
    }
  }
  if (dot == std::string::npos) {
    base = path.substr(nameStart);
    extension.clear();
  } else {
    base = path.substr(nameStart, dot - nameStart);
    extension = path.substr(dot + 1);
  }
  return true;
}

std::string ExtractFilePath(const std::string& path) {
  size_t end = 0;
  for (size_t pos = 0; pos < path.size(); pos += Cp932CharLength(path, pos))
    if (path[pos] == '\\' || path[pos] == ':') end = pos + 1;
  return path.substr(0, end);
}

