// Helpers of the Windows tests that run the built Kestro.exe from outside.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <string>

// The folder of the test program, where Kestro.exe is built too.
inline std::string ProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\') + 1);
}

// The client's data folder, with its trailing "\".
inline std::string DataFolder() {
  char path[MAX_PATH];
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_COMMON_APPDATA, FALSE);
  return std::string(path) + "\\Veltrana\\kestro\\";
}

// Today's date in a printf format taking year, month and day.
inline std::string Today(const char* format) {
  SYSTEMTIME st;
  GetLocalTime(&st);
  char text[32];
  std::snprintf(text, sizeof text, format, st.wYear, st.wMonth, st.wDay);
  return text;
}

inline std::string TodayLog() { return DataFolder() + "syslog\\" + Today("%04d%02d%02d.txt"); }

inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

// Name of the first file matching the pattern, or "".
inline std::string FindFile(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  FindClose(search);
  return found.cFileName;
}

inline bool StartKestro(PROCESS_INFORMATION& process) {
  std::string exe = ProgramFolder() + "Kestro.exe";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  std::string commandLine = "\"" + exe + "\"";
  return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, ProgramFolder().c_str(),
                        &startup, &process) != FALSE;
}

// Ends the process if it still runs and closes its handles.
inline void EndKestro(PROCESS_INFORMATION& process) {
  if (!process.hProcess) return;
  if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  process = PROCESS_INFORMATION{};
}
