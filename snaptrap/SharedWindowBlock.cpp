#include "snaptrap/SharedWindowBlock.h"

#include <cstdint>
#include <cstring>

namespace snaptrap {

const char kSharedBlockName[] = "KestroMapFile";

bool SharedWindowBlock::Open() {
  if (mapping_) return true;
  mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                sizeof(std::uint32_t), kSharedBlockName);
  return mapping_ != nullptr;
}

void SharedWindowBlock::Close() {
  if (mapping_) CloseHandle(mapping_);
  mapping_ = nullptr;
}

HWND SharedWindowBlock::ReadWindow() const {
  if (!mapping_) return nullptr;
  void* view = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeof(std::uint32_t));
  if (!view) return nullptr;
  std::uint32_t value = 0;
  std::memcpy(&value, view, sizeof value);
  UnmapViewOfFile(view);
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

}  // namespace snaptrap
