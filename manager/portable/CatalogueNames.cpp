#include "manager/portable/CatalogueNames.h"

#include <cctype>

#include "common/portable/NameCharacters.h"

bool IsSafeStoreName(const std::string& name) { return IsPlainFileName(name); }

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
