#include "spreadsheet/portable/ImageSize.h"

#include <cstdint>
#include <cstdlib>

namespace spreadsheet {

namespace {

unsigned Byte(const std::string& b, size_t i) { return static_cast<unsigned char>(b[i]); }
unsigned BigEndian16(const std::string& b, size_t i) { return Byte(b, i) << 8 | Byte(b, i + 1); }
unsigned LittleEndian16(const std::string& b, size_t i) { return Byte(b, i) | Byte(b, i + 1) << 8; }
uint32_t BigEndian32(const std::string& b, size_t i) { return BigEndian16(b, i) << 16 | BigEndian16(b, i + 2); }
uint32_t LittleEndian32(const std::string& b, size_t i) {
  return LittleEndian16(b, i) | static_cast<uint32_t>(LittleEndian16(b, i + 2)) << 16;
}

bool JpegSize(const std::string& b, int& width, int& height) {
  size_t i = 2;
  while (i + 4 <= b.size()) {
    if (Byte(b, i) != 0xFF) return false;
    unsigned marker = Byte(b, i + 1);
    if (marker == 0xFF) {
      ++i;
      continue;
    }
    if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
      i += 2;
      continue;
    }
    unsigned length = BigEndian16(b, i + 2);
    if (length < 2) return false;
    bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (i + 9 > b.size()) return false;
      height = static_cast<int>(BigEndian16(b, i + 5));
      width = static_cast<int>(BigEndian16(b, i + 7));
      return width > 0 && height > 0;
    }
    if (marker == 0xD9 || marker == 0xDA) return false;
    i += 2 + length;
  }
  return false;
}

}  // namespace

bool ReadImageSize(const std::string& b, int& width, int& height) {
  if (b.size() >= 4 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8) return JpegSize(b, width, height);
  if (b.size() >= 24 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
    uint32_t w = BigEndian32(b, 16), h = BigEndian32(b, 20);
    if (w == 0 || h == 0 || w > 1000000 || h > 1000000) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
  }
  if (b.size() >= 10 && (b.compare(0, 6, "GIF87a") == 0 || b.compare(0, 6, "GIF89a") == 0)) {
    width = static_cast<int>(LittleEndian16(b, 6));
    height = static_cast<int>(LittleEndian16(b, 8));
    return width > 0 && height > 0;
  }
  if (b.size() >= 26 && b[0] == 'B' && b[1] == 'M') {
    int32_t w = static_cast<int32_t>(LittleEndian32(b, 18)), h = static_cast<int32_t>(LittleEndian32(b, 22));
    if (w <= 0 || h == 0 || w > 1000000 || h < -1000000 || h > 1000000) return false;
    width = w;
    height = std::abs(h);
    return true;
  }
  return false;
}

}  // namespace spreadsheet
