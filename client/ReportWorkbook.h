// The report workbook of the report style: written from the template,
// re-protected for viewing, and the two probes for the spreadsheet
// application. The registration form's methods of these names call these
// with their form fields and settings.
#pragma once
#include <string>
#include <vector>

namespace workbook {

// The report's fields and where its picture goes.
struct ReportWorkbookInput {
  std::string templatePath;   // <exe>template.xls
  std::string processingDay;  // DATE, yyyymmdd
  std::string picturePath;    // <data>temp\<current capture>
  std::string presentDate;    // E3
  std::string outbreakDate;   // E4
  std::string terminal;       // E5, setting OPERATION
  std::string project;        // I7, setting PROJECT
  std::string title;          // I8
  std::vector<std::string> detailLines;     // I9, at most 2
  std::vector<std::string> operationLines;  // E11, at most 3
  double pictureHeight = 350, pictureWidth = 470, pictureTop = 280, pictureLeft = 36;  // HEIGHT WIDTH TOP LEFT
  bool protect = false;  // EXCELPWD is 1
};

// Writes the report workbook at path (T2 = base name). Never raises: false
// when it was not saved, with the reason in the log.
bool fucXlsSet(const std::string& path, const std::string& baseName, const std::string& password,
               const ReportWorkbookInput& input);

// The spreadsheet application can be started.
bool fucXlsFind();

// No spreadsheet application window ("XLMAIN") is open: up to 3 looks 100 ms
// apart.
bool fucXlsProcess();

// Opens localDir + folder + "\" + name with the old password and saves it in
// place with the new one (empty: no protection). With reTag the tag file in
// folder + "tag" is first renamed after the title in cell I8 (the new one is
// made before the old one goes). Raises std::runtime_error
// ("ExcelのOPENに失敗しました") when the workbook cannot be opened or saved;
// when only the tag could not follow, the workbook is saved all the same and
// the error names the tag's trouble (the old tag is kept). saved, when
// given, tells whether the workbook was saved, also when an error is raised.
bool fucXlsPwdChg(bool reTag, const std::string& localDir, const std::string& folder, const std::string& name,
                  const std::string& oldPassword, const std::string& newPassword, bool* saved = nullptr);

}  // namespace workbook
