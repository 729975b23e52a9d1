#include "common/WideText.h"

std::wstring ToWide(const std::string& text, UINT codePage) {
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string ToNarrow(const wchar_t* text, size_t length, UINT codePage) {
  if (!text || length == 0) return std::string();
  int size = WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string narrow(size, '\0');
  WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), &narrow[0], size, nullptr, nullptr);
  return narrow;
}
