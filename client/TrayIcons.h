// The three 32 x 32, 16-colour tray icons, drawn at start.
#pragma once
#include <windows.h>

// Normal (mainly blue), error (mainly yellow), busy (mainly green).
HICON MakeTrayIcon(COLORREF mainColour);

inline constexpr COLORREF kTrayNormalColour = RGB(0, 0, 255);
inline constexpr COLORREF kTrayErrorColour = RGB(255, 255, 0);
inline constexpr COLORREF kTrayBusyColour = RGB(0, 255, 0);
