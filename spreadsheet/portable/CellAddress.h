// "A1"-style cell addresses and "A1:B2" ranges of a worksheet.
#pragma once
#include <string>

namespace spreadsheet {

constexpr int kMaxColumn = 16384;   // XFD
constexpr int kMaxRow = 1048576;

struct CellAddress {
  int column = 0;  // 1 = A
  int row = 0;     // 1-based
  bool operator<(const CellAddress& o) const { return row != o.row ? row < o.row : column < o.column; }
  bool operator==(const CellAddress& o) const { return row == o.row && column == o.column; }
};

struct CellRange {
  CellAddress first;  // top left
  CellAddress last;   // bottom right
  int Rows() const { return last.row - first.row + 1; }
  int Columns() const { return last.column - first.column + 1; }
  bool IsSingleCell() const { return first == last; }
};

// "A1", "t2", "$AA$10". False for "", "2A", "A0", "A", beyond XFD1048576.
bool ParseCellAddress(const std::string& text, CellAddress& address);
// "A1" or "A1:B2" (the corners in any order).
bool ParseRangeAddress(const std::string& text, CellRange& range);
// The range spanned by two cells or ranges.
CellRange SpanOf(const CellRange& a, const CellRange& b);

std::string ColumnName(int column);
std::string FormatCellAddress(const CellAddress& address);
std::string FormatRange(const CellRange& range);  // "A1" or "A1:B2"

}  // namespace spreadsheet
