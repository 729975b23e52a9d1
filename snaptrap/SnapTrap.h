// The keyboard-hook library's entry points, as the client binds them.
#pragma once
#include <windows.h>

#ifdef SNAPTRAP_BUILD
#define SNAPTRAP_API extern "C" __declspec(dllexport)
#else
#define SNAPTRAP_API extern "C" __declspec(dllimport)
#endif

// Starts watching PrintScreen for the window whose handle is in "KestroMapFile".
SNAPTRAP_API BOOL WINAPI StartHook(HWND window);
// Stops watching.
SNAPTRAP_API BOOL WINAPI StopHook();
