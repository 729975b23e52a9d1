#include "jpeg/JpegReader.h"

#include <cstdio>

#include "jpeg/JpegError.h"

namespace jpegio {
namespace {

constexpr char kNotSupported[] = "JPEGの形式に対応していません";

// Decodes into a buffer that the caller sized from the header. The frame
// holds only plain data, so the jump skips no destructor.
bool Decompress(std::FILE* file, unsigned char** buffer, int* width, int* height, bool (*resize)(void*, int, int),
                void* target, PixelOrder order, char* message, std::size_t messageSize) {
  jpeg_decompress_struct info;
  ErrorManager manager;
  info.err = JumpingErrors(manager);
  if (setjmp(manager.jump))
    return DestroyOnError(reinterpret_cast<j_common_ptr>(&info), manager, message, messageSize);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = order == PixelOrder::Bgr ? JCS_EXT_BGR : JCS_RGB;
  // The header's size is checked before the decoder or we allocate for it.
  jpeg_calc_output_dimensions(&info);
  const bool supported = PixelBufferBytes(info.output_width, info.output_height) != 0;
  if (supported) jpeg_start_decompress(&info);
  if (!supported || info.output_components != 3 ||
      !resize(target, static_cast<int>(info.output_width), static_cast<int>(info.output_height))) {
    jpeg_destroy_decompress(&info);
    std::snprintf(message, messageSize, "%s", kNotSupported);
    return false;
  }
  *width = static_cast<int>(info.output_width);
  *height = static_cast<int>(info.output_height);
  const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * 3;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = *buffer + rowBytes * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

struct ResizeTarget {
  DecodedPicture* picture;
  unsigned char* data;
};

bool Resize(void* target, int width, int height) {
  auto* t = static_cast<ResizeTarget*>(target);
  try {
    t->picture->pixels.assign(static_cast<std::size_t>(PixelBufferBytes(width, height)), 0);
  } catch (...) {
    return false;
  }
  t->data = t->picture->pixels.data();
  return true;
}

}  // namespace

std::uint64_t PixelBufferBytes(std::uint64_t width, std::uint64_t height) {
  if (width == 0 || height == 0 || width > kMaxPicturePixels || height > kMaxPicturePixels) return 0;
  if (width * height > kMaxPicturePixels) return 0;
  return width * height * 3;
}

bool ReadJpegFile(const std::string& path, DecodedPicture& picture, PixelOrder order, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    if (error) *error = "ファイルを開けません:" + path;
    return false;
  }
  DecodedPicture decoded;
  decoded.order = order;
  ResizeTarget target{&decoded, nullptr};
  char message[JMSG_LENGTH_MAX + 1] = {};
  int width = 0, height = 0;
  bool read = Decompress(file, &target.data, &width, &height, &Resize, &target, order, message, sizeof message);
  std::fclose(file);
  if (!read) {
    if (error) *error = std::string(message) + ":" + path;
    return false;
  }
  decoded.width = width;
  decoded.height = height;
  picture = std::move(decoded);
  return true;
}

}  // namespace jpegio
