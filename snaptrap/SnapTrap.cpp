#define SNAPTRAP_BUILD
#include "snaptrap/SnapTrap.h"

#include <cstdio>
#include <string>

#include "snaptrap/CaptureWriter.h"
#include "snaptrap/KeyboardHook.h"
#include "snaptrap/ScreenGrab.h"
#include "snaptrap/SharedWindowBlock.h"

namespace {

HINSTANCE g_module = nullptr;
snaptrap::SharedWindowBlock g_sharedBlock;

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

// Grabs the screen or the active window, writes the file, then tells the
// client's window which name it got.
bool CaptureForClient(bool activeWindowOnly) {
  HWND client = g_sharedBlock.ReadWindow();
  if (!client || !IsWindow(client)) {
    Trace("no client window in KestroMapFile");
    return false;
  }
  snaptrap::ScreenGrab grab;
  if (!grab.Take(activeWindowOnly ? snaptrap::ActiveWindowArea() : snaptrap::WholeScreenArea())) {
    Trace("screen copy failed");
    return false;
  }
  snaptrap::CaptureId id;
  std::string error;
  if (!snaptrap::WriteCaptureFile(grab.Picture(), &id, &error)) {
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

void OnCaptureKey(bool activeWindowOnly) { CaptureForClient(activeWindowOnly); }

}  // namespace

BOOL WINAPI StartHook(HWND) {
  RecordCall("StartHook");
  return snaptrap::InstallKeyboardHook(g_module, OnCaptureKey) ? TRUE : FALSE;
}

BOOL WINAPI StopHook() {
  RecordCall("StopHook");
  snaptrap::RemoveKeyboardHook();
  return TRUE;
}

BOOL WINAPI SnapTrapTestCapture(BOOL activeWindowOnly) {
  return CaptureForClient(activeWindowOnly != FALSE) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      g_module = module;
      DisableThreadLibraryCalls(module);
      // The client opens this block by name; it must exist once we are loaded.
      g_sharedBlock.Open();
      break;
    case DLL_PROCESS_DETACH:
      // Unloaded without StopHook: no hook may point into freed code.
      if (!reserved) snaptrap::RemoveKeyboardHook();
      g_sharedBlock.Close();
      break;
    default:
      break;
  }
  return TRUE;
}
