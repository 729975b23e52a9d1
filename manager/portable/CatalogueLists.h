// The twelve column lists of the report window, filled from the catalogue
// files of a range of days: one entry per shown report, newest first.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "manager/portable/CatalogueDay.h"
#include "manager/portable/IniText.h"

enum CatalogueColumn {
  kColDate,       // "yyyy/mm/dd"
  kColTime,       // "hh:nn:ss"
  kColImportant,  // "重要" or ""
  kColCompleted,  // "完了" or ""
  kColFileType,
  kColProject,
  kColOperation,
  kColFileSize,
  kColComment,
  kColFileName,  // the section name
  kColStatus,    // hidden
  kColRead,      // hidden
  kColumnCount
};

inline constexpr char kImportantText[] = "重要";
inline constexpr char kCompletedText[] = "完了";

// A section's values as the catalogue file holds them.
struct CatalogueValues {
  std::string status, read, important, fileSize, fileType, comment, project, operation;
};

class CatalogueLists {
 public:
  using Row = std::array<std::string, kColumnCount>;

  size_t Count() const { return columns_[0].size(); }
  const std::vector<std::string>& Column(int column) const { return columns_[column]; }
  const std::string& Cell(int column, size_t row) const { return columns_[column][row]; }
  void SetCell(int column, size_t row, const std::string& text) { columns_[column][row] = text; }
  Row RowAt(size_t row) const;

  void Clear();
  void InsertFront(const Row& row);
  void Append(const Row& row);
  void Erase(size_t row);

  // Puts the section at the front unless its STATUS is "0". day is
  // "yyyymmdd"; the time comes from the section (report file) name.
  void AddSection(const std::string& day, const std::string& section, const CatalogueValues& values);
  // Puts every section of a day's catalogue whose STATUS is not "0" at the
  // front, in file order, so that the day's last section comes first.
  // day is "yyyymmdd". Called for the days of a range from the first on,
  // this leaves the last day first. A section that is no safe report file
  // name (the file may come from anywhere) goes to skipped instead.
  void AddDay(const std::string& day, const IniText& file, std::vector<SkippedEntry>& skipped);

 private:
  std::array<std::vector<std::string>, kColumnCount> columns_;
};

// The days from first to last inclusive as "yyyymmdd" (both given so);
// none when last is before first or a text is no valid date.
std::vector<std::string> DaysOfRange(const std::string& first, const std::string& last);
