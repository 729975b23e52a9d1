#include "manager/portable/ListingLines.h"

#include <cctype>

#include "common/portable/FieldToken.h"

bool IsUnixListingLine(const std::string& line) {
  if (line.empty()) return false;
  char first = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
  return first == '-' || first == 'd' || first == 'l';
}

ListingLine ParseListingLine(const std::string& text) {
  std::string line = text;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  ListingLine result;
  if (IsUnixListingLine(line)) {
    if (std::tolower(static_cast<unsigned char>(line[0])) == 'd') {
      result.kind = ListingLineKind::Directory;
      return result;
    }
    result.size = fncGetToken(line, 5, " ", false);
    result.name = fncGetToken(line, 9, " ", true);
  } else {
    if (line.find("<DIR>") != std::string::npos) {
      result.kind = ListingLineKind::Directory;
      return result;
    }
    if (line.find("   ") == std::string::npos) return result;
    result.size = fncGetToken(line, 3, " ", false);
    result.name = fncGetToken(line, 4, " ", true);
  }
  result.kind = result.name.empty() ? ListingLineKind::Malformed : ListingLineKind::File;
  return result;
}
