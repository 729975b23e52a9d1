// Helpers of the Windows tests that run the built Kestro.exe from outside.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "snaptrap/SnapTrap.h"
#include "tests/client/WineTestFiles.h"

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

// The variable's value, or "" when it is not set.
inline std::string EnvValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The test FTP server's root folder as this program sees it (Z: is "/").
inline std::string FtpServerRoot() {
  std::string root = "Z:" + EnvValue("KESTRO_TEST_FTP_ROOT");
  for (char& c : root)
    if (c == '/') c = '\\';
  return root + "\\";
}

// The settings lines that point the client at the test FTP server.
inline std::string FtpSettingsLines() {
  return "SERVER=" + EnvValue("KESTRO_TEST_FTP_HOST") + "\r\nUSERID=" + EnvValue("KESTRO_TEST_FTP_USER") +
         "\r\nPASSWD=" + EnvValue("KESTRO_TEST_FTP_PASS") + "\r\n";
}

// An empty report store on the test server: its folder "kestro".
inline void FreshServerStore() {
  RemoveTree(FtpServerRoot() + "kestro");
  CreateDirectoryA((FtpServerRoot() + "kestro").c_str(), nullptr);
}

// Removes the client's data folder and makes it anew, empty.
inline void FreshDataFolder() {
  RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  CreateDirectoryA(DataFolder().substr(0, DataFolder().size() - 8).c_str(), nullptr);
  CreateDirectoryA(DataFolder().c_str(), nullptr);
}

// The message boxes of the programs started from here go to a new log of
// that name in the temporary folder and are answered OK; its path.
inline std::string UseBoxLog(const std::string& fileName) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string log = std::string(temp) + fileName;
  DeleteFileA(log.c_str());
  SetEnvironmentVariableA("KESTRO_MSGBOX_LOG", log.c_str());
  SetEnvironmentVariableA("KESTRO_MSGBOX_REPLY", "OK");
  return log;
}

inline std::string TodayLog() { return DataFolder() + "syslog\\" + Today("%04d%02d%02d.txt"); }

// Polls until done or the time-out. Messages sent to this process's windows
// (the hook library has one here) are answered meanwhile, so that a client
// waiting on them is never held up by the test.
inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
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

inline bool StartKestro(PROCESS_INFORMATION& process, const std::string& folder = ProgramFolder()) {
  std::string exe = folder + "Kestro.exe";
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

inline std::string ReadLog() {
  std::ifstream in(TodayLog(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Takes a capture through the hook library once the running client can
// take it, and returns the capture's name ("" when it never could); the
// name is the one the client logs for it, so captures left in the work
// folder do not matter. Until the client has put its window into
// "KestroMapFile" the library finds no window; until its start-up completes
// the client drops captures (their files stay, and are removed here).
inline std::string CaptureWhenReady() {
  const std::string temp = DataFolder() + "temp\\";
  const std::string marker = "Kestro,WMSnapChot()GetName=";
  std::string taken;
  WaitFor(
      [&] {
        const size_t from = ReadLog().size();
        if (!SnapTrapTestCapture(FALSE)) {
          Sleep(200);
          return false;
        }
        std::string name;
        size_t next = std::string::npos;
        WaitFor(
            [&] {
              const std::string log = ReadLog();
              const size_t at = log.find(marker, from);
              const size_t end = at == std::string::npos ? at : log.find("\r\n", at);
              if (end == std::string::npos) return false;
              name = log.substr(at + marker.size(), end - at - marker.size());
              next = end + 2;
              return true;
            },
            5000);
        if (name.empty()) return false;
        // The handler's own next line comes at once, else the timer's.
        WaitFor([&] { return ReadLog().find("\r\n", next) != std::string::npos; }, 3000);
        const std::string log = ReadLog();
        const size_t end = log.find("\r\n", next);
        const bool dropped =
            log.substr(next, end == std::string::npos ? std::string::npos : end - next).find("初期化未完了") !=
            std::string::npos;
        if (dropped) {
          DeleteFileA((temp + name).c_str());
          Sleep(300);
          return false;
        }
        taken = name;
        return true;
      },
      30000);
  return taken;
}

// Posts the running client a capture message for a file that is not there
// and waits until it has logged it: by then it has handled every message
// posted to it before. False when it never does (closing or gone).
inline bool HandledPostedMessages(HWND client) {
  const long number = 900000 + static_cast<long>(GetTickCount() % 100000);
  char line[64];
  std::snprintf(line, sizeof line, "Kestro,WMSnapChot()GetName=%.6ld_1.jpg\r\n", number);
  return PostMessageA(client, SNAPTRAP_CAPTURE_MESSAGE, number, 1) &&
         WaitFor([&] { return ReadLog().find(line) != std::string::npos; }, 10000);
}

struct ControlSearch {
  const char* className;
  std::string text;
  HWND found;
};

inline BOOL CALLBACK MatchControl(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<ControlSearch*>(data);
  char name[64] = {}, caption[256] = {};
  GetClassNameA(child, name, sizeof name);
  GetWindowTextA(child, caption, sizeof caption);
  if (lstrcmpiA(name, search->className) != 0 || search->text != caption) return TRUE;
  search->found = child;
  return FALSE;
}

// A descendant window of the class with the text.
inline HWND FindControl(HWND parent, const char* className, const std::string& text) {
  ControlSearch search{className, text, nullptr};
  EnumChildWindows(parent, MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The running client's registration form once it shows, with the terminal
// and title edits of its image-style panel; false when it does not come.
struct RegistrationFields {
  HWND form = nullptr, terminal = nullptr, title = nullptr;
};
inline bool WaitForRegistration(RegistrationFields& fields) {
  if (!WaitFor([&] { return (fields.form = FindWindowA("TForm3", "登録画面")) != nullptr && IsWindowVisible(fields.form); },
               20000))
    return false;
  HWND panel = FindControl(fields.form, "FormsPanel", "画像");
  fields.terminal = panel ? FindWindowExA(panel, nullptr, "Edit", nullptr) : nullptr;
  fields.title = fields.terminal ? FindWindowExA(panel, fields.terminal, "Edit", nullptr) : nullptr;
  return fields.title != nullptr;
}

