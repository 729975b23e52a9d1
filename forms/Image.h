// A picture control: paints a bitmap it does not own, either at its own size
// (centred or at the top left) or stretched to the control. The background
// comes from the parent through WM_CTLCOLORSTATIC; a double click is
// reported to the parent as STN_DBLCLK.
#pragma once
#include "forms/CustomControl.h"

namespace forms {

class Image : public CustomControl {
 public:
  bool Create(HWND parent, int x, int y, int width, int height, int id) {
    return CreateControl({"FormsImage"}, parent, "", WS_VISIBLE, x, y, width, height, id);
  }
  // bitmap stays the caller's; nullptr shows nothing.
  void SetBitmap(HBITMAP bitmap, int width, int height) {
    bitmap_ = bitmap;
    width_ = width;
    height_ = height;
    Invalidate();
  }
  void SetStretch(bool stretch) { stretch_ = stretch; Invalidate(); }
  void SetCenter(bool center) { center_ = center; Invalidate(); }
  bool Stretch() const { return stretch_; }
  HBITMAP Bitmap() const { return bitmap_; }

 private:
  void Paint(HDC dc) override {
    FillParentBackground(dc);
    if (!bitmap_) return;
    RECT r = ClientRect();
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap_);
    if (stretch_) {
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchBlt(dc, 0, 0, r.right, r.bottom, source, 0, 0, width_, height_, SRCCOPY);
    } else {
      int x = center_ ? (r.right - width_) / 2 : 0;
      int y = center_ ? (r.bottom - height_) / 2 : 0;
      BitBlt(dc, x, y, width_, height_, source, 0, 0, SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
  }

  bool HandleMessage(UINT msg, WPARAM, LPARAM, LRESULT&) override {
    if (msg != WM_LBUTTONDBLCLK) return false;
    NotifyParent(STN_DBLCLK);
    return true;
  }

  HBITMAP bitmap_ = nullptr;
  int width_ = 0, height_ = 0;
  bool stretch_ = false;
  bool center_ = true;
};

}  // namespace forms
