// The keyboard-hook library's entry points, as the client binds them.
#pragma once
#include <windows.h>

#ifdef SNAPTRAP_BUILD
#define SNAPTRAP_API extern "C" __declspec(dllexport)
#else
#define SNAPTRAP_API extern "C" __declspec(dllimport)
#endif

// The message that names a new capture file <data>temp\<wParam as %.6d>_<lParam>.jpg.
#define SNAPTRAP_CAPTURE_MESSAGE (WM_USER + 101)

// Starts watching PrintScreen, on threads of the library's own, for the
// window (the one in "KestroMapFile" when window is nullptr). A second call
// only changes the window.
SNAPTRAP_API BOOL WINAPI StartHook(HWND window);
// Stops watching and ends those threads; harmless when not started.
SNAPTRAP_API BOOL WINAPI StopHook();
// Takes one capture on the calling thread as the keys would (whole screen, or
// the active window when activeWindowOnly), writes it and notifies the window
// of StartHook, else the one in "KestroMapFile"; for tests.
SNAPTRAP_API BOOL WINAPI SnapTrapTestCapture(BOOL activeWindowOnly);
