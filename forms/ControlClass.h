// Registers a window class of our own controls once per process.
#pragma once
#include <windows.h>

namespace forms {

// cursor: a system cursor id such as IDC_ARROW. True when the class exists.
inline bool RegisterControlClass(const char* name, WNDPROC proc, UINT style = CS_DBLCLKS,
                                 LPCSTR cursor = IDC_ARROW) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoExA(instance, name, &wc)) return true;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, cursor);
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

}  // namespace forms
