// A copy of part of the screen in a 24-bit top-down DIB.
#pragma once
#include <windows.h>

#include "jpeg/JpegWriter.h"

namespace snaptrap {

class ScreenGrab {
 public:
  ScreenGrab() = default;
  ScreenGrab(const ScreenGrab&) = delete;
  ScreenGrab& operator=(const ScreenGrab&) = delete;
  ~ScreenGrab();

  // Copies the given screen rectangle (virtual-screen coordinates).
  bool Take(const RECT& area);
  // The pixels as BGR rows for the JPEG writer; valid while this object lives.
  jpegio::RgbPicture Picture() const;

 private:
  HBITMAP bitmap_ = nullptr;
  const unsigned char* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// The whole virtual screen (all monitors, as PrintScreen copies it).
RECT WholeScreenArea();
// The window's frame clipped to the screen; the whole screen when the
// window is missing, hidden or minimised.
RECT ActiveWindowArea(HWND window);

}  // namespace snaptrap
