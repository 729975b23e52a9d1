#include "manager/portable/CatalogueLists.h"

#include <cstdio>

#include "manager/portable/CatalogueDay.h"
#include "manager/portable/NameText.h"

CatalogueLists::Row CatalogueLists::RowAt(size_t row) const {
  Row result;
  for (int c = 0; c < kColumnCount; ++c) result[c] = columns_[c][row];
  return result;
}

void CatalogueLists::Clear() {
  for (auto& column : columns_) column.clear();
}

void CatalogueLists::InsertFront(const Row& row) {
  for (int c = 0; c < kColumnCount; ++c) columns_[c].insert(columns_[c].begin(), row[c]);
}

void CatalogueLists::Append(const Row& row) {
  for (int c = 0; c < kColumnCount; ++c) columns_[c].push_back(row[c]);
}

void CatalogueLists::Erase(size_t row) {
  for (auto& column : columns_) column.erase(column.begin() + static_cast<std::ptrdiff_t>(row));
}

namespace {

CatalogueLists::Row RowOf(const std::string& day, const std::string& section, const CatalogueValues& values) {
  CatalogueLists::Row row;
  row[kColDate] = fncFormatDate(day);
  row[kColTime] = fncFormatTime(fncGetTimeFromName(section));
  row[kColImportant] = values.important == "1" ? kImportantText : "";
  row[kColCompleted] = values.status == "3" ? kCompletedText : "";
  row[kColFileType] = values.fileType;
  row[kColProject] = values.project;
  row[kColOperation] = values.operation;
  row[kColFileSize] = values.fileSize;
  row[kColComment] = values.comment;
  row[kColFileName] = section;
  row[kColStatus] = values.status;
  row[kColRead] = values.read;
  return row;
}

}  // namespace

void CatalogueLists::AddSection(const std::string& day, const std::string& section, const CatalogueValues& values) {
  if (values.status == "0") return;
  InsertFront(RowOf(day, section, values));
}

void CatalogueLists::AddDay(const std::string& day, const IniText& file, std::vector<SkippedEntry>& skipped) {
  // The day's rows, last section first, go in front in one step per column.
  std::vector<Row> rows;
  const std::vector<std::string> sections = file.Sections();
  for (auto name = sections.rbegin(); name != sections.rend(); ++name) {
    if (!AcceptReportName(*name, day + ".ini [" + *name + "]", skipped)) continue;
    CatalogueValues values{file.Read(*name, kStatusKey),   file.Read(*name, kReadKey),
                           file.Read(*name, kImportantKey), file.Read(*name, kFileSizeKey),
                           file.Read(*name, kFileTypeKey),  file.Read(*name, kCommentKey),
                           file.Read(*name, kProjectKey),   file.Read(*name, kOperationKey)};
    if (values.status != "0") rows.push_back(RowOf(day, *name, values));
  }
  for (int c = 0; c < kColumnCount; ++c) {
    std::vector<std::string> column;
    column.reserve(rows.size() + columns_[c].size());
    for (Row& row : rows) column.push_back(std::move(row[c]));
    for (std::string& text : columns_[c]) column.push_back(std::move(text));
    columns_[c] = std::move(column);
  }
}

namespace {

bool ParseDay(const std::string& text, int& y, int& m, int& d) {
  if (text.size() != 8) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  y = std::stoi(text.substr(0, 4));
  m = std::stoi(text.substr(4, 2));
  d = std::stoi(text.substr(6, 2));
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12 || d < 1) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

}  // namespace

std::vector<std::string> DaysOfRange(const std::string& first, const std::string& last) {
  std::vector<std::string> days;
  int y, m, d, ly, lm, ld;
  if (!ParseDay(first, y, m, d) || !ParseDay(last, ly, lm, ld) || last < first) return days;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (;;) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", y, m, d);
    days.push_back(text);
    if (y == ly && m == lm && d == ld) break;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (++d > kDays[m - 1] + (m == 2 && leap ? 1 : 0)) {
      d = 1;
      if (++m > 12) {
        m = 1;
        ++y;
      }
    }
  }
  return days;
}
