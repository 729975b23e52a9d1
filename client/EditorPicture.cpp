#include "client/EditorPicture.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "jpeg/JpegReader.h"
#include "jpeg/JpegWriter.h"

namespace {
constexpr int kJpegQuality = 90;
}

bool EditorPicture::Create(int width, int height, COLORREF fill) {
  Release();
  if (width <= 0 || height <= 0 || !dib_->Create(width, height, nullptr, 0)) return false;
  DIBSECTION section{};
  dc_ = CreateCompatibleDC(nullptr);
  if (!dc_ || GetObjectA(dib_->Handle(), sizeof(section), &section) != sizeof(section) || !section.dsBm.bmBits) {
    Release();
    return false;
  }
  old_ = SelectObject(dc_, dib_->Handle());
  bits_ = static_cast<unsigned char*>(section.dsBm.bmBits);
  width_ = width;
  height_ = height;
  stride_ = section.dsBm.bmWidthBytes;
  RECT all{0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(fill);
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
  return true;
}

void EditorPicture::Release() {
  if (dc_) {
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  dib_->Release();
  dc_ = nullptr;
  old_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = stride_ = 0;
}

void EditorPicture::Swap(EditorPicture& other) {
  std::swap(dc_, other.dc_);
  std::swap(dib_, other.dib_);
  std::swap(old_, other.old_);
  std::swap(bits_, other.bits_);
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  std::swap(stride_, other.stride_);
}

bool EditorPicture::CopyFrom(const EditorPicture& source) {
  return CopyPart(source, EditorRect{0, 0, source.Width(), source.Height()});
}

bool EditorPicture::CopyPart(const EditorPicture& source, const EditorRect& area) {
  const EditorRect part{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, source.Width()),
                        std::min(area.bottom, source.Height())};
  if (part.Empty() || source.Empty()) return false;
  EditorPicture copy;
  if (!copy.Create(part.Width(), part.Height())) return false;
  GdiFlush();
  for (int y = 0; y < part.Height(); ++y)
    std::memcpy(copy.Row(y), source.Row(part.top + y) + part.left * 3, static_cast<size_t>(part.Width()) * 3);
  Swap(copy);
  return true;
}

void EditorPicture::LoadJpeg(const std::string& path) {
  jpegio::DecodedPicture decoded;
  std::string error;
  if (!jpegio::ReadJpegFile(path, decoded, jpegio::PixelOrder::Bgr, &error))
    throw std::runtime_error("画像を読み込めません。" + error);
  EditorPicture loaded;
  if (!loaded.Create(decoded.width, decoded.height)) throw std::runtime_error("画像を作成できません。" + path);
  for (int y = 0; y < decoded.height; ++y)
    std::memcpy(loaded.Row(y), decoded.pixels.data() + decoded.RowBytes() * y, decoded.RowBytes());
  Swap(loaded);
}

void EditorPicture::SaveJpeg(const std::string& path) const {
  if (Empty()) throw std::runtime_error("保存する画像がありません。");
  GdiFlush();
  jpegio::RgbPicture picture;
  picture.width = width_;
  picture.height = height_;
  picture.firstRow = bits_;
  picture.rowStride = stride_;
  picture.order = jpegio::PixelOrder::Bgr;
  std::string error;
  if (!jpegio::WriteJpegFile(path, picture, kJpegQuality, &error))
    throw std::runtime_error("画像を保存できません。" + error);
}

void EditorPicture::DrawTransparent(const EditorPicture& source, int x, int y, COLORREF transparent) {
  GdiFlush();
  const unsigned char key[3] = {GetBValue(transparent), GetGValue(transparent), GetRValue(transparent)};
  for (int sy = 0; sy < source.Height(); ++sy) {
    const int ty = y + sy;
    if (ty < 0 || ty >= height_) continue;
    const unsigned char* from = source.Row(sy);
    unsigned char* to = Row(ty);
    for (int sx = 0; sx < source.Width(); ++sx) {
      const int tx = x + sx;
      const unsigned char* pixel = from + sx * 3;
      if (tx < 0 || tx >= width_ || std::memcmp(pixel, key, 3) == 0) continue;
      std::memcpy(to + tx * 3, pixel, 3);
    }
  }
}

COLORREF EditorPicture::Pixel(int x, int y) const {
  if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  GdiFlush();
  const unsigned char* pixel = Row(y) + x * 3;
  return RGB(pixel[2], pixel[1], pixel[0]);
}
