#define SNAPTRAP_BUILD
#include "snaptrap/SnapTrap.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Test runs name a file in SNAPTRAP_CALL_LOG; each call adds a line to it.
void RecordCall(const char* line) {
  const char* path = std::getenv("SNAPTRAP_CALL_LOG");
  if (!path || !*path) return;
  if (FILE* file = std::fopen(path, "ab")) {
    std::fprintf(file, "%s\r\n", line);
    std::fclose(file);
  }
}

}  // namespace

BOOL WINAPI StartHook(HWND) {
  RecordCall("StartHook");
  return TRUE;
}

BOOL WINAPI StopHook() {
  RecordCall("StopHook");
  return TRUE;
}
