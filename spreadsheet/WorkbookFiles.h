// Reading and writing the stand-in's workbook files.
#pragma once
#include <memory>
#include <string>

#include "spreadsheet/Model.h"

namespace xlstandin {

std::wstring FullPath(const std::wstring& path);
std::string FileNamePart(const std::wstring& path);  // UTF-8
// Raises StandInError for a missing file, a broken file or a wrong password.
// The book holds its file open.
std::shared_ptr<BookState> LoadBook(const std::wstring& path, const std::string& password, bool passwordGiven);
// Raises StandInError when the folder is missing or the file cannot be
// written, as when someone holds it open.
void SaveBook(const spreadsheet::WorkbookDocument& document, const std::wstring& path);
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

}  // namespace xlstandin
