#include "client/portable/FileNameText.h"

#include <cstring>

#include "common/portable/Cp932.h"

namespace {

// A single-byte character that may not stand in a file name part.
bool IsForbiddenNameByte(unsigned char c) {
  static const char kForbidden[] = "~|#/'\"*&%\\.,?:;<> _";
  return c < 0x20 || c == 0x7F || (c != 0 && std::strchr(kForbidden, c) != nullptr);
}

}  // namespace

bool fncChkFileName(const std::string& text) {
  for (size_t pos = 0; pos < text.size(); pos += Cp932CharLength(text, pos)) {
    if (Cp932CharLength(text, pos) == 1 && IsForbiddenNameByte(static_cast<unsigned char>(text[pos])))
      return false;
  }
  return true;
}

bool fncCleanFileName(const std::string& text, std::string& result) {
  result.clear();
  size_t chars = 0;
  for (size_t pos = 0; pos < text.size() && chars < kMaxCleanNameChars;) {
    size_t length = Cp932CharLength(text, pos);
    if (length == 2 || !IsForbiddenNameByte(static_cast<unsigned char>(text[pos]))) {
      result.append(text, pos, length);
      ++chars;
    }
    pos += length;
  }
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

