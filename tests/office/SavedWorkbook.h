// For Windows tests: reads a workbook file that the stand-in application
// saved (or a real .xls workbook such as a shipped template), and the value of
// one of its cells.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "spreadsheet/portable/XlsWorkbook.h"
#include "tests/office/StandInTestSupport.h"

namespace standin {

inline spreadsheet::WorkbookDocument SavedWorkbook(const std::string& path) {
  spreadsheet::WorkbookDocument document;
  std::string error;
  EXPECT_TRUE(spreadsheet::ReadWorkbookFile(ReadBytes(path), document, error)) << path << ": " << error;
  return document;
}

// "<none>" for a cell that was never written; a formula reads "formula =...".
inline std::string CellValue(const spreadsheet::Sheet& sheet, const char* name) {
  spreadsheet::CellAddress at;
  spreadsheet::ParseCellAddress(name, at);
  auto found = sheet.cells.find(at);
  if (found == sheet.cells.end()) return "<none>";
  return (found->second.isFormula ? "formula " : "") + found->second.value;
}

}  // namespace standin
