#include "common/portable/Cp932.h"

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

size_t Cp932CharLength(const std::string& text, size_t pos) {
  if (IsCp932LeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) return 2;
  return 1;
}

size_t Cp932CutLength(const std::string& text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  size_t pos = 0;
  while (pos < text.size()) {
    size_t next = pos + Cp932CharLength(text, pos);
    if (next > maxBytes) break;
    pos = next;
  }
  return pos;
}

bool Cp932EndsWith(const std::string& text, char c) {
  size_t last = std::string::npos;
  for (size_t pos = 0; pos < text.size(); pos += Cp932CharLength(text, pos)) last = pos;
  return last != std::string::npos && last + 1 == text.size() && text[last] == c;
}

size_t Cp932Find(const std::string& text, char c) {
  for (size_t pos = 0; pos < text.size(); pos += Cp932CharLength(text, pos))
    if (text[pos] == c) return pos;
  return std::string::npos;
}

size_t Cp932FindLast(const std::string& text, char c) {
  size_t found = std::string::npos;
  for (size_t pos = 0; pos < text.size(); pos += Cp932CharLength(text, pos))
    if (text[pos] == c) found = pos;
  return found;
}
