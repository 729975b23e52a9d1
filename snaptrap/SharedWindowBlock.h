// The 4-byte shared block "KestroMapFile" in which the client puts its window.
#pragma once
#include <windows.h>

#include <cstdint>

namespace snaptrap {

// The window handle stored in the block, opened by name for the read; the
// client makes the block and keeps it. nullptr when there is none.
HWND WindowInSharedBlock();

inline constexpr char kSharedBlockName[] = "KestroMapFile";

// The block's 4 bytes hold the handle's value: a window handle's value fits
// 32 bits on 64-bit Windows too, where it is sign-extended back.
inline std::uint32_t SharedBlockValue(HWND window) {
  return static_cast<std::uint32_t>(HandleToLong(window));
}
inline HWND WindowFromSharedBlockValue(std::uint32_t value) {
  return static_cast<HWND>(LongToHandle(static_cast<LONG>(value)));
}

}  // namespace snaptrap
