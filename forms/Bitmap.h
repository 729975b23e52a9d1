// A device-dependent bitmap selected into its own memory DC.
#pragma once
#include <windows.h>

namespace forms {

class Bitmap {
 public:
  Bitmap() = default;
  ~Bitmap() { Release(); }
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  bool Create(int width, int height) {
    Release();
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (!dc_ || !bitmap_) return false;
    old_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    return true;
  }
  // The bitmap owns the font from then on.
  void SetFont(HFONT font) {
    HGDIOBJ previous = SelectObject(dc_, font);
    if (font_) DeleteObject(font_);
    else oldFont_ = previous;
    font_ = font;
  }
  void Release() {
    if (dc_) {
      if (oldFont_) SelectObject(dc_, oldFont_);
      if (old_) SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    if (font_) DeleteObject(font_);
    dc_ = nullptr; bitmap_ = nullptr; font_ = nullptr; old_ = nullptr; oldFont_ = nullptr;
  }
  HDC Dc() const { return dc_; }
  HBITMAP Handle() const { return bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ old_ = nullptr;
  HGDIOBJ oldFont_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace forms
