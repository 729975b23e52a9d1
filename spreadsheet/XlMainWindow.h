// The application's top-level window of the class "XLMAIN", shown while the
// application is visible.
#pragma once
#include <windows.h>

namespace xlstandin {

HWND CreateMainWindow();
void DestroyMainWindow(HWND window);
void UnregisterMainWindowClass();

extern HINSTANCE g_module;

}  // namespace xlstandin
