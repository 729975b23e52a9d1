// Opens or closes the input method of a control. imm32 is loaded on first
// use, so programs need not link it.
#pragma once
#include <windows.h>

#include "common/ExportedFunction.h"

namespace forms {

inline void SetInputMethodOpen(HWND control, bool open) {
  static HMODULE imm = LoadLibraryA("imm32.dll");
  if (!imm) return;
  auto get = ExportedFunction<HANDLE WINAPI(HWND)>(imm, "ImmGetContext");
  auto set = ExportedFunction<BOOL WINAPI(HANDLE, BOOL)>(imm, "ImmSetOpenStatus");
  auto release = ExportedFunction<BOOL WINAPI(HWND, HANDLE)>(imm, "ImmReleaseContext");
  if (!get || !set || !release) return;
  if (HANDLE context = get(control)) {
    set(context, open ? TRUE : FALSE);
    release(control, context);
  }
}

}  // namespace forms
