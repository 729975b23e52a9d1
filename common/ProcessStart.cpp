#include "common/ProcessStart.h"

#include <vector>

bool fncStartProgram(const std::string& path, const std::string& folder, DWORD* error, HANDLE* held) {
  std::string quoted = "\"" + path + "\"";
  std::vector<char> commandLine(quoted.begin(), quoted.end());
  commandLine.push_back('\0');  // CreateProcessA may write into the command line
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  DWORD flags = CREATE_DEFAULT_ERROR_MODE | (held ? CREATE_SUSPENDED : 0);
  BOOL started = CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                                folder.empty() ? nullptr : folder.c_str(), &startup, &process);
  if (!started) {
    if (error) *error = GetLastError();
    return false;
  }
  CloseHandle(process.hProcess);
  if (held)
    *held = process.hThread;
  else
    CloseHandle(process.hThread);
  if (error) *error = 0;
  return true;
}

void fncResumeProgram(HANDLE& held) {
  if (!held) return;
  ResumeThread(held);
  CloseHandle(held);
  held = nullptr;
}
