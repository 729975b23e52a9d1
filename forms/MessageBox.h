// The one routine through which every message box of the programs goes.
//
// On a desktop it is the ordinary box. Under test (environment variable
// KESTRO_MSGBOX_LOG naming a file, or a hook set in-process) nothing is
// shown: the box is recorded and answered with a preset reply, so that no
// modal box can block a test run.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace forms {

struct MessageBoxRecord {
  std::string caption;
  std::string text;
  UINT flags;
};

// Shows (or records) a box; returns IDOK, IDCANCEL, IDYES, ...
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

// In-process hook for tests; an empty function restores the normal path.
using MessageBoxHook = std::function<int(const MessageBoxRecord&)>;
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace forms
