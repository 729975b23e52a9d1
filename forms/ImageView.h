// A picture control that shows a memory DC at its own size and reports
// mouse presses, moves and releases in picture coordinates. It can draw a
// rubber band (dotted outline, no fill) over the picture.
#pragma once
#include <windowsx.h>

#include <functional>

#include "forms/CustomControl.h"

namespace forms {

enum class MouseButton { Left, Right, Middle };

class ImageView : public CustomControl {
 public:
  bool Create(HWND parent, int x, int y, int id) {
    return CreateControl({"FormsImageView", IDC_CROSS, 0}, parent, "", WS_VISIBLE, x, y, 0, 0, id);
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
  void Paint(HDC dc) override {
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

  bool HandleMessage(UINT msg, WPARAM, LPARAM l, LRESULT&) override {
    const int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
    switch (msg) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        SetCapture(window_);
        if (OnMouseDown) OnMouseDown(ButtonOf(msg), x, y);
        return true;
      case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(x, y);
        return true;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        if (GetCapture() == window_) ReleaseCapture();
        if (OnMouseUp) OnMouseUp(ButtonOf(msg), x, y);
        return true;
      default:
        return false;
    }
  }

  HDC source_ = nullptr;
  int width_ = 0, height_ = 0;
  RECT band_{};
  COLORREF bandColour_ = 0;
  bool bandShown_ = false;
};

}  // namespace forms
