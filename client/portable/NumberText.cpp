#include "client/portable/NumberText.h"

bool fncChkNumeric(const std::string& text, int mode) {
  if (text.empty()) return false;
  if (mode != 0 && mode != 1) return true;
  for (char c : text) {
    bool digit = c >= '0' && c <= '9';
    if (!digit && !(mode == 1 && (c == ',' || c == '-' || c == '.'))) return false;
  }
  return true;
}

bool fncChkIpAddress(const std::string& text, std::array<std::string, 4>& parts) {
  for (std::string& part : parts) part.clear();
  if (text.empty()) return false;
  size_t dots = 0;
  for (char c : text) {
    if (c == '.')
      ++dots;
    else if (dots < 4)
      parts[dots] += c;
  }
  if (dots != 3) return false;
  for (const std::string& part : parts)
    if (part.size() > 3 || !fncChkNumeric(part, 0)) return false;
  for (std::string& part : parts) {
    size_t first = part.find_first_not_of('0');
    part = first == std::string::npos ? "0" : part.substr(first);
  }
  return true;
}
