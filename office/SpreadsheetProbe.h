// Whether the spreadsheet application can be started, and whether one runs.
#pragma once
#include <string>

namespace office {

// Creates the application and quits it at once. False (with the reason) when
// it cannot be created; a refused Quit does not count.
bool ProbeSpreadsheet(std::string* error = nullptr);
// A top-level window of the class "XLMAIN" exists.
bool SpreadsheetRunning();

}  // namespace office
