// Driving the real kestroMgr.exe's report window from outside: a store laid
// out as the client posts it, the login, the buttons and filters, and the
// grid as the window writes it on the message "KestroMgrGridText".
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tests/manager/ManagerTestSupport.h"

namespace mgrtest {

// The day `back` days before today as "yyyymmdd".
inline std::string DayBefore(int back) {
  SYSTEMTIME st;
  GetLocalTime(&st);
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
  t.QuadPart -= static_cast<ULONGLONG>(back) * 24 * 3600 * 10000000ULL;
  ft = {t.LowPart, t.HighPart};
  FileTimeToSystemTime(&ft, &st);
  char text[16];
  std::snprintf(text, sizeof text, "%04u%02u%02u", st.wYear, st.wMonth, st.wDay);
  return text;
}

inline std::string Slashed(const std::string& day) {
  return day.substr(0, 4) + "/" + day.substr(4, 2) + "/" + day.substr(6, 2);
}

// Stores a file through a plain FTP session (USER, PASS, PASV, STOR), as
// the client does: the name's bytes (code page 932, or "\" and the double
// quote that no Windows program can put in a name) reach the store as sent.
inline bool StoreRawName(const std::string& folder, const std::string& name, const std::string& bytes);

// A report file in kestro\<day>\ and, unless tagName is empty, its tag
// file in kestro\<day>tag\. pyftpdlib keeps names in the bytes that came
// over FTP, so the tag goes that way there; the scripted server lists the
// names of its disk in code page 932.
inline void PostReport(const std::string& day, const std::string& fileName, const std::string& bytes,
                       const std::string& tagName = "") {
  const std::string store = FtpServerRoot() + "kestro\\";
  CreateDirectoryA((store + day).c_str(), nullptr);
  WriteBytes(store + day + "\\" + fileName, bytes);
  if (tagName.empty()) return;
  CreateDirectoryA((store + day + "tag").c_str(), nullptr);
  if (EnvValue("KESTRO_TEST_FTP_KIND") == "pyftpdlib")
    StoreRawName("/kestro/" + day + "tag", tagName, "");
  else
    WriteBytes(store + day + "tag\\" + tagName, "");
}

inline bool StoreRawName(const std::string& folder, const std::string& name, const std::string& bytes) {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  auto connectTo = [](const std::string& host, int port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<u_short>(port));
    a.sin_addr.s_addr = inet_addr(host.c_str());
    if (connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
      closesocket(s);
      return INVALID_SOCKET;
    }
    return s;
  };
  SOCKET control = connectTo(EnvValue("KESTRO_TEST_FTP_HOST"), 21);
  if (control == INVALID_SOCKET) return false;
  // One reply: lines up to the one whose fourth character is a blank.
  auto reply = [&] {
    std::string text, line;
    char c;
    while (recv(control, &c, 1, 0) == 1) {
      text += c;
      line += c;
      if (c != '\n') continue;
      if (line.size() >= 4 && line[3] == ' ') break;
      line.clear();
    }
    return line;
  };
  auto command = [&](const std::string& line) {
    std::string text = line + "\r\n";
    send(control, text.data(), static_cast<int>(text.size()), 0);
    return reply();
  };
  reply();
  command("USER " + EnvValue("KESTRO_TEST_FTP_USER"));
  command("PASS " + EnvValue("KESTRO_TEST_FTP_PASS"));
  command("TYPE I");
  const std::string pasv = command("PASV");
  int h1, h2, h3, h4, p1, p2;
  const size_t open = pasv.find('(');
  bool stored = false;
  if (open != std::string::npos &&
      std::sscanf(pasv.c_str() + open, "(%d,%d,%d,%d,%d,%d)", &h1, &h2, &h3, &h4, &p1, &p2) == 6) {
    SOCKET data = connectTo(std::to_string(h1) + "." + std::to_string(h2) + "." + std::to_string(h3) + "." +
                                std::to_string(h4),
                            p1 * 256 + p2);
    if (data != INVALID_SOCKET) {
      const std::string start = command("STOR " + folder + "/" + name);
      send(data, bytes.data(), static_cast<int>(bytes.size()), 0);
      closesocket(data);
      stored = start.compare(0, 1, "1") == 0 && reply().compare(0, 3, "226") == 0;
    }
  }
  command("QUIT");
  closesocket(control);
  return stored;
}

// The manager, logged in to the test server, with its report window shown.
struct RunningManager {
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
  std::string gridFile;

  // baseDay: the first day of the pickers; the last is today.
  bool Start(const std::string& baseDay) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    gridFile = std::string(temp) + "kestro_mgr_grid.txt";
    SetEnvironmentVariableA("KESTRO_GRID_TEXT", gridFile.c_str());
    const std::string host = EnvValue("KESTRO_TEST_FTP_HOST"), user = EnvValue("KESTRO_TEST_FTP_USER");
    WriteBytes(DataFolder() + "Kestro.ini", "[KESTRO]\r\nSAVE=1\r\nSERVER=" + host + "\r\nUSERID=" + user +
                                                "\r\nVALIDDAY=10\r\n[KESTROMGR]\r\nLASTTARGET=" + host +
                                                "\r\nLASTUSERID=" + user + "\r\nBASEDATE=" + Slashed(baseDay) +
                                                "\r\n");
    if (!StartManager(process)) return false;
    HWND login = LoginForm();
    if (!login) return false;
    LoginFields fields = FieldsOf(login);
    SetTextOf(fields.password, EnvValue("KESTRO_TEST_FTP_PASS"));
    SendMessageA(fields.login, BM_CLICK, 0, 0);
    window = ReportWindow();
    return window != nullptr;
  }
  void End() {
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    Ended(process, 15000);
    EndKestro(process);
    DeleteFileA(gridFile.c_str());
  }
  // Clicks a button by caption; returns when its handler has ended.
  void Click(const std::string& caption) const {
    SendMessageA(FindControl(window, "BUTTON", caption), BM_CLICK, 0, 0);
  }
  // The n-th combo box (0 project, 1 creator, 2 important, 3 completed).
  HWND Combo(int n) const {
    HWND box = nullptr;
    for (int i = 0; i <= n; ++i) box = FindWindowExA(window, box, "COMBOBOX", nullptr);
    return box;
  }
  void Select(int combo, const std::string& item) const {
    SendMessageA(Combo(combo), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
  }
  void SetComment(const std::string& text) const {
    SetTextOf(FindWindowExA(window, nullptr, "EDIT", nullptr), text);
  }
  // The data rows "cells...\tback\tbold\ticon2\ticon3" and, last, the
  // status panel's text.
  std::vector<std::string> Grid() const {
    DeleteFileA(gridFile.c_str());
    SendMessageA(window, RegisterWindowMessageA("KestroMgrGridText"), 0, 0);
    std::vector<std::string> lines;
    std::istringstream in(ReadAll(gridFile));
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    if (!lines.empty()) lines.erase(lines.begin());  // the title row
    return lines;
  }
};

}  // namespace mgrtest
