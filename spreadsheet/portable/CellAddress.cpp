#include "spreadsheet/portable/CellAddress.h"

#include <algorithm>

namespace spreadsheet {

bool ParseCellAddress(const std::string& text, CellAddress& address) {
  size_t i = 0;
  if (i < text.size() && text[i] == '$') ++i;
  long column = 0;
  size_t letters = 0;
  for (; i < text.size(); ++i, ++letters) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') break;
    column = column * 26 + (c - 'A' + 1);
    if (column > kMaxColumn) return false;
  }
  if (letters == 0) return false;
  if (i < text.size() && text[i] == '$') ++i;
  long row = 0;
  size_t digits = 0;
  for (; i < text.size(); ++i, ++digits) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    row = row * 10 + (c - '0');
    if (row > kMaxRow) return false;
  }
  if (digits == 0 || row < 1) return false;
  address.column = static_cast<int>(column);
  address.row = static_cast<int>(row);
  return true;
}

CellRange SpanOf(const CellRange& a, const CellRange& b) {
  CellRange r;
  r.first.column = std::min({a.first.column, a.last.column, b.first.column, b.last.column});
  r.first.row = std::min({a.first.row, a.last.row, b.first.row, b.last.row});
  r.last.column = std::max({a.first.column, a.last.column, b.first.column, b.last.column});
  r.last.row = std::max({a.first.row, a.last.row, b.first.row, b.last.row});
  return r;
}

bool ParseRangeAddress(const std::string& text, CellRange& range) {
  size_t colon = text.find(':');
  CellAddress a, b;
  if (colon == std::string::npos) {
    if (!ParseCellAddress(text, a)) return false;
    range.first = range.last = a;
    return true;
  }
  if (!ParseCellAddress(text.substr(0, colon), a) || !ParseCellAddress(text.substr(colon + 1), b)) return false;
  range = SpanOf(CellRange{a, a}, CellRange{b, b});
  return true;
}

std::string ColumnName(int column) {
  std::string name;
  while (column > 0) {
    int digit = (column - 1) % 26;
    name.insert(name.begin(), static_cast<char>('A' + digit));
    column = (column - 1) / 26;
  }
  return name;
}

std::string FormatCellAddress(const CellAddress& address) {
  return ColumnName(address.column) + std::to_string(address.row);
}

std::string FormatRange(const CellRange& range) {
  if (range.IsSingleCell()) return FormatCellAddress(range.first);
  return FormatCellAddress(range.first) + ":" + FormatCellAddress(range.last);
}

}  // namespace spreadsheet
