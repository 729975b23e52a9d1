// The live state of one stand-in application instance: its open workbooks,
// their sheets, the active sheet and the pending range copy.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "spreadsheet/DispatchObject.h"
#include "spreadsheet/portable/WorkbookDocument.h"

namespace xlstandin {

struct SheetState {
  spreadsheet::Sheet sheet;
  spreadsheet::CellRange selection{{1, 1}, {1, 1}};
  bool deleted = false;
};

struct BookState {
  BookState() = default;
  ~BookState() { ReleaseFile(); }
  BookState(const BookState&) = delete;
  BookState& operator=(const BookState&) = delete;

  std::wstring path;  // full path; empty for a new book
  std::string name;   // file name part, UTF-8
  std::string password;
  std::vector<std::shared_ptr<SheetState>> sheets;
  std::weak_ptr<SheetState> active;
  bool closed = false;
  // As the real application does, the book's file stays open, sharing reads
  // only, from Open or SaveAs until Close: nobody may rename, replace or
  // delete it meanwhile.
  HANDLE file = INVALID_HANDLE_VALUE;

  void HoldFile(const std::wstring& full);  // raises when it cannot be opened
  void ReleaseFile();
  int IndexOf(const SheetState* sheet) const;  // -1 when not in the book
  spreadsheet::WorkbookDocument Document() const;
};

struct AppState {
  AppState();
  ~AppState();
  AppState(const AppState&) = delete;
  AppState& operator=(const AppState&) = delete;

  bool displayAlerts = true;
  std::string version;  // "16.0"; XLSTANDIN_VERSION plays an older one
  // Calls still to be refused as busy (XLSTANDIN_BUSY_CALLS).
  long busyCalls = 0;
  bool visible = false;
  bool quit = false;
  std::vector<std::shared_ptr<BookState>> books;
  std::weak_ptr<BookState> activeBook;
  HWND window = nullptr;  // "XLMAIN" while visible
  // Range.copy waiting for a paste; void once the clipboard changes.
  std::weak_ptr<SheetState> copiedSheet;
  spreadsheet::CellRange copiedRange;
  DWORD copiedClipboardSequence = 0;
  bool copyPending = false;

  void CheckRunning() const;  // raises after Quit
  int MajorVersion() const;
  // A call that may ask the user fails, as a cancelled prompt does, while
  // alerts are on: the application is never seen, so nobody could answer.
  void CheckAlertsOff(const std::string& call) const;
  void SetVisible(bool visible);
  // The book joins the open books as the active one.
  void OpenBook(const std::shared_ptr<BookState>& book);
  void CloseBook(const std::shared_ptr<BookState>& book);
  void Quit();
};

// Positions of cells in points: columns 48 wide, rows 13.5 high.
double CellLeft(int column);
double CellTop(int row);

}  // namespace xlstandin
