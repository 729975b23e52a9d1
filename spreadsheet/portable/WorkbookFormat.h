// The stand-in's workbook file: UTF-8 text, one record a line (FORMAT.md).
#pragma once
#include <string>

#include "spreadsheet/portable/WorkbookDocument.h"

namespace spreadsheet {

std::string WriteWorkbook(const WorkbookDocument& book);
// False with a message naming the line when the text is not a valid workbook.
bool ReadWorkbook(const std::string& text, WorkbookDocument& book, std::string& error);
// The rules a workbook must keep: at least one sheet, valid unique names,
// numbers within range.
bool ValidateWorkbook(const WorkbookDocument& book, std::string& error);

// Canonical text of a number as cells keep it ("12", "437.5", "-0.25").
std::string FormatNumber(double value);
// Strict decimal: optional sign, digits, optional fraction, optional exponent.
bool ParseNumber(const std::string& text, double& value);

}  // namespace spreadsheet
