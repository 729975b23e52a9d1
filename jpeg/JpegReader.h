// Reads a JPEG file into 3-byte pixel rows through libjpeg.
#pragma once
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

// Reads path (system code page); colour and grey JPEGs. False with a message
// in error when the file cannot be opened or is not a JPEG libjpeg reads.
bool ReadJpegFile(const std::string& path, DecodedPicture& picture, PixelOrder order,
                  std::string* error);

}  // namespace jpegio
