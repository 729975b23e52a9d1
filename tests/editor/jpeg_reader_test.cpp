// Reading JPEG files back: what the writer wrote, grey pictures, and files
// that are missing or broken.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "jpeg/JpegReader.h"
#include "jpeg/JpegWriter.h"

namespace {

std::string TempPath(const std::string& name) { return ::testing::TempDir() + "jpeg_reader_" + name; }

bool Near(int a, int b) { return std::abs(a - b) <= 6; }

TEST(JpegReader, ReadsBackWhatTheWriterWroteInEitherPixelOrder) {
  const int width = 33, height = 17;  // odd sizes: no padding assumed
  std::vector<unsigned char> bgr(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
      p[0] = 200;                   // blue
      p[1] = x < width / 2 ? 40 : 160;  // green
      p[2] = 10;                    // red
    }
  jpegio::RgbPicture picture{width, height, bgr.data(), width * 3, jpegio::PixelOrder::Bgr};
  const std::string path = TempPath("colour.jpg");
  ASSERT_TRUE(jpegio::WriteJpegFile(path, picture, 90, nullptr));

  jpegio::DecodedPicture decoded;
  std::string error;
  ASSERT_TRUE(jpegio::ReadJpegFile(path, decoded, jpegio::PixelOrder::Bgr, &error)) << error;
  EXPECT_EQ(width, decoded.width);
  EXPECT_EQ(height, decoded.height);
  ASSERT_EQ(decoded.RowBytes() * height, decoded.pixels.size());
  const unsigned char* left = &decoded.pixels[decoded.RowBytes() * 8 + 3 * 3];
  const unsigned char* right = &decoded.pixels[decoded.RowBytes() * 8 + 3 * 28];
  EXPECT_TRUE(Near(left[0], 200) && Near(left[1], 40) && Near(left[2], 10));
  EXPECT_TRUE(Near(right[1], 160));

  ASSERT_TRUE(jpegio::ReadJpegFile(path, decoded, jpegio::PixelOrder::Rgb, &error)) << error;
  left = &decoded.pixels[decoded.RowBytes() * 8 + 3 * 3];
  EXPECT_TRUE(Near(left[0], 10) && Near(left[2], 200));
  std::remove(path.c_str());
}

TEST(JpegReader, GreyPicturesComeBackAsThreeEqualChannels) {
  const std::string path = TempPath("grey.jpg");
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, file);
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = 8;
  info.image_height = 8;
  info.input_components = 1;
  info.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(8, 99);
  while (info.next_scanline < 8) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);

  jpegio::DecodedPicture decoded;
  ASSERT_TRUE(jpegio::ReadJpegFile(path, decoded, jpegio::PixelOrder::Bgr, nullptr));
  EXPECT_EQ(8, decoded.width);
  EXPECT_TRUE(Near(decoded.pixels[0], 99) && decoded.pixels[0] == decoded.pixels[1] &&
              decoded.pixels[1] == decoded.pixels[2]);
  std::remove(path.c_str());
}

TEST(JpegReader, MissingAndBrokenFilesFailWithAMessageAndLeaveThePicture) {
  jpegio::DecodedPicture decoded;
  decoded.width = 5;
  std::string error;
  EXPECT_FALSE(jpegio::ReadJpegFile(TempPath("missing.jpg"), decoded, jpegio::PixelOrder::Bgr, &error));
  EXPECT_NE(std::string::npos, error.find("missing.jpg"));
  EXPECT_EQ(5, decoded.width);

  const std::string broken = TempPath("broken.jpg");
  std::ofstream(broken, std::ios::binary) << "not a picture at all";
  error.clear();
  EXPECT_FALSE(jpegio::ReadJpegFile(broken, decoded, jpegio::PixelOrder::Bgr, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(5, decoded.width);

  // A JPEG cut short.
  const std::string whole = TempPath("whole.jpg");
  std::vector<unsigned char> pixels(64 * 64 * 3, 128);
  jpegio::RgbPicture picture{64, 64, pixels.data(), 64 * 3, jpegio::PixelOrder::Rgb};
  ASSERT_TRUE(jpegio::WriteJpegFile(whole, picture, 90, nullptr));
  std::ifstream in(whole, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Cut inside its headers: refused.
  std::ofstream(broken, std::ios::binary) << bytes.substr(0, 200);
  error.clear();
  EXPECT_FALSE(jpegio::ReadJpegFile(broken, decoded, jpegio::PixelOrder::Bgr, &error));
  EXPECT_FALSE(error.empty());
  // Cut inside its picture data: libjpeg fills what is missing.
  std::ofstream(broken, std::ios::binary) << bytes.substr(0, bytes.size() - 50);
  ASSERT_TRUE(jpegio::ReadJpegFile(broken, decoded, jpegio::PixelOrder::Bgr, &error)) << error;
  EXPECT_EQ(64, decoded.width);
  EXPECT_EQ(64u * 64u * 3u, decoded.pixels.size());
  // Sizes above the limit are refused before a buffer is sized.
  EXPECT_EQ(jpegio::PixelBufferBytes(10001, 10000), 0u);
  EXPECT_EQ(jpegio::PixelBufferBytes(45761, 62571), 0u);  // 1 byte in 32 bits
  std::remove(broken.c_str());
  std::remove(whole.c_str());
}

}  // namespace
