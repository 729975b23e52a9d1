// Typed look-up of a function that a loaded module exports: the one place
// where GetProcAddress's FARPROC becomes the function's own type.
#pragma once
#include <windows.h>

#include <type_traits>

// ExportedFunction<BOOL WINAPI(HWND)>(module, "Name"); nullptr when absent.
template <typename Function>
Function* ExportedFunction(HMODULE module, const char* name) {
  static_assert(std::is_function_v<Function>, "a function type, such as BOOL WINAPI(HWND)");
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
