#include "spreadsheet/Model.h"

#include <cstdlib>

#include "spreadsheet/XlMainWindow.h"

namespace xlstandin {

int BookState::IndexOf(const SheetState* sheet) const {
  for (size_t i = 0; i < sheets.size(); ++i)
    if (sheets[i].get() == sheet) return static_cast<int>(i);
  return -1;
}

void BookState::HoldFile(const std::wstring& full) {
  HANDLE held = CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (held == INVALID_HANDLE_VALUE) throw StandInError("the workbook file cannot be kept open");
  ReleaseFile();
  file = held;
}

void BookState::ReleaseFile() {
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  file = INVALID_HANDLE_VALUE;
}

spreadsheet::WorkbookDocument BookState::Document() const {
  spreadsheet::WorkbookDocument document;
  document.password = password;
  for (const auto& sheet : sheets) document.sheets.push_back(sheet->sheet);
  return document;
}

namespace {

std::string Environment(const char* name) {
  char value[64];
  DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

}  // namespace

AppState::AppState() {
  version = Environment("XLSTANDIN_VERSION");
  if (version.empty()) version = "16.0";
  busyCalls = std::atol(Environment("XLSTANDIN_BUSY_CALLS").c_str());
}

int AppState::MajorVersion() const { return std::atoi(version.c_str()); }

void AppState::CheckAlertsOff(const std::string& call) const {
  if (displayAlerts)
    throw StandInError(call + ": the user would be asked (DisplayAlerts is True); the prompt was cancelled");
}

AppState::~AppState() { DestroyMainWindow(window); }

void AppState::CheckRunning() const {
  if (quit) throw StandInError("the application has quit");
}

void AppState::SetVisible(bool on) {
  visible = on;
  if (on && !window) {
    window = CreateMainWindow();
    if (!window) throw StandInError("the application window cannot be created");
  } else if (!on && window) {
    DestroyMainWindow(window);
    window = nullptr;
  }
}

void AppState::OpenBook(const std::shared_ptr<BookState>& book) {
  books.push_back(book);
  activeBook = book;
}

void AppState::CloseBook(const std::shared_ptr<BookState>& book) {
  book->closed = true;
  book->ReleaseFile();
  for (size_t i = 0; i < books.size(); ++i)
    if (books[i] == book) books.erase(books.begin() + static_cast<long>(i));
  if (activeBook.lock() == book) activeBook = books.empty() ? std::weak_ptr<BookState>() : books.back();
  if (auto copied = copiedSheet.lock())
    if (book->IndexOf(copied.get()) >= 0) copyPending = false;
}

void AppState::Quit() {
  while (!books.empty()) CloseBook(books.back());
  SetVisible(false);
  quit = true;
}

double CellLeft(int column) { return (column - 1) * 48.0; }
double CellTop(int row) { return (row - 1) * 13.5; }

}  // namespace xlstandin
