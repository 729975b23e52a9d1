#include "spreadsheet/WorkbookFiles.h"

#include "spreadsheet/DispatchObject.h"
#include "spreadsheet/Text.h"
#include "spreadsheet/portable/WorkbookFormat.h"
#include "spreadsheet/portable/XlsWorkbook.h"

namespace xlstandin {

std::wstring FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 2];
  DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 2, buffer, nullptr);
  if (length == 0 || length >= MAX_PATH * 2) throw StandInError("bad file name '" + ToUtf8(path) + "'");
  return std::wstring(buffer, length);
}

std::string FileNamePart(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return ToUtf8(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return ok;
}

std::shared_ptr<BookState> LoadBook(const std::wstring& path, const std::string& password, bool passwordGiven) {
  std::wstring full = FullPath(path);
  std::string bytes;
  if (!ReadWholeFile(full, bytes)) throw StandInError("'" + ToUtf8(full) + "' cannot be found or opened");
  spreadsheet::WorkbookDocument document;
  std::string error;
  if (!spreadsheet::ReadWorkbookFile(bytes, document, error))
    throw StandInError("'" + ToUtf8(full) + "' is not a workbook: " + error);
  if (!document.password.empty() && (!passwordGiven || password != document.password))
    throw StandInError(passwordGiven ? "the password is not correct" : "the workbook is protected by a password");
  auto book = std::make_shared<BookState>();
  book->path = full;
  book->name = FileNamePart(full);
  book->password = document.password;
  for (spreadsheet::Sheet& sheet : document.sheets) {
    auto state = std::make_shared<SheetState>();
    state->sheet = std::move(sheet);
    book->sheets.push_back(state);
  }
  book->active = book->sheets.front();
  book->HoldFile(full);
  return book;
}

void SaveBook(const spreadsheet::WorkbookDocument& document, const std::wstring& full) {
  size_t slash = full.find_last_of(L"\\/");
  std::wstring folder = slash == std::wstring::npos ? L"." : full.substr(0, slash + 1);
  DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw StandInError("the folder '" + ToUtf8(folder) + "' does not exist");
  std::string error;
  if (!spreadsheet::ValidateWorkbook(document, error)) throw StandInError(error);
  std::string text = spreadsheet::WriteWorkbook(document);
  HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw StandInError("'" + ToUtf8(full) + "' cannot be written" +
                       (GetLastError() == ERROR_SHARING_VIOLATION ? ": it is in use" : ""));
  DWORD written = 0;
  bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
  ok = CloseHandle(file) && ok;
  if (!ok) throw StandInError("'" + ToUtf8(full) + "' cannot be written");
}

}  // namespace xlstandin
