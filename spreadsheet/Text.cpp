#include "spreadsheet/Text.h"

namespace xlstandin {

BSTR Utf8Bstr(const std::string& text) {
  std::wstring wide = FromUtf8(text);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

}  // namespace xlstandin
