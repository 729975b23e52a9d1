#include "jpeg/JpegWriter.h"

#include <cstdio>

#include "jpeg/JpegError.h"

namespace jpegio {
namespace {

// Only plain data lives in this frame, so the jump skips no destructor.
bool Compress(std::FILE* file, const RgbPicture& picture, int quality, char* message,
              std::size_t messageSize) {
  jpeg_compress_struct info;
  ErrorManager manager;
  info.err = JumpingErrors(manager);
  if (setjmp(manager.jump))
    return DestroyOnError(reinterpret_cast<j_common_ptr>(&info), manager, message, messageSize);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = 3;
  info.in_color_space = picture.order == PixelOrder::Bgr ? JCS_EXT_BGR : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(picture.firstRow +
                                        picture.rowStride * static_cast<std::ptrdiff_t>(info.next_scanline));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

bool WriteJpegFile(const std::string& path, const RgbPicture& picture, int quality,
                   std::string* error) {
  auto fail = [error](const std::string& text) {
    if (error) *error = text;
    return false;
  };
  if (picture.width <= 0 || picture.height <= 0 || picture.width > JPEG_MAX_DIMENSION ||
      picture.height > JPEG_MAX_DIMENSION || !picture.firstRow)
    return fail("画像の大きさが不正です");
  if (quality < 1 || quality > 100) return fail("JPEG品質が不正です");

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return fail("ファイルを作成できません:" + path);
  char message[JMSG_LENGTH_MAX + 1] = {};
  bool written = Compress(file, picture, quality, message, sizeof message);
  if (std::fflush(file) != 0 || std::ferror(file)) {
    if (written) std::snprintf(message, sizeof message, "%s", "ファイルに書き込めません");
    written = false;
  }
  if (std::fclose(file) != 0 && written) {
    std::snprintf(message, sizeof message, "%s", "ファイルに書き込めません");
    written = false;
  }
  if (!written) {
    std::remove(path.c_str());
    return fail(std::string(message) + ":" + path);
  }
  return true;
}

}  // namespace jpegio
