// Report workbooks of the local store whose password was removed for
// viewing. Each is noted in <data>protect.lst (one line: the store folder,
// the day and the file name, tab-separated) before its password goes, and
// the note is dropped once it is protected again; a workbook still open
// when the program ended (or crashed) is thus protected at the next start,
// or before it is posted.
#pragma once
#include <string>
#include <utility>

namespace workbook {

class ViewedWorkbooks {
 public:
  // caller: "<caption>,<routine>()", the start of each log line.
  explicit ViewedWorkbooks(std::string caller) : caller_(std::move(caller)) {}

  // Notes localDir + day + "\" + name, then saves it without its password
  // (that of its name's timestamp). Raises std::runtime_error when it cannot
  // be noted (the list cannot be read or written) or opened; the workbook
  // and its note (one of an earlier view stays) are then as they were.
  void UnprotectForViewing(const std::string& localDir, const std::string& day, const std::string& name);
  // Protects it again (EXCELPWD 1: the password of its name's timestamp;
  // reTag: its tag follows cell I8) and drops its note. Raises as
  // fucXlsPwdChg; when the workbook was not saved its note stays.
  void ProtectAgain(bool reTag, const std::string& localDir, const std::string& day, const std::string& name);
  // Before a post from the local store: a noted workbook is protected again
  // first. False, logged, when that cannot be done or the list cannot be read.
  bool ProtectBeforePost(const std::string& localDir, const std::string& day, const std::string& name);
  // Drops the note of a workbook that was deleted.
  void Forget(const std::string& localDir, const std::string& day, const std::string& name);
  // Protects every noted workbook of this LOCALDIR again; one that has gone
  // from its day folder loses its note, one that cannot be protected (held
  // by a viewer, no spreadsheet application, its day folder out of reach)
  // keeps it. Notes of another LOCALDIR, and a list that cannot be read,
  // are left as they are.
  void ProtectLeft();

 private:
  void Log(const std::string& text) const;
  // ProtectAgain with its tag, logged; true when the workbook has its password again.
  bool TryProtectAgain(const std::string& localDir, const std::string& day, const std::string& name);

  std::string caller_;
};

}  // namespace workbook
