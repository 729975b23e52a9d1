// Stands in for a viewer (also as CMD.exe): appends its command line to
// LIST_VIEWER_LOG; a *stay* file keeps it open, held for reading.
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
  if (std::strstr(GetCommandLineA(), "stay")) {
    const std::string line = GetCommandLineA();  // ... "<file>"
    const size_t end = line.rfind('"'), start = line.rfind('"', end - 1);
    HANDLE held = CreateFileA(line.substr(start + 1, end - start - 1).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    WaitForSingleObject(CreateEventA(nullptr, TRUE, FALSE, "stay"), 120000);
    CloseHandle(held);
  }
  return 0;
}
