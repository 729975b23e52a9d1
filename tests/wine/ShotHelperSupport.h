// What the screenshot helpers share: waiting for a window of the program
// they drive and printing where its client area stands on the screen.
#pragma once
#include <windows.h>

#include <cstdio>

// The first top-level window of the class (and the caption, unless null),
// visible where asked; nullptr after the time-out. Messages to this
// process's own windows are handled meanwhile.
inline HWND WaitForWindow(const char* className, const char* caption, bool visible, DWORD timeoutMs) {
  for (DWORD start = GetTickCount();; Sleep(100)) {
    HWND window = FindWindowA(className, caption);
    if (window && (!visible || IsWindowVisible(window))) return window;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
}

// Prints the window's client area on the screen, "width height x y": the
// picture is of the client area, as without a window manager nobody draws
// the frame.
inline void PrintClientArea(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::printf("%ld %ld %ld %ld\n", r.right, r.bottom, origin.x, origin.y);
}
