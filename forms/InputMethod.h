// Opens or closes the input method of a control. imm32 is loaded on first
// use, so programs need not link it.
#pragma once
#include <windows.h>

namespace forms {

inline void SetInputMethodOpen(HWND control, bool open) {
  using GetContext = HANDLE(WINAPI*)(HWND);
  using SetOpenStatus = BOOL(WINAPI*)(HANDLE, BOOL);
  using ReleaseContext = BOOL(WINAPI*)(HWND, HANDLE);
  static HMODULE imm = LoadLibraryA("imm32.dll");
  if (!imm) return;
  auto get = reinterpret_cast<GetContext>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmGetContext")));
  auto set = reinterpret_cast<SetOpenStatus>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmSetOpenStatus")));
  auto release = reinterpret_cast<ReleaseContext>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmReleaseContext")));
  if (!get || !set || !release) return;
  if (HANDLE context = get(control)) {
    set(context, open ? TRUE : FALSE);
    release(control, context);
  }
}

}  // namespace forms
