// Stands in for a viewer: appends its command line to LIST_VIEWER_LOG; a *stay* file keeps it open.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main() {
  if (const char* log = std::getenv("LIST_VIEWER_LOG")) {
    if (FILE* file = std::fopen(log, "ab")) {
      std::fprintf(file, "%s\r\n", GetCommandLineA());
      std::fclose(file);
    }
  }
  if (std::strstr(GetCommandLineA(), "stay")) WaitForSingleObject(CreateEventA(nullptr, TRUE, FALSE, "stay"), 60000);
  return 0;
}
