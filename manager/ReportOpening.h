// Opening reports under the edit lock, and comment editing, on the rows of
// the report grid's selection. Both run the same row steps: probe the lock
// and the completed mark, take the lock, fetch, show the report (viewer or
// comment editor), take the comment back, put the file back, release the
// lock and bring the tag file up to date.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <optional>
#include <string>

#include "manager/portable/CatalogueLists.h"

class TForm1;

// The parts of the report window the row operations use: the grid sg1
// (row 0 is the title row; row r shows list entry r - 1), its column lists
// and the progress panel.
class ReportRows {
 public:
  virtual ~ReportRows() = default;
  virtual int SelectionTop() const = 0;
  virtual int SelectionBottom() const = 0;
  virtual std::string Cell(int col, int row) const = 0;
  virtual void SetCell(int col, int row, const std::string& text) = 0;
  virtual CatalogueLists& Lists() = 0;
  // panelMsg := message, then StartPanel.
  virtual void StartPanel(const std::string& message) = 0;
  virtual void EndPanel() = 0;
  virtual void ListDisp() = 0;
  // progress := text, Panel1 repainted.
  virtual void SetProgress(const std::string& text) = 0;
  // Panel 0 of StatusBar1.
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void StopAnimation() = 0;
  virtual void StartAnimation() = 0;
  virtual bool AbortRequested() const = 0;
  // The spreadsheet-available flag (fucXlsFind at window creation).
  virtual bool SpreadsheetAvailable() const = 0;
  // The report's tag file in the tag folder, "" when it has none, nothing
  // when the folder could not be listed.
  virtual std::optional<std::string> GetTagFileName(const std::string& tagFolder, const std::string& base) = 0;
};

// ReportRows over the report window itself.
class ReportWindowRows : public ReportRows {
 public:
  explicit ReportWindowRows(TForm1& form) : form_(form) {}
  int SelectionTop() const override;
  int SelectionBottom() const override;
  std::string Cell(int col, int row) const override;
  void SetCell(int col, int row, const std::string& text) override;
  CatalogueLists& Lists() override;
  void StartPanel(const std::string& message) override;
  void EndPanel() override;
  void ListDisp() override;
  void SetProgress(const std::string& text) override;
  void SetStatusText(const std::string& text) override;
  void StopAnimation() override;
  void StartAnimation() override;
  bool AbortRequested() const override;
  bool SpreadsheetAvailable() const override;
  std::optional<std::string> GetTagFileName(const std::string& tagFolder, const std::string& base) override;

 private:
  TForm1& form_;
};

class ReportRowOperation {
 public:
  enum class Kind { Open, EditComment };
  ReportRowOperation(TForm1& form, ReportRows& rows, Kind kind) : form_(form), rows_(rows), kind_(kind) {}

  // Every row of the selection; failures end in one catch-all with its box.
  void Run();

  // Re-saves the workbook at path under savePassword (through path + ".pwd");
  // with row > 0 its comment cell COMMENTPOS becomes the row's comment.
  // False without spreadsheet automation or on any failure.
  bool fncXlsPwdChg(const std::string& path, const std::string& openPassword, const std::string& savePassword,
                    int row);

  // The Windows session ends while this runs: a lock taken on a report
  // that is only being shown is released, any other is logged as staying.
  // The row stops once the viewer or editor has returned.
  void SessionEnding();

 private:
  enum class Next { Row, End };  // End: the operation is over, EndPanel done

  Next RunRow(int row, bool last);
  // The box name_ + reason (OK on the last row, else asking to go on).
  Next Refuse(bool last, const std::string& reason);
  Next PutBack(bool last);
  // The workbook step after viewing (only for a workbook by its name);
  // false when a removed password could not be set again.
  bool ProtectWorkbook(bool workbook, int row);
  void StartViewer();
  // Renames N.UPD back to N on the store; logs the outcome.
  bool ReleaseLock();
  // Moves the edited copy that could not go back out of the work folder,
  // which the close empties, and tells the user where it is, or which
  // file holds it when it could not be kept; and that the lock stays.
  void KeepEditedCopy(bool stillLocked);
  // Logs that N.UPD stays on the store; the line the box adds for it.
  std::string LockStays();

  // CommentEditing.cpp
  void StartCommentEditor(const std::string& comment);
  void CommentReadBack(int row);
  void StoreComment(int row, const std::string& comment);
  void TagFileRule(int row);
  int CreateTagFile(const std::string& tagName);

  bool Opening() const { return kind_ == Kind::Open; }
  std::string WorkPath() const;  // <data>Temp\N
  std::string CatalogueFileOf(int row) const;
  void WriteCatalogue(int row, const std::string& key, const std::string& value);
  void OkBox(const std::string& text);
  bool ContinueBox(const std::string& text);

  TForm1& form_;
  ReportRows& rows_;
  Kind kind_;
  // The row in progress.
  std::string day_, name_, tag_, comment_, password_;
  bool tagListed_ = false;    // tag_ is known: the tag folder was listed
  std::string shownComment_;  // the row's comment before the work
  std::optional<std::string> cellComment_;  // read from the workbook, stored once it is back
  bool readOnly_ = false;
  bool locked_ = false;    // this manager holds N.UPD on the store
  bool putBack_ = false;   // the store copy may have been replaced
  bool viewing_ = false;   // the viewer or comment editor is being waited for
  bool sessionEnded_ = false;
};

// Waits for a started process in 50 ms steps, processing messages.
void WaitProcessWithMessages(HANDLE process);
