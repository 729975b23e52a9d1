// regsvr32 support: ProgID "Excel.Application" -> our CLSID -> this DLL,
// in-process, apartment-threaded.
#include <windows.h>
#include <olectl.h>

#include <string>

#include "spreadsheet/StandInClass.h"
#include "spreadsheet/XlMainWindow.h"

using namespace xlstandin;

namespace {

const wchar_t kDescription[] = L"XlStandIn spreadsheet application";

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

// The CLSID the ProgID names now, or empty.
std::wstring RegisteredClsid() {
  wchar_t value[64];
  LONG size = sizeof value;
  std::wstring key = std::wstring(kProgId) + L"\\CLSID";
  if (RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS) return std::wstring();
  return value;
}

}  // namespace

extern "C" HRESULT __stdcall DllRegisterServer() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;
  std::wstring classKey = std::wstring(L"CLSID\\") + kClsidText;
  bool ok = SetValue(kProgId, nullptr, kDescription) && SetValue(std::wstring(kProgId) + L"\\CLSID", nullptr, kClsidText) &&
            SetValue(classKey, nullptr, kDescription) && SetValue(classKey + L"\\ProgID", nullptr, kProgId) &&
            SetValue(classKey + L"\\InprocServer32", nullptr, path) &&
            SetValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  return ok ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT __stdcall DllUnregisterServer() {
  std::wstring classKey = std::wstring(L"CLSID\\") + kClsidText;
  RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey.c_str());
  // Leave the ProgID alone when it names another application.
  if (_wcsicmp(RegisteredClsid().c_str(), kClsidText) == 0) RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
  return S_OK;
}
