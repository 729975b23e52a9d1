// Stands in for the program that the updater starts: writes <its path>.started
// holding the folder it was started in.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {}, folder[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  lstrcatA(path, ".started");
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, folder, length, &written, nullptr);
  CloseHandle(file);
  return 0;
}
