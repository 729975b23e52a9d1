// Low-level keyboard hook for PrintScreen and Alt+PrintScreen.
#pragma once
#include <windows.h>

namespace snaptrap {

using CaptureRequest = void (*)(bool activeWindowOnly);

// Hooks the keyboard on the calling thread, which must run a message loop.
// The hook only posts a request to a message-only window of this module;
// onCapture runs later from that window, outside the hook.
bool InstallKeyboardHook(HINSTANCE module, CaptureRequest onCapture);
// Removes the hook and the window; call on the thread that installed them.
void RemoveKeyboardHook();

}  // namespace snaptrap
