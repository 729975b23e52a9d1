#include "manager/portable/CatalogueNames.h"

#include <cctype>

#include "common/portable/Cp932.h"

bool IsSafeStoreName(const std::string& name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size();) {
    size_t length = Cp932CharLength(name, i);
    if (length == 1) {
      unsigned char c = static_cast<unsigned char>(name[i]);
      if (c < 0x20 || c == 0x7F || c == '\\' || c == '/' || c == ':' || c == '"') return false;
    }
    i += length;
  }
  return true;
}

bool IsReportFileName(const std::string& name) {
  if (!IsSafeStoreName(name) || name.size() < 22 || name.front() == ' ') return false;
  const size_t dot = name.size() - 4;
  if (name[dot] != '.') return false;
  for (size_t i = dot + 1; i < name.size(); ++i)
    if (name[i] == '.' || name[i] == ' ') return false;
  for (size_t i = dot - 17; i < dot; ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  const std::string head = name.substr(0, dot - 17);
  return !head.empty() && head.back() != '_' && head.front() != '_';
}

bool IsTagFileName(const std::string& name) {
  if (!IsSafeStoreName(name) || name.size() <= 4) return false;
  std::string end = name.substr(name.size() - 4);
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == ".tag";
}
