// Drives a running Kestro from outside for pictures of its settings form.
//   settings_shot_helper open   opens the form through the tray icon, puts the
//                               focus into the terminal name and prints the
//                               form's client area: width height x y
//   settings_shot_helper end    ends the client as a session end does
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "client/SettingsForm.h"
#include "tests/wine/ShotHelperSupport.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: settings_shot_helper open|end\n");
    return 2;
  }
  HWND client = WaitForWindow("TForm1", "Kestro", false, 30000);
  if (!client) {
    std::fprintf(stderr, "settings_shot_helper: Kestro is not running\n");
    return 1;
  }
  if (std::strcmp(argv[1], "open") == 0) {
    HWND form = nullptr;
    for (DWORD start = GetTickCount(); !form && GetTickCount() - start < 30000;) {
      PostMessageA(client, 1126, 0, WM_LBUTTONDBLCLK);  // ignored until the start-up is complete
      form = WaitForWindow("TForm2", "設定画面", true, 500);
    }
    if (!form) {
      std::fprintf(stderr, "settings_shot_helper: the settings form did not open\n");
      return 1;
    }
    HWND terminal = GetDlgItem(form, kSetIdTerminal);
    PostMessageA(terminal, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 8));
    PostMessageA(terminal, WM_LBUTTONUP, 0, MAKELPARAM(60, 8));
    Sleep(1500);
    PrintClientArea(form);
    return 0;
  }
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(client, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer);
  return answer == 1 ? 0 : 1;
}
