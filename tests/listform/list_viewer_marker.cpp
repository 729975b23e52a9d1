// Stands in for a viewer: appends its command line to LIST_VIEWER_LOG.
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
  return 0;
}
