// Low-level keyboard hook for PrintScreen and Alt+PrintScreen.
#pragma once
#include <windows.h>

namespace snaptrap {

// Posted to the capture thread for each PrintScreen: wParam 1 for
// Alt+PrintScreen, lParam the foreground window when the key was released.
constexpr UINT kCaptureRequestMessage = WM_APP + 1;

// Hooks the keyboard on the calling thread, which must then run a message
// loop and nothing else. The hook only posts requests to requestThread.
bool InstallKeyboardHook(HINSTANCE module, DWORD requestThread);
// Removes the hook; call on the thread that installed it.
void RemoveKeyboardHook();

}  // namespace snaptrap
