// Drives a running kestroMgr from outside for a picture of its login form.
//   login_shot_helper show  waits for the login form and prints its client
//                           area on the screen "w h x y"
//   login_shot_helper end   ends the manager through its login form
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "../wine/ShotHelperSupport.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: login_shot_helper show|end\n");
    return 2;
  }
  HWND form = WaitForWindow("TForm2", nullptr, true, 30000);
  if (!form) {
    std::fprintf(stderr, "login_shot_helper: the login form did not appear\n");
    return 1;
  }
  if (std::strcmp(argv[1], "end") == 0) {
    PostMessageA(form, WM_CLOSE, 0, 0);
    return 0;
  }
  Sleep(1000);
  PrintClientArea(form);
  return 0;
}
