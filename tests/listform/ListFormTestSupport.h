// Drives the list form of a running Kestro.exe from outside: opens it from
// the tray menu, sets its date pickers, selects grid rows, clicks buttons
// and reads its status bar.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/client/KestroProcessSupport.h"
#include "tests/client/WineTestFiles.h"

namespace listtest {

constexpr UINT kTrayMessage = 1126;
constexpr int kRowPitch = 17;  // row height 16 plus the grid line

// A block of memory in the client, for messages that carry a pointer.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, size_t size)
      : process_(process), size_(size), at_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBlock() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  LPARAM Address() const { return reinterpret_cast<LPARAM>(at_); }
  bool Write(const void* data, size_t size) const {
    return WriteProcessMemory(process_, at_, data, size, nullptr) != FALSE;
  }
  std::string ReadText() const {
    std::vector<char> text(size_ + 1, '\0');
    ReadProcessMemory(process_, at_, text.data(), size_, nullptr);
    return text.data();
  }

 private:
  HANDLE process_;
  size_t size_;
  void* at_;
};

struct Children {
  const char* className;
  std::vector<HWND> found;
};

inline BOOL CALLBACK CollectClass(HWND child, LPARAM data) {
  auto* children = reinterpret_cast<Children*>(data);
  char name[64] = {};
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, children->className) == 0) children->found.push_back(child);
  return TRUE;
}

inline std::vector<HWND> ChildrenOf(HWND parent, const char* className) {
  Children children{className, {}};
  EnumChildWindows(parent, CollectClass, reinterpret_cast<LPARAM>(&children));
  return children.found;
}

class ListForm {
 public:
  ListForm(HANDLE process, HWND form) : process_(process), form_(form) {
    std::vector<HWND> pickers = ChildrenOf(form, "SysDateTimePick32");
    if (pickers.size() == 2) {
      start_ = pickers[0];
      end_ = pickers[1];
    }
    std::vector<HWND> grids = ChildrenOf(form, "FormsStringGrid");
    grid_ = grids.empty() ? nullptr : grids[0];
    std::vector<HWND> bars = ChildrenOf(form, "msctls_statusbar32");
    status_ = bars.empty() ? nullptr : bars[0];
  }
  bool Complete() const { return start_ && end_ && grid_ && status_; }
  HWND Handle() const { return form_; }

  bool SetDates(int y1, int m1, int d1, int y2, int m2, int d2) const {
    return SetDate(start_, y1, m1, d1) && SetDate(end_, y2, m2, d2);
  }
  // Clicks and returns once the handler has ended. (The client's log is
  // best read when it is idle: a line it cannot open the file for is lost.)
  bool Press(const char* caption) const {
    HWND button = FindControl(form_, "Button", caption);
    DWORD_PTR ignored = 0;
    return button && SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_BLOCK, 120000, &ignored);
  }
  // Posts a click; the handler runs while the caller goes on.
  bool Click(const char* caption) const {
    HWND button = FindControl(form_, "Button", caption);
    return button && PostMessageA(button, BM_CLICK, 0, 0);
  }
  // Selects the data rows first to last as a click and a shift-click do;
  // sent, so that the selection is made before what the caller does next.
  void SelectRows(int first, int last) const {
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, first);
    Mouse(WM_LBUTTONUP, 0, first);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, last);
    Mouse(WM_LBUTTONUP, 0, last);
  }
  void DoubleClickRow(int row) const {
    SelectRows(row, row);
    PostMessageA(grid_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, row * kRowPitch + 8));
  }
  std::string Status(int panel = 0) const {
    RemoteBlock text(process_, 512);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(status_, SB_GETTEXTA, panel, text.Address(), SMTO_BLOCK, 10000, &ignored);
    return text.ReadText();
  }
  // The form is enabled again once a handler has ended.
  bool WaitEnabled(DWORD timeoutMs = 30000) const {
    return WaitFor([&] { return IsWindowEnabled(form_) != FALSE; }, timeoutMs);
  }

 private:
  void Mouse(UINT msg, WPARAM keys, int row) const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(grid_, msg, keys, MAKELPARAM(100, row * kRowPitch + 8), SMTO_BLOCK, 10000, &ignored);
  }
  bool SetDate(HWND picker, int year, int month, int day) const {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    RemoteBlock block(process_, sizeof st);
    DWORD_PTR result = 0;
    return block.Write(&st, sizeof st) &&
           SendMessageTimeoutA(picker, DTM_SETSYSTEMTIME, GDT_VALID, block.Address(), SMTO_BLOCK, 10000, &result) &&
           result != 0;
  }

  HANDLE process_;
  HWND form_;
  HWND start_ = nullptr, end_ = nullptr, grid_ = nullptr, status_ = nullptr;
};

// The tray menu's second item, "一覧画面を表示"; the shown form or null.
inline HWND OpenListFromTray(HWND client) {
  WaitFor([] { HWND open = FindWindowA("#32768", nullptr); return !open || !IsWindowVisible(open); }, 5000);
  PostMessageA(client, kTrayMessage, 0, WM_RBUTTONUP);
  HWND menu = nullptr;
  if (!WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr && IsWindowVisible(menu); }, 10000))
    return nullptr;
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  HWND form = nullptr;
  WaitFor([&] { return (form = FindWindowA("TForm4", "一覧画面")) != nullptr && IsWindowVisible(form); }, 10000);
  return form && IsWindowVisible(form) ? form : nullptr;
}

// Log text written after `from`.
inline std::string LogSince(size_t from) {
  std::string log = ReadLog();
  return from < log.size() ? log.substr(from) : "";
}

}  // namespace listtest
