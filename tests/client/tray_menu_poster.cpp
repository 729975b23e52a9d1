// Drives a running Kestro from outside for pictures of its tray menu.
//   tray_menu_poster open   waits for the client, pops its tray menu up
//   tray_menu_poster end    closes the menu and ends the client as a session end does
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowA(className, caption);
    if (window && (caption || IsWindowVisible(window))) return window;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(100);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tray_menu_poster open|end\n");
    return 2;
  }
  HWND client = WaitForWindow("TForm1", "Kestro", 30000);
  if (!client) {
    std::fprintf(stderr, "tray_menu_poster: Kestro is not running\n");
    return 1;
  }
  if (std::strcmp(argv[1], "open") == 0) {
    Sleep(1000);  // let the start-up finish
    PostMessageA(client, 1126, 0, WM_RBUTTONUP);
    return WaitForWindow("#32768", nullptr, 10000) ? 0 : 1;
  }
  if (HWND menu = FindWindowA("#32768", nullptr)) {
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(300);
  }
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(client, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer);
  return answer == 1 ? 0 : 1;
}
