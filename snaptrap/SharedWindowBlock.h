// The 4-byte shared block "KestroMapFile" in which the client puts its window.
#pragma once
#include <windows.h>

namespace snaptrap {

// The window handle stored in the block, opened by name for the read; the
// client makes the block and keeps it. nullptr when there is none.
HWND WindowInSharedBlock();

extern const char kSharedBlockName[];

}  // namespace snaptrap
