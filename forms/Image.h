// A picture control: paints a bitmap it does not own, either at its own size
// (centred or at the top left) or stretched to the control. The background
// comes from the parent through WM_CTLCOLORSTATIC; a double click is
// reported to the parent as STN_DBLCLK.
#pragma once
#include "forms/Control.h"
#include "forms/ControlClass.h"

namespace forms {

class Image : public Control {
 public:
  bool Create(HWND parent, int x, int y, int width, int height, int id) {
    if (!RegisterControlClass(kClassName, &Image::Proc)) return false;
    if (!Control::Create(parent, kClassName, "", WS_VISIBLE, x, y, width, height, id)) return false;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
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
  static constexpr char kClassName[] = "FormsImage";

  void Paint(HDC dc) const {
    RECT r = ClientRect();
    HWND parent = GetParent(window_);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window_)));
    FillRect(dc, &r, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    if (!bitmap_) return;
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

  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<Image*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (msg) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (self) self->Paint(dc);
        EndPaint(window, &paint);
        return 0;
      }
      case WM_LBUTTONDBLCLK:
        SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), STN_DBLCLK),
                     reinterpret_cast<LPARAM>(window));
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
      default:
        break;
    }
    return DefWindowProcA(window, msg, w, l);
  }

  HBITMAP bitmap_ = nullptr;
  int width_ = 0, height_ = 0;
  bool stretch_ = false;
  bool center_ = true;
};

}  // namespace forms
