#include "office/SpreadsheetProbe.h"

#include <windows.h>

#include "office/OleError.h"
#include "office/Spreadsheet.h"

namespace office {

bool ProbeSpreadsheet(std::string* error) {
  try {
    Application application = Application::Create();
    // Created is enough: a busy application that refuses its Quit is there.
    application.QuitQuietly();
    return true;
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
}

bool SpreadsheetRunning() { return FindWindowA("XLMAIN", nullptr) != nullptr; }

}  // namespace office
