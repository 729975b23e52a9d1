#include "updater/portable/DownloadListing.h"

#include "common/portable/Cp932.h"
#include "common/portable/FieldToken.h"
#include "common/portable/NameCharacters.h"

namespace updater {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Calls part(begin, length) for each part of the path between "\" and "/".
template <typename Part>
void ForEachPart(const std::string& path, Part part) {
  size_t begin = 0;
  for (size_t pos = 0;; pos += Cp932CharLength(path, pos)) {
    if (pos == path.size() || path[pos] == '\\' || path[pos] == '/') {
      part(begin, pos - begin);
      if (pos == path.size()) return;
      begin = pos + 1;
    }
  }
}

}  // namespace

bool IsTotalLine(const std::string& line) {
  if (line.compare(0, 6, "total ") != 0) return false;
  const size_t digits = line.find_first_not_of(' ', 6);
  return digits != std::string::npos && line.find_first_not_of("0123456789", digits) == std::string::npos;
}

ListingStyle ListingStyleOf(const std::string& firstLineLower) {
  if (firstLineLower.empty()) return ListingStyle::Msdos;
  const char c = firstLineLower[0];
  return (c == '-' || c == 'd' || c == 'l') ? ListingStyle::Unix : ListingStyle::Msdos;
}

ListingLine ReadListingLine(const std::string& line, ListingStyle style) {
  if (line.empty()) return {LineKind::Empty, ""};
  if (IsTotalLine(line)) return {LineKind::Total, ""};
  std::string name;
  if (style == ListingStyle::Msdos) {
    if (line.find("<DIR>") != std::string::npos) return {LineKind::Folder, ""};
    name = fncGetToken(line, 4, " ", true);
  } else {
    if (LowerAscii(line[0]) == 'd') return {LineKind::Folder, ""};
    name = fncGetToken(line, 9, " ", true);
  }
  return {IsPlainFileName(name) ? LineKind::File : LineKind::Refused, name};
}

bool IsPlainRelativePath(const std::string& path) {
  bool plain = true;
  ForEachPart(path, [&](size_t begin, size_t length) { plain = plain && IsPlainFileName(path.substr(begin, length)); });
  return plain;
}

std::string WithSeparator(const std::string& path, char separator) {
  std::string result;
  ForEachPart(path, [&](size_t begin, size_t length) {
    if (begin > 0) result += separator;
    result.append(path, begin, length);
  });
  return result;
}

}  // namespace updater
