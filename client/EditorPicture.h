// The picture being edited: a 24-bit top-down DIB section selected into its
// own memory DC, so GDI draws on it and its pixels are read directly.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "client/portable/EditorGeometry.h"
#include "forms/Picture.h"

class EditorPicture {
 public:
  EditorPicture() = default;
  ~EditorPicture() { Release(); }
  EditorPicture(const EditorPicture&) = delete;
  EditorPicture& operator=(const EditorPicture&) = delete;

  // A new picture filled with one colour; false when GDI refuses the size.
  bool Create(int width, int height, COLORREF fill = RGB(255, 255, 255));
  bool CopyFrom(const EditorPicture& source);
  // The part area of source (clipped to it); false for an empty part.
  bool CopyPart(const EditorPicture& source, const EditorRect& area);
  void Swap(EditorPicture& other);
  void Release();

  // Colour, baseline JPEG of quality 90. Both throw std::runtime_error with
  // a message for the user; the picture is unchanged when loading fails.
  void LoadJpeg(const std::string& path);
  void SaveJpeg(const std::string& path) const;

  // Copies source onto this picture at (x, y), leaving out the pixels of
  // the transparent colour and whatever falls outside.
  void DrawTransparent(const EditorPicture& source, int x, int y, COLORREF transparent);

  bool Empty() const { return dib_->Empty(); }
  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Colour at (x, y) as RGB(); CLR_INVALID outside. Flushes GDI first.
  COLORREF Pixel(int x, int y) const;

 private:
  unsigned char* Row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(stride_) * y; }

  std::unique_ptr<forms::Picture> dib_ = std::make_unique<forms::Picture>();
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
  unsigned char* bits_ = nullptr;
  int width_ = 0, height_ = 0, stride_ = 0;
};
