// For Windows tests: registers or unregisters the stand-in spreadsheet
// application (XlStandIn.dll next to the test program) in this process, reads
// its live-object count, and handles the files the tests give it. Tests that
// change the registration hold the ctest lock "excel_registration".
#pragma once
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "common/ExportedFunction.h"

namespace standin {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A JPEG header of 1000 x 800 pixels: all that picture insertion reads.
inline std::string FakeJpeg() {
  std::string jpeg("\xFF\xD8\xFF\xC0\x00\x11\x08\x03\x20\x03\xE8\x03", 12);
  return jpeg + std::string(16, '\0');
}

inline std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

inline bool CallExport(const char* name) {
  HMODULE module = LoadLibraryA((ProgramFolder() + "XlStandIn.dll").c_str());
  if (!module) return false;
  auto function = ExportedFunction<HRESULT __stdcall()>(module, name);
  bool ok = function && SUCCEEDED(function());
  FreeLibrary(module);
  return ok;
}

inline bool Register() { return CallExport("DllRegisterServer"); }
inline bool Unregister() { return CallExport("DllUnregisterServer"); }

// Automation objects alive in this process; -1 when the DLL is not loaded.
inline long LiveObjects() {
  HMODULE module = GetModuleHandleA("XlStandIn.dll");
  if (!module) return -1;
  auto function = ExportedFunction<LONG __stdcall()>(module, "XlStandInLiveObjects");
  return function ? function() : -1;
}

// Keeps the DLL loaded so that its count can be read after COM lets go.
class Pin {
 public:
  Pin() : module_(LoadLibraryA((ProgramFolder() + "XlStandIn.dll").c_str())) {}
  ~Pin() {
    if (module_) FreeLibrary(module_);
  }
  Pin(const Pin&) = delete;
  Pin& operator=(const Pin&) = delete;

 private:
  HMODULE module_;
};

}  // namespace standin
