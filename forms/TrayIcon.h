// Notification-area icon calls, with the classic 88-byte record.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <cstring>
#include <string>

namespace forms {

class TrayIcon {
 public:
  // Fills the record: flags message, icon and tip.
  void Set(HWND owner, UINT id, UINT callbackMessage, HICON icon, const std::string& tip) {
    std::memset(&data_, 0, sizeof(data_));
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data_.hWnd = owner;
    data_.uID = id;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
    std::strncpy(data_.szTip, tip.c_str(), 63);
  }
  bool Add() { return Shell_NotifyIconA(NIM_ADD, &data_) != FALSE; }
  bool Modify() { return Shell_NotifyIconA(NIM_MODIFY, &data_) != FALSE; }
  bool Delete() { return Shell_NotifyIconA(NIM_DELETE, &data_) != FALSE; }
  const NOTIFYICONDATAA& Data() const { return data_; }

 private:
  NOTIFYICONDATAA data_{};
};

}  // namespace forms
