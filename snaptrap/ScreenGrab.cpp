#include "snaptrap/ScreenGrab.h"

#include <dwmapi.h>

namespace snaptrap {
namespace {

int RowStride(int width) { return (width * 3 + 3) & ~3; }

}  // namespace

ScreenGrab::~ScreenGrab() {
  if (bitmap_) DeleteObject(bitmap_);
}

bool ScreenGrab::Take(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;

  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = bitmap ? CreateCompatibleDC(screen) : nullptr;
  bool copied = false;
  if (memory) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top,
                    SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  ReleaseDC(nullptr, screen);
  if (!copied) {
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = bitmap;
  bits_ = static_cast<const unsigned char*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

jpegio::RgbPicture ScreenGrab::Picture() const {
  jpegio::RgbPicture picture;
  picture.width = width_;
  picture.height = height_;
  picture.firstRow = bits_;
  picture.rowStride = RowStride(width_);
  picture.order = jpegio::PixelOrder::Bgr;
  return picture;
}

RECT WholeScreenArea() {
  RECT area;
  area.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  area.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  area.right = area.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  area.bottom = area.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  return area;
}

RECT ActiveWindowArea(HWND window) {
  const RECT screen = WholeScreenArea();
  if (!window || !IsWindowVisible(window) || IsIconic(window)) return screen;
  RECT frame = {};
  // The visible frame, without the invisible resize borders where DWM adds them.
  const bool framed =
      SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame)) &&
      !IsRectEmpty(&frame);
  if (!framed && !GetWindowRect(window, &frame)) return screen;
  RECT clipped;
  if (!IntersectRect(&clipped, &frame, &screen)) return screen;
  return clipped;
}

}  // namespace snaptrap
