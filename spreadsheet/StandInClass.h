// The stand-in's class identity, registered under the ProgID
// "Excel.Application".
#pragma once
#include <windows.h>

namespace xlstandin {

// {2A400C25-0C2D-4A33-B59E-EE8D76B01885}
const CLSID CLSID_XlStandIn = {0x2a400c25, 0x0c2d, 0x4a33, {0xb5, 0x9e, 0xee, 0x8d, 0x76, 0xb0, 0x18, 0x85}};
const wchar_t kClsidText[] = L"{2A400C25-0C2D-4A33-B59E-EE8D76B01885}";
const wchar_t kProgId[] = L"Excel.Application";

}  // namespace xlstandin
