#include "JpegInspection.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "jpeg/JpegError.h"

namespace {

bool SameTable(const JQUANT_TBL* a, const JQUANT_TBL* b) {
  return a && b && std::memcmp(a->quantval, b->quantval, sizeof a->quantval) == 0;
}

// The quality 1..100 whose scaled standard tables equal the file's tables.
int MatchQuality(const jpeg_decompress_struct& file) {
  int match = -1;
  jpeg_compress_struct reference;
  jpeg_error_mgr errors;
  reference.err = jpeg_std_error(&errors);
  jpeg_create_compress(&reference);
  reference.in_color_space = JCS_RGB;
  jpeg_set_defaults(&reference);
  for (int quality = 1; quality <= 100 && match < 0; ++quality) {
    jpeg_set_quality(&reference, quality, TRUE);
    if (SameTable(file.quant_tbl_ptrs[0], reference.quant_tbl_ptrs[0]) &&
        SameTable(file.quant_tbl_ptrs[1], reference.quant_tbl_ptrs[1]))
      match = quality;
  }
  jpeg_destroy_compress(&reference);
  return match;
}

bool HasBaselineMarker(std::FILE* file) {
  std::rewind(file);
  int previous = 0, current;
  while ((current = std::fgetc(file)) != EOF) {
    if (previous == 0xFF && current == 0xC0) return true;
    previous = current;
  }
  return false;
}

// Only plain data in this frame: the jump skips no destructor.
bool Decode(std::FILE* file, JpegInspection* out, unsigned char** pixels, char* message, std::size_t messageSize) {
  jpeg_decompress_struct info;
  jpegio::ErrorManager errors;
  info.err = jpegio::JumpingErrors(errors);
  if (setjmp(errors.jump))
    return jpegio::DestroyOnError(reinterpret_cast<j_common_ptr>(&info), errors, message, messageSize);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  out->width = static_cast<int>(info.image_width);
  out->height = static_cast<int>(info.image_height);
  out->components = info.num_components;
  out->progressive = info.progressive_mode != 0;
  out->quality = MatchQuality(info);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const std::size_t stride = info.output_width * 3u;
  *pixels = static_cast<unsigned char*>(std::malloc(stride * info.output_height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = *pixels + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

unsigned long JpegInspection::RgbAt(int x, int y) const {
  const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
  return (static_cast<unsigned long>(rgb[at]) << 16) | (rgb[at + 1] << 8) | rgb[at + 2];
}

JpegInspection InspectJpegFile(const std::string& path) {
  JpegInspection out;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    out.error = "cannot open " + path;
    return out;
  }
  unsigned char* pixels = nullptr;
  char message[JMSG_LENGTH_MAX] = {};
  out.readable = Decode(file, &out, &pixels, message, sizeof message);
  if (out.readable) {
    out.rgb.assign(pixels, pixels + static_cast<std::size_t>(out.width) * out.height * 3);
    out.baselineMarker = HasBaselineMarker(file);
  } else {
    out.error = message;
  }
  std::free(pixels);
  std::fclose(file);
  return out;
}
