#include "spreadsheet/XlMainWindow.h"

namespace xlstandin {

HINSTANCE g_module = nullptr;

namespace {

const char kClassName[] = "XLMAIN";
bool g_registered = false;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  // Closing the window by hand only hides it, as the application keeps running.
  if (message == WM_CLOSE) {
    ShowWindow(window, SW_HIDE);
    return 0;
  }
  return DefWindowProcA(window, message, w, l);
}

}  // namespace

HWND CreateMainWindow() {
  if (!g_registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = g_module;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    g_registered = true;
  }
  // A bordered pop-up: under Wine hiding a captioned window waits on the
  // window manager for up to a second.
  HWND window = CreateWindowExA(0, kClassName, "XlStandIn", WS_POPUP | WS_BORDER, 100, 100, 480, 320, nullptr,
                                nullptr, g_module, nullptr);
  if (window) ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

void DestroyMainWindow(HWND window) {
  if (window && IsWindow(window)) DestroyWindow(window);
}

void UnregisterMainWindowClass() {
  if (g_registered) UnregisterClassA(kClassName, g_module);
  g_registered = false;
}

}  // namespace xlstandin
