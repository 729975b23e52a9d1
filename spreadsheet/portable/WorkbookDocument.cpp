#include "spreadsheet/portable/WorkbookDocument.h"

namespace spreadsheet {

namespace {

size_t Utf8Length(const std::string& text) {
  size_t count = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++count;
  return count;
}

}  // namespace

bool IsValidSheetName(const std::string& name, std::string& error) {
  size_t length = Utf8Length(name);
  if (length == 0 || length > 31) {
    error = "sheet name must have 1 to 31 characters: '" + name + "'";
    return false;
  }
  if (name.find_first_of(":\\/?*[]") != std::string::npos) {
    error = "sheet name holds one of : \\ / ? * [ ]: '" + name + "'";
    return false;
  }
  if (name.front() == '\'' || name.back() == '\'') {
    error = "sheet name starts or ends with an apostrophe: '" + name + "'";
    return false;
  }
  return true;
}

bool SameSheetName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace spreadsheet
