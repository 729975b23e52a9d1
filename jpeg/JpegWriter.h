// Writes a picture as a baseline colour JPEG file through libjpeg.
#pragma once
#include <cstddef>
#include <string>

namespace jpegio {

enum class PixelOrder { Bgr, Rgb };

// Rows of 3-byte pixels. rowStride is the byte distance from one row to the
// next as shown; a bottom-up bitmap passes its last row and a negative stride.
struct RgbPicture {
  int width = 0;
  int height = 0;
  const unsigned char* firstRow = nullptr;
  std::ptrdiff_t rowStride = 0;
  PixelOrder order = PixelOrder::Bgr;
};

// Writes the picture to path (system code page) at quality 1..100. Returns
// false with a message in error when the picture is unusable or libjpeg or
// the file fails; a partly written file is removed.
bool WriteJpegFile(const std::string& path, const RgbPicture& picture, int quality,
                   std::string* error);

}  // namespace jpegio
