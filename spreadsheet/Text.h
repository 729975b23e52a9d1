// UTF-8 inside the stand-in; UTF-16 at the automation boundary.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace xlstandin {

std::string ToUtf8(const wchar_t* text, size_t length);
inline std::string ToUtf8(const std::wstring& text) { return ToUtf8(text.data(), text.size()); }
std::wstring FromUtf8(const std::string& text);
BSTR Utf8Bstr(const std::string& text);

}  // namespace xlstandin
