// Reads a JPEG file into 3-byte pixel rows through libjpeg.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "jpeg/JpegWriter.h"

namespace jpegio {

// A decoded picture: rows top first, rowBytes apart, 3 bytes per pixel in
// the given order.
struct DecodedPicture {
  int width = 0;
  int height = 0;
  PixelOrder order = PixelOrder::Bgr;
  std::vector<unsigned char> pixels;

  std::size_t RowBytes() const { return static_cast<std::size_t>(width) * 3; }
};

// The largest picture read, in pixels: far above any screen capture, and
// its 3-byte buffer fits a 32-bit size_t.
inline constexpr std::uint64_t kMaxPicturePixels = 100000000;

// Bytes of the 3-byte pixel buffer for width x height, in 64 bits; 0 when
// a side is 0 or the picture exceeds kMaxPicturePixels.
std::uint64_t PixelBufferBytes(std::uint64_t width, std::uint64_t height);

// Reads path (system code page); colour and grey JPEGs. False with a message
// in error when the file cannot be opened, is not a JPEG libjpeg reads or
// is larger than kMaxPicturePixels (refused before anything is allocated).
bool ReadJpegFile(const std::string& path, DecodedPicture& picture, PixelOrder order,
                  std::string* error);

}  // namespace jpegio
