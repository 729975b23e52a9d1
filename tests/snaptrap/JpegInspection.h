// Reads a JPEG file back through libjpeg for the tests.
#pragma once
#include <string>
#include <vector>

struct JpegInspection {
  bool readable = false;
  std::string error;
  int width = 0;
  int height = 0;
  int components = 0;
  bool progressive = false;
  bool baselineMarker = false;  // SOF0 present
  int quality = -1;             // the quality whose standard tables match, -1 none
  std::vector<unsigned char> rgb;  // decoded pixels, 3 bytes each, top row first

  // Pixel at (x, y) as 0xRRGGBB.
  unsigned long RgbAt(int x, int y) const;
};

JpegInspection InspectJpegFile(const std::string& path);
