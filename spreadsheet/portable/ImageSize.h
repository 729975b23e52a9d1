// Pixel size of a picture file from its header: JPEG, PNG, GIF or BMP.
#pragma once
#include <string>

namespace spreadsheet {

bool ReadImageSize(const std::string& bytes, int& width, int& height);

// A picture placed on a sheet takes 3/4 point per pixel (96 dots per inch).
inline double PixelsToPoints(int pixels) { return pixels * 0.75; }

}  // namespace spreadsheet
