#include "common/portable/NameCharacters.h"

#include <cstring>
#include <stdexcept>

#include "common/portable/Cp932.h"

namespace {

bool IsNameCharacterAt(const std::string& text, size_t pos) {
  if (Cp932CharLength(text, pos) != 1) return false;
  static const char kForbidden[] = "~|#/'\"*&%\\.,?:;<> _";
  const unsigned char c = static_cast<unsigned char>(text[pos]);
  return c < 0x20 || c == 0x7F || std::strchr(kForbidden, c) != nullptr;
}

}  // namespace

bool HoldsNoNameCharacter(const std::string& text) {
  for (size_t pos = 0; pos < text.size(); pos += Cp932CharLength(text, pos))
    if (IsNameCharacterAt(text, pos)) return false;
  return !IsDeviceName(text);
}

std::string WithoutNameCharacters(const std::string& text) {
  std::string result;
  for (size_t pos = 0; pos < text.size(); pos += Cp932CharLength(text, pos))
    if (!IsNameCharacterAt(text, pos)) result.append(text, pos, Cp932CharLength(text, pos));
  return result;
}

bool IsDeviceName(const std::string& name) {
  // "." and the blank are never the second byte of a double-byte character.
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.pop_back();
  for (char& c : base)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name.find("..") != std::string::npos || IsDeviceName(name)) return false;
  for (size_t pos = 0; pos < name.size(); pos += Cp932CharLength(name, pos)) {
    const unsigned char c = static_cast<unsigned char>(name[pos]);
    // A lead byte needs its second byte: at the end it would take a "\"
    // joined after it, and before a "/" the two meet as no character.
    if (IsCp932LeadByte(c)) {
      if (pos + 1 == name.size()) return false;
      const unsigned char trail = static_cast<unsigned char>(name[pos + 1]);
      if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
      continue;
    }
    if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c)) return false;
  }
  // Windows drops trailing dots and blanks: "a." would be written as "a".
  const char last = name.back();
  return last != '.' && last != ' ';
}

std::string PathInFolder(const std::string& folder, const std::string& name, char separator) {
  if (!IsPlainFileName(name)) throw std::invalid_argument("不正なファイル名です:" + name);
  if (folder.empty() || Cp932EndsWith(folder, separator)) return folder + name;
  return folder + separator + name;
}
