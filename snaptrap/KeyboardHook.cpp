#include "snaptrap/KeyboardHook.h"

namespace snaptrap {
namespace {

// Used on the hook thread only.
HHOOK g_hook = nullptr;
DWORD g_requestThread = 0;

// Runs for every key of the desktop: only posts, never waits.
LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && (wParam == WM_KEYUP || wParam == WM_SYSKEYUP)) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (key->vkCode == VK_SNAPSHOT && g_requestThread) {
      const bool alt = (key->flags & LLKHF_ALTDOWN) != 0 || (GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
      PostThreadMessageA(g_requestThread, kCaptureRequestMessage, alt ? 1 : 0,
                         reinterpret_cast<LPARAM>(GetForegroundWindow()));
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

bool InstallKeyboardHook(HINSTANCE module, DWORD requestThread) {
  RemoveKeyboardHook();
  g_requestThread = requestThread;
  g_hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, module, 0);
  return g_hook != nullptr;
}

void RemoveKeyboardHook() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  g_requestThread = 0;
}

}  // namespace snaptrap
