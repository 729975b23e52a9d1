#include "snaptrap/KeyboardHook.h"

namespace snaptrap {
namespace {

const char kWindowClass[] = "SnapTrapRequestWindow";
constexpr UINT kCaptureRequestMessage = WM_APP + 1;

HINSTANCE g_module = nullptr;
HHOOK g_hook = nullptr;
HWND g_requestWindow = nullptr;
CaptureRequest g_onCapture = nullptr;

LRESULT CALLBACK RequestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCaptureRequestMessage) {
    if (g_onCapture) g_onCapture(wParam != 0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Runs for every key of the desktop: only posts, never waits.
LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && (wParam == WM_KEYUP || wParam == WM_SYSKEYUP)) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (key->vkCode == VK_SNAPSHOT && g_requestWindow) {
      const bool alt = (key->flags & LLKHF_ALTDOWN) != 0 || (GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
      PostMessageA(g_requestWindow, kCaptureRequestMessage, alt ? 1 : 0, 0);
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

bool InstallKeyboardHook(HINSTANCE module, CaptureRequest onCapture) {
  RemoveKeyboardHook();
  g_module = module;
  g_onCapture = onCapture;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RequestWindowProc;
  windowClass.hInstance = module;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly when registered already
  g_requestWindow = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    module, nullptr);
  if (!g_requestWindow) return false;
  g_hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, module, 0);
  if (!g_hook) {
    RemoveKeyboardHook();
    return false;
  }
  return true;
}

void RemoveKeyboardHook() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  g_onCapture = nullptr;
  // Destroying the window also drops requests still queued for it; only its
  // own thread may destroy it, any other thread asks it to close.
  if (g_requestWindow) {
    if (GetWindowThreadProcessId(g_requestWindow, nullptr) == GetCurrentThreadId())
      DestroyWindow(g_requestWindow);
    else
      PostMessageA(g_requestWindow, WM_CLOSE, 0, 0);
  }
  g_requestWindow = nullptr;
  if (g_module) UnregisterClassA(kWindowClass, g_module);
}

}  // namespace snaptrap
