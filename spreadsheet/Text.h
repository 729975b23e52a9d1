// UTF-8 inside the stand-in; UTF-16 at the automation boundary.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "common/WideText.h"

namespace xlstandin {

inline std::string ToUtf8(const wchar_t* text, size_t length) { return ToNarrow(text, length, CP_UTF8); }
inline std::string ToUtf8(const std::wstring& text) { return ToNarrow(text, CP_UTF8); }
inline std::wstring FromUtf8(const std::string& text) { return ToWide(text, CP_UTF8); }
BSTR Utf8Bstr(const std::string& text);

}  // namespace xlstandin
