// Helpers of the manager's Windows tests: the real kestroMgr.exe started
// from outside, its windows and its files in the data folder.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "tests/client/KestroProcessSupport.h"
#include "tests/client/WineTestFiles.h"

namespace mgrtest {

// Older names of the client support's EnvValue and FtpServerRoot.
inline std::string Env(const char* name) { return EnvValue(name); }
inline std::string ServerRoot() { return FtpServerRoot(); }

inline std::string DocFolder() {
  char path[MAX_PATH];
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_PERSONAL, FALSE);
  return std::string(path) + "\\Veltrana\\kestro\\";
}

inline std::string IniValue(const std::string& section, const std::string& key) {
  char value[512] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", value, sizeof value,
                           (DataFolder() + "Kestro.ini").c_str());
  return value;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool StartManager(PROCESS_INFORMATION& process) {
  const std::string exe = ProgramFolder() + "kestroMgr.exe";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  std::string commandLine = "\"" + exe + "\"";
  return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, ProgramFolder().c_str(),
                        &startup, &process) != FALSE;
}

inline bool Ended(const PROCESS_INFORMATION& process, DWORD timeoutMs) {
  return WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

inline HWND VisibleWindow(const char* className, const std::string& caption, DWORD timeoutMs) {
  HWND window = nullptr;
  WaitFor([&] { return (window = FindWindowA(className, caption.c_str())) != nullptr && IsWindowVisible(window); },
          timeoutMs);
  return window && IsWindowVisible(window) ? window : nullptr;
}

inline HWND LoginForm(DWORD timeoutMs = 20000) { return VisibleWindow("TForm2", "ケストロ管理ツールログイン", timeoutMs); }
// The report window; its caption goes on with the store it works on.
inline HWND ReportWindow(DWORD timeoutMs = 20000) {
  const std::string caption = "ケストロ管理画面（KestroMgr）";
  HWND window = nullptr;
  auto shown = [&] {
    window = FindWindowA("TForm1", nullptr);
    char text[512] = {};
    if (window) GetWindowTextA(window, text, sizeof text);
    return window && IsWindowVisible(window) && std::string(text).compare(0, caption.size(), caption) == 0;
  };
  return WaitFor(shown, timeoutMs) ? window : nullptr;
}

// The text of a window of another process (WM_GETTEXT is carried across).
inline std::string TextOf(HWND window) {
  char text[512] = {};
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

inline void SetTextOf(HWND window, const std::string& text) {
  SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The login form's fields: the server box, the user and the password field.
struct LoginFields {
  HWND server, user, password, login;
};

inline LoginFields FieldsOf(HWND login) {
  LoginFields f{};
  f.server = FindWindowExA(login, nullptr, "COMBOBOX", nullptr);
  f.user = FindWindowExA(login, nullptr, "EDIT", nullptr);
  f.password = FindWindowExA(login, f.user, "EDIT", nullptr);
  f.login = FindControl(login, "BUTTON", "ログイン");
  return f;
}

}  // namespace mgrtest
