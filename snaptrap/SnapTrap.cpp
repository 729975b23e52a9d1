#define SNAPTRAP_BUILD
#include "snaptrap/SnapTrap.h"

#include <atomic>
#include <cstdio>
#include <string>

#include "snaptrap/CaptureWriter.h"
#include "snaptrap/HookThreads.h"
#include "snaptrap/ScreenGrab.h"
#include "snaptrap/SharedWindowBlock.h"

namespace {

// StopHook waits this long for a capture being encoded.
constexpr DWORD kStopBound = 3000;

// The window given to StartHook; until then the one in "KestroMapFile".
std::atomic<HWND> g_clientWindow{nullptr};

// Test runs name a file in SNAPTRAP_CALL_LOG; each call adds a line to it.
void RecordCall(const char* line) {
  char path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("SNAPTRAP_CALL_LOG", path, sizeof path);
  if (length == 0 || length >= sizeof path) return;
  if (FILE* file = std::fopen(path, "ab")) {
    std::fprintf(file, "%s\r\n", line);
    std::fclose(file);
  }
}

void Trace(const std::string& text) { OutputDebugStringA(("SNAPTRAP: " + text + "\n").c_str()); }

HWND ClientWindow() {
  HWND window = g_clientWindow;
  return window ? window : snaptrap::WindowInSharedBlock();
}

// Grabs the screen or the given window, writes the file, then tells the
// client's window which name it got.
bool CaptureForClient(bool activeWindowOnly, HWND foreground, const std::atomic<bool>* stopping) {
  HWND client = ClientWindow();
  if (!client || !IsWindow(client)) {
    Trace("no client window");
    return false;
  }
  snaptrap::ScreenGrab grab;
  if (!grab.Take(activeWindowOnly ? snaptrap::ActiveWindowArea(foreground) : snaptrap::WholeScreenArea())) {
    Trace("screen copy failed");
    return false;
  }
  snaptrap::CaptureId id;
  std::string error;
  if (!snaptrap::WriteCaptureFile(grab.Picture(), stopping, &id, &error)) {
    Trace(error);
    return false;
  }
  if (!PostMessageA(client, SNAPTRAP_CAPTURE_MESSAGE, static_cast<WPARAM>(id.number),
                    static_cast<LPARAM>(id.sequence))) {
    // Nobody will take this capture: do not leave it in the work folder.
    DeleteFileA((snaptrap::CaptureFolder() + snaptrap::CaptureFileName(id)).c_str());
    Trace("capture message could not be posted");
    return false;
  }
  return true;
}

void OnCaptureKey(bool activeWindowOnly, HWND foreground, const std::atomic<bool>& stopping) {
  CaptureForClient(activeWindowOnly, foreground, &stopping);
}

}  // namespace

BOOL WINAPI StartHook(HWND window) {
  RecordCall("StartHook");
  g_clientWindow = window;
  return snaptrap::StartHookThreads(OnCaptureKey) ? TRUE : FALSE;
}

BOOL WINAPI StopHook() {
  RecordCall("StopHook");
  snaptrap::StopHookThreads(kStopBound);
  g_clientWindow = nullptr;
  return TRUE;
}

BOOL WINAPI SnapTrapTestCapture(BOOL activeWindowOnly) {
  return CaptureForClient(activeWindowOnly != FALSE, GetForegroundWindow(), nullptr) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  // The hook threads hold their own reference to this module, so it is
  // never unloaded while they run.
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
  return TRUE;
}
