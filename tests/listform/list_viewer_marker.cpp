// Stands in for a viewer: appends its command line to LIST_VIEWER_LOG. With
// LIST_VIEWER_STAY it stays open until the event of that name is set (a
// minute at most).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main() {
  if (const char* log = std::getenv("LIST_VIEWER_LOG")) {
    if (FILE* file = std::fopen(log, "ab")) {
      std::fprintf(file, "%s\r\n", GetCommandLineA());
      std::fclose(file);
    }
  }
  if (const char* stay = std::getenv("LIST_VIEWER_STAY")) {
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, stay);
    WaitForSingleObject(release, 60000);
  }
  return 0;
}
