// Real Excel 97-2003 workbooks (.xls, BIFF8 records in the "Workbook" stream
// of a compound file). Read are the worksheets in order, their text and number
// cells, formatted empty cells and the cells' number formats; charts,
// pictures, formulas, styles and the rest are passed over. Reads untrusted
// bytes: a cut or garbled file is refused with a reason.
#pragma once
#include <string>

#include "spreadsheet/portable/WorkbookDocument.h"

namespace spreadsheet {

bool ReadXlsWorkbook(const std::string& bytes, WorkbookDocument& book, std::string& error);

// A workbook file of either kind: a real .xls workbook or the stand-in's own
// text file (WorkbookFormat.h). Anything else is refused.
bool ReadWorkbookFile(const std::string& bytes, WorkbookDocument& book, std::string& error);

}  // namespace spreadsheet
