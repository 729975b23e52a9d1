#include "manager/portable/CatalogueDay.h"

#include <cctype>
#include <unordered_map>

#include "manager/portable/CatalogueNames.h"
#include "manager/portable/ListingLines.h"
#include "manager/portable/NameText.h"

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string FileTypeOf(const std::string& name) {
  size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot + 1 == name.size()) return "Etc";
  return Upper(name.substr(dot + 1));
}

void AddTagName(const std::string& name, const std::string& text, std::vector<std::string>& names,
                std::vector<SkippedEntry>& skipped) {
  if (IsTagFileName(name))
    names.push_back(name);
  else
    skipped.push_back({text, IsSafeStoreName(name) ? SkipReason::NotTag : SkipReason::UnsafeName});
}

}  // namespace

const char* SkipReasonText(SkipReason reason) {
  switch (reason) {
    case SkipReason::Directory: return "ディレクトリ行はスキップ";
    case SkipReason::Malformed: return "フォーマット異常によりスキップ";
    case SkipReason::Upload: return "転送中ファイルはスキップ";
    case SkipReason::UnsafeName: return "不正なファイル名によりスキップ";
    case SkipReason::NotReport: return "レポート以外のファイルはスキップ";
    case SkipReason::NotTag: return "タグファイル以外はスキップ";
  }
  return "";
}

std::vector<StoreFile> FilesFromListing(const std::vector<std::string>& lines,
                                        std::vector<SkippedEntry>& skipped) {
  std::vector<StoreFile> files;
  for (const std::string& line : lines) {
    if (TrimText(line).empty()) continue;
    ListingLine parsed = ParseListingLine(line);
    if (parsed.kind == ListingLineKind::Directory)
      skipped.push_back({line, SkipReason::Directory});
    else if (parsed.kind == ListingLineKind::Malformed)
      skipped.push_back({line, SkipReason::Malformed});
    else
      files.push_back({parsed.name, parsed.size});
  }
  return files;
}

std::vector<std::string> TagNamesFromListing(const std::vector<std::string>& lines,
                                             std::vector<SkippedEntry>& skipped) {
  std::vector<std::string> names;
  for (const std::string& line : lines) {
    if (TrimText(line).empty()) continue;
    ListingLine parsed = ParseListingLine(line);
    if (parsed.kind == ListingLineKind::File)
      AddTagName(parsed.name, line, names, skipped);
    else
      skipped.push_back({line, parsed.kind == ListingLineKind::Directory ? SkipReason::Directory
                                                                          : SkipReason::Malformed});
  }
  return names;
}

std::vector<std::string> TagNamesFromEntries(const std::vector<std::string>& entries,
                                             std::vector<SkippedEntry>& skipped) {
  std::vector<std::string> names;
  for (const std::string& entry : entries) {
    std::string name = TrimText(entry);
    if (name.empty() || name == "." || name == "..") continue;
    AddTagName(name, entry, names, skipped);
  }
  return names;
}

bool AcceptReportName(const std::string& name, const std::string& text, std::vector<SkippedEntry>& skipped) {
  if (IsReportFileName(name)) return true;
  skipped.push_back({text, IsSafeStoreName(name) ? SkipReason::NotReport : SkipReason::UnsafeName});
  return false;
}

void DropForeignSections(IniText& file, const std::string& fileName, std::vector<SkippedEntry>& skipped) {
  for (const std::string& section : file.Sections())
    if (!AcceptReportName(section, fileName + " [" + section + "]", skipped)) file.Remove(section);
}

std::vector<CatalogueEntry> BuildDayEntries(const std::vector<StoreFile>& files,
                                            const std::vector<std::string>& tagNames, bool sharedFolder,
                                            std::vector<SkippedEntry>& skipped) {
  // The first tag of each report base, so that each lookup is one search.
  std::unordered_map<std::string, size_t> firstTag;
  for (size_t i = 0; i < tagNames.size(); ++i) {
    const int separator = fncLastDelimiterPos("_", tagNames[i]);
    if (separator >= 1) firstTag.emplace(TrimText(tagNames[i].substr(0, separator - 1)), i);
  }
  std::vector<CatalogueEntry> entries;
  for (const StoreFile& file : files) {
    const std::string upper = Upper(file.name);
    const bool upload = sharedFolder ? EndsWith(upper, ".TMP") : upper.find(".TMP") != std::string::npos;
    if (upload) {
      skipped.push_back({file.name, SkipReason::Upload});
      continue;
    }
    CatalogueEntry entry;
    entry.section = file.name;
    entry.status = "1";
    if (EndsWith(upper, ".UPD") || EndsWith(upper, ".CMP")) {
      entry.section.resize(entry.section.size() - 4);
      entry.status = EndsWith(upper, ".UPD") ? "2" : "3";
    }
    if (!AcceptReportName(entry.section, file.name, skipped)) continue;
    entry.fileSize = file.size;
    entry.fileType = FileTypeOf(entry.section);
    const std::string base = entry.section.substr(0, entry.section.size() - 4);
    const auto found = firstTag.find(TrimText(base));
    const std::string tag = found == firstTag.end() ? "" : fncFindTagFile(base, {tagNames[found->second]}, false);
    if (!tag.empty()) {
      entry.comment = fncCommentFromTagName(tag);
      entry.project = fncProjectFromName(tag);
      entry.creator = fncCreatorFromName(tag);
    }
    entries.push_back(entry);
  }
  return entries;
}

bool ApplyDayListing(IniText& file, FolderListing day, FolderListing tags,
                     const std::vector<CatalogueEntry>& entries) {
  if (day == FolderListing::Failed) return false;
  if (file.Sections().empty() && entries.empty()) return false;
  for (const std::string& section : file.Sections()) file.Write(section, kStatusKey, "0");
  for (const CatalogueEntry& entry : entries) {
    const bool keepTagData = tags == FolderListing::Failed && file.HasSection(entry.section);
    file.Write(entry.section, kStatusKey, entry.status);
    file.Write(entry.section, kFileSizeKey, entry.fileSize);
    file.Write(entry.section, kFileTypeKey, entry.fileType);
    if (keepTagData) continue;
    file.Write(entry.section, kCommentKey, entry.comment);
    file.Write(entry.section, kProjectKey, entry.project);
    file.Write(entry.section, kOperationKey, entry.creator);
  }
  return true;
}
