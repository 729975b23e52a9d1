// Saving a report into the local report store: the report file (the
// capture as a picture, or the report workbook) and its empty tag file,
// named with the processing day and the daily counter. The registration
// form's fncSaveFile and fncTagFile forward to ReportSaver.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The registration form's fields that go into a report workbook.
struct ReportFormFields {
  std::string presentDate;   // submission date text
  std::string outbreakDate;  // occurrence date text
  std::string title;
  std::vector<std::string> details;     // at most 2 lines
  std::vector<std::string> operations;  // at most 3 lines
};

// The fields as the capture state holds them for the current capture.
ReportFormFields CaptureFormFields();

class ReportSaver {
 public:
  // owner: the window that owns the message box of the image fallback.
  explicit ReportSaver(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  // Writes the current capture's report file and tag file under LOCALDIR.
  // folder := the processing day, name := the report file name with its
  // extension (also when false). True when the report file and its tag were
  // written. Raises std::runtime_error for a missing template, a tag that
  // cannot be made (the report file is then removed again) and anything
  // unexpected; the counter then stays as it was.
  bool fncSaveFile(std::string& folder, std::string& name, const ReportFormFields& fields);
  bool fncSaveFile(std::string& folder, std::string& name) { return fncSaveFile(folder, name, CaptureFormFields()); }

  // Creates LOCALDIR + folder + "tag\" + name + "_" + cleaned title + ".tag"
  // empty, never over an existing file. name has no extension.
  bool fncTagFile(const std::string& folder, const std::string& name, const std::string& title);

 private:
  HWND owner_;
};

// Creates an empty file at path only when none exists. False with the reason
// when the path is too long, the file exists or it cannot be made.
bool CreateTagFile(const std::string& path, std::string& error);

// Renames the tag file of the report `name` (with extension) in
// localDir + folder + "tag\" after title: the new file is made first and
// the old one deleted only then, so a failure keeps the old tag. False with
// the reason when the tag could not follow the title.
bool RetagReport(const std::string& localDir, const std::string& folder, const std::string& name,
                 const std::string& title, std::string& error);
