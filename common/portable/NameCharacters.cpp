#include "common/portable/NameCharacters.h"

#include <cstring>

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
  return true;
}

std::string WithoutNameCharacters(const std::string& text) {
  std::string result;
  for (size_t pos = 0; pos < text.size(); pos += Cp932CharLength(text, pos))
    if (!IsNameCharacterAt(text, pos)) result.append(text, pos, Cp932CharLength(text, pos));
  return result;
}
