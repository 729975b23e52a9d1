// Drives a running Kestro from outside for pictures of its registration form.
//   registration_shot_helper capture  puts a window on the screen, takes a
//                                     capture through SNAPTRAP.DLL as the keys
//                                     would, waits for the registration form and
//                                     prints its client area on the screen "w h x y"
//   registration_shot_helper end      ends the client through its main form
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "snaptrap/SnapTrap.h"
#include "tests/wine/ShotHelperSupport.h"

namespace {

LRESULT CALLBACK SceneProc(HWND window, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT r;
    GetClientRect(window, &r);
    for (int y = 0; y < r.bottom; y += 4) {
      RECT band{0, y, r.right, y + 4};
      HBRUSH brush = CreateSolidBrush(RGB(40 + y * 150 / r.bottom, 90, 200 - y * 120 / r.bottom));
      FillRect(dc, &band, brush);
      DeleteObject(brush);
    }
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RECT dialog{120, 120, 620, 380};
    FillRect(dc, &dialog, white);
    SetBkMode(dc, TRANSPARENT);
    const char* lines[] = {"受注管理システム", "エラー: 伝票番号 20061020-007 を保存できません", "[OK]"};
    for (int i = 0; i < 3; ++i) TextOutA(dc, 150, 150 + 60 * i, lines[i], static_cast<int>(std::strlen(lines[i])));
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, msg, w, l);
}

// A full-screen window with something to capture.
HWND ShowScene() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = SceneProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "RegistrationShotScene";
  RegisterClassA(&wc);
  HWND scene = CreateWindowExA(0, wc.lpszClassName, "業務画面", WS_POPUP | WS_VISIBLE, 0, 0,
                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                               wc.hInstance, nullptr);
  UpdateWindow(scene);
  return scene;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: registration_shot_helper capture|end\n");
    return 2;
  }
  HWND client = WaitForWindow("TForm1", "Kestro", false, 30000);
  if (!client) {
    std::fprintf(stderr, "registration_shot_helper: Kestro is not running\n");
    return 1;
  }
  if (std::strcmp(argv[1], "end") == 0) {
    PostMessageA(client, WM_CLOSE, 0, 0);
    return 0;
  }
  HWND scene = ShowScene();
  WaitForWindow("RegistrationShotScene", nullptr, true, 2000);
  Sleep(500);
  if (!SnapTrapTestCapture(FALSE)) {
    std::fprintf(stderr, "registration_shot_helper: the capture failed\n");
    return 1;
  }
  DestroyWindow(scene);
  HWND form = WaitForWindow("TForm3", nullptr, true, 30000);
  if (!form) {
    std::fprintf(stderr, "registration_shot_helper: the registration form did not open\n");
    return 1;
  }
  Sleep(1000);
  PrintClientArea(form);
  return 0;
}
