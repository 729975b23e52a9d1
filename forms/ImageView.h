// A picture control that shows a memory DC at its own size and reports
// mouse presses, moves and releases in picture coordinates. It can draw a
// rubber band (dotted outline, no fill) over the picture.
#pragma once
#include <windowsx.h>

#include <functional>

#include "forms/Control.h"
#include "forms/ControlClass.h"

namespace forms {

enum class MouseButton { Left, Right, Middle };

class ImageView : public Control {
 public:
  bool Create(HWND parent, int x, int y, int id) {
    if (!RegisterControlClass(kClassName, &ImageView::Proc, 0, IDC_CROSS)) return false;
    if (!Control::Create(parent, kClassName, "", WS_VISIBLE, x, y, 0, 0, id)) return false;
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
  }
  // Shows the picture held in source (not owned) and sizes the control to it.
  void SetPicture(HDC source, int width, int height) {
    source_ = source;
    width_ = width;
    height_ = height;
    SetPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(false);
  }
  int PictureWidth() const { return width_; }
  int PictureHeight() const { return height_; }

  // The band from (left, top) with a size that may be negative.
  void ShowBand(int left, int top, int width, int height, COLORREF colour) {
    band_ = RECT{left, top, left + width, top + height};
    bandColour_ = colour;
    bandShown_ = true;
    Invalidate(false);
  }
  void HideBand() {
    if (!bandShown_) return;
    bandShown_ = false;
    Invalidate(false);
  }
  bool BandShown() const { return bandShown_; }
  RECT Band() const { return band_; }

  std::function<void(MouseButton, int, int)> OnMouseDown;
  std::function<void(int, int)> OnMouseMove;
  std::function<void(MouseButton, int, int)> OnMouseUp;

 private:
  static constexpr char kClassName[] = "FormsImageView";

  void Paint(HDC dc) const {
    if (source_) BitBlt(dc, 0, 0, width_, height_, source_, 0, 0, SRCCOPY);
    if (!bandShown_) return;
    HPEN pen = CreatePen(PS_DOT, 1, bandColour_);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    Rectangle(dc, band_.left, band_.top, band_.right, band_.bottom);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }

  static MouseButton ButtonOf(UINT msg) {
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) return MouseButton::Right;
    if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP) return MouseButton::Middle;
    return MouseButton::Left;
  }

  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<ImageView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, msg, w, l);
    const int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
    switch (msg) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        self->Paint(dc);
        EndPaint(window, &paint);
        return 0;
      }
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        SetCapture(window);
        if (self->OnMouseDown) self->OnMouseDown(ButtonOf(msg), x, y);
        return 0;
      case WM_MOUSEMOVE:
        if (self->OnMouseMove) self->OnMouseMove(x, y);
        return 0;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        if (GetCapture() == window) ReleaseCapture();
        if (self->OnMouseUp) self->OnMouseUp(ButtonOf(msg), x, y);
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
      default:
        break;
    }
    return DefWindowProcA(window, msg, w, l);
  }

  HDC source_ = nullptr;
  int width_ = 0, height_ = 0;
  RECT band_{};
  COLORREF bandColour_ = 0;
  bool bandShown_ = false;
};

}  // namespace forms
