// Text between a narrow code page and UTF-16, for the wide Windows and OLE
// calls. The default code page is the system's (932 on the target PCs).
#pragma once
#include <windows.h>

#include <string>

std::wstring ToWide(const std::string& text, UINT codePage = CP_ACP);
std::string ToNarrow(const wchar_t* text, size_t length, UINT codePage = CP_ACP);
inline std::string ToNarrow(const std::wstring& text, UINT codePage = CP_ACP) {
  return ToNarrow(text.data(), text.size(), codePage);
}
