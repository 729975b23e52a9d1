// A 24-bit top-down DIB section that owns its bitmap.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstring>

namespace forms {

// A new 24-bit top-down DIB section; *bits receives its pixels, rows of
// width * 3 bytes rounded up to 4. nullptr on failure.
inline HBITMAP CreateDib24(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  *bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

class Picture {
 public:
  Picture() = default;
  ~Picture() { Release(); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // Copies rows of 3-byte BGR pixels, top row first, `stride` bytes apart.
  bool Create(int width, int height, const unsigned char* bgr, std::size_t stride) {
    Release();
    void* bits = nullptr;
    bitmap_ = CreateDib24(width, height, &bits);
    if (!bitmap_) return false;
    std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
    for (int y = 0; y < height && bgr; ++y)
      std::memcpy(static_cast<unsigned char*>(bits) + rowBytes * y, bgr + stride * y,
                  stride < rowBytes ? stride : rowBytes);
    width_ = width;
    height_ = height;
    return true;
  }
  void Release() {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    width_ = height_ = 0;
  }
  bool Empty() const { return bitmap_ == nullptr; }
  HBITMAP Handle() const { return bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  HBITMAP bitmap_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace forms
