#include "spreadsheet/CallLog.h"

#include <windows.h>

namespace xlstandin {

void LogCall(const std::string& line) {
  wchar_t path[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"XLSTANDIN_CALL_LOG", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace xlstandin
