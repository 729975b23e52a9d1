// Drives a running kestroMgr from outside for a picture of its spreadsheet
// options form, which the program keeps hidden until a picture workbook.
//   options_shot_helper show  fills and shows the form and prints its
//                             client area on the screen "w h x y"
//   options_shot_helper end   ends the manager through its login form
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "../wine/ShotHelperSupport.h"

namespace {

void SetText(HWND window, const char* text) { SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: options_shot_helper show|end\n");
    return 2;
  }
  HWND login = WaitForWindow("TForm2", nullptr, true, 30000);
  if (!login) {
    std::fprintf(stderr, "options_shot_helper: the manager did not start\n");
    return 1;
  }
  if (std::strcmp(argv[1], "end") == 0) {
    PostMessageA(login, WM_CLOSE, 0, 0);
    return 0;
  }
  HWND form = WaitForWindow("TForm3", nullptr, false, 30000);
  if (!form) {
    std::fprintf(stderr, "options_shot_helper: no options form\n");
    return 1;
  }
  // As the picture workbook fills it before showing it.
  HWND edit = nullptr;
  const char* texts[] = {"1024", "768", "営業部　検査担当", "A2"};
  for (const char* text : texts) {
    edit = FindWindowExA(form, edit, "EDIT", nullptr);
    SetText(edit, text);
  }
  SendMessageA(FindWindowExA(form, nullptr, "COMBOBOX", nullptr), CB_SETCURSEL, 1, 0);
  ShowWindow(form, SW_SHOW);
  SetForegroundWindow(form);
  Sleep(1000);
  PrintClientArea(form);
  return 0;
}
