#include "snaptrap/SharedWindowBlock.h"

#include <cstring>

namespace snaptrap {

HWND WindowInSharedBlock() {
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kSharedBlockName);
  if (!mapping) return nullptr;
  std::uint32_t value = 0;
  if (void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof value)) {
    std::memcpy(&value, view, sizeof value);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return WindowFromSharedBlockValue(value);
}

}  // namespace snaptrap
