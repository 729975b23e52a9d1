// Drives a running kestroMgr from outside for a picture of its login form.
//   login_shot_helper show  waits for the login form and prints its client
//                           area on the screen "w h x y"
//   login_shot_helper end   ends the manager through its login form
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: login_shot_helper show|end\n");
    return 2;
  }
  HWND form = nullptr;
  for (DWORD start = GetTickCount(); !(form = FindWindowA("TForm2", nullptr)) || !IsWindowVisible(form);) {
    if (GetTickCount() - start > 30000) {
      std::fprintf(stderr, "login_shot_helper: the login form did not appear\n");
      return 1;
    }
    Sleep(100);
  }
  if (std::strcmp(argv[1], "end") == 0) {
    PostMessageA(form, WM_CLOSE, 0, 0);
    return 0;
  }
  Sleep(1000);
  // The client area: without a window manager nobody draws the frame.
  RECT r;
  GetClientRect(form, &r);
  POINT origin{0, 0};
  ClientToScreen(form, &origin);
  std::printf("%ld %ld %ld %ld\n", r.right, r.bottom, origin.x, origin.y);
  return 0;
}
