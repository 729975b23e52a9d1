#include "manager/portable/ProjectListRules.h"

#include "manager/portable/ListingLines.h"
#include "manager/portable/NameText.h"

namespace {

// Case-insensitive compare of ASCII letters, as Windows and most FTP
// servers on Windows compare file names.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool ContainsName(const std::string& line, const std::string& name) {
  for (size_t at = 0; at + name.size() <= line.size(); ++at)
    if (SameName(line.substr(at, name.size()), name)) return true;
  return false;
}

}  // namespace

const std::vector<std::string>& ExampleProjectList() {
  static const std::vector<std::string> lines = {
      "プロジェクトリストの例です", "自由に書き換えてください", "統括本部",       "企画部",
      "顧客管理部",                 "サポートセンター",         "システム開発部", "営業部営業1課",
  };
  return lines;
}

std::string ProjectListText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::vector<std::string> ProjectListLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.push_back(line);
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

int FirstInvalidProjectLine(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (!fncIsValidName(lines[i])) return static_cast<int>(i);
  return -1;
}

StoreFileState FileInListing(FolderListing listing, const std::vector<std::string>& lines, bool ftpMode,
                             const std::string& name) {
  if (listing == FolderListing::Absent) return StoreFileState::Absent;
  if (listing != FolderListing::Ok) return StoreFileState::Unknown;
  StoreFileState state = StoreFileState::Absent;
  for (const std::string& line : lines) {
    if (!ftpMode) {
      if (SameName(TrimText(line), name)) return StoreFileState::Present;
      continue;
    }
    const ListingLine parsed = ParseListingLine(line);
    const bool named = SameName(TrimText(parsed.name), name);
    if (parsed.kind == ListingLineKind::File && named) return StoreFileState::Present;
    // A folder of that name, or a line that names it but cannot be read, proves nothing.
    if (parsed.kind != ListingLineKind::File && ContainsName(line, name)) state = StoreFileState::Unknown;
  }
  return state;
}
