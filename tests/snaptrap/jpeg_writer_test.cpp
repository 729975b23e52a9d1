// The JPEG writer and the capture name rule, natively.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "JpegInspection.h"
#include "jpeg/JpegWriter.h"
#include "common/portable/CaptureName.h"

namespace {

std::string TempPath(const char* name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/" + name;
}

bool Near(unsigned long actual, unsigned long expected) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>((actual >> shift) & 0xFF);
    const int e = static_cast<int>((expected >> shift) & 0xFF);
    if (a - e > 40 || e - a > 40) return false;
  }
  return true;
}

// A 40 x 24 picture, top half red, bottom half blue, rows padded to 124
// bytes; stored bottom-up like a Windows DIB when bottomUp.
struct TwoColourPicture {
  static constexpr int kWidth = 40, kHeight = 24, kStride = 124;
  std::vector<unsigned char> bytes = std::vector<unsigned char>(kStride * kHeight, 0xEE);
  jpegio::RgbPicture picture;

  TwoColourPicture(jpegio::PixelOrder order, bool bottomUp) {
    for (int y = 0; y < kHeight; ++y) {
      const int storedRow = bottomUp ? kHeight - 1 - y : y;
      for (int x = 0; x < kWidth; ++x) {
        unsigned char* p = &bytes[storedRow * kStride + x * 3];
        const bool red = y < kHeight / 2;
        const unsigned char r = red ? 255 : 0, b = red ? 0 : 255;
        p[0] = order == jpegio::PixelOrder::Bgr ? b : r;
        p[1] = 0;
        p[2] = order == jpegio::PixelOrder::Bgr ? r : b;
      }
    }
    picture.width = kWidth;
    picture.height = kHeight;
    picture.order = order;
    picture.firstRow = bottomUp ? &bytes[(kHeight - 1) * kStride] : bytes.data();
    picture.rowStride = bottomUp ? -kStride : kStride;
  }
};

void ExpectTwoColours(const std::string& path, int quality) {
  const JpegInspection jpeg = InspectJpegFile(path);
  ASSERT_TRUE(jpeg.readable) << jpeg.error;
  EXPECT_EQ(TwoColourPicture::kWidth, jpeg.width);
  EXPECT_EQ(TwoColourPicture::kHeight, jpeg.height);
  EXPECT_EQ(3, jpeg.components);
  EXPECT_FALSE(jpeg.progressive);
  EXPECT_TRUE(jpeg.baselineMarker);
  EXPECT_EQ(quality, jpeg.quality);
  EXPECT_TRUE(Near(jpeg.RgbAt(20, 3), 0xFF0000)) << std::hex << jpeg.RgbAt(20, 3);
  EXPECT_TRUE(Near(jpeg.RgbAt(20, 20), 0x0000FF)) << std::hex << jpeg.RgbAt(20, 20);
}

TEST(JpegWriter, WritesBaselineColourJpegInBothPixelOrdersAndRowDirections) {
  const std::string path = TempPath("jpegio_test_order.jpg");
  std::string error;
  const TwoColourPicture bgrBottomUp(jpegio::PixelOrder::Bgr, true);
  ASSERT_TRUE(jpegio::WriteJpegFile(path, bgrBottomUp.picture, 90, &error)) << error;
  ExpectTwoColours(path, 90);

  const TwoColourPicture rgbTopDown(jpegio::PixelOrder::Rgb, false);
  ASSERT_TRUE(jpegio::WriteJpegFile(path, rgbTopDown.picture, 55, &error)) << error;
  ExpectTwoColours(path, 55);
  std::remove(path.c_str());
}

TEST(JpegWriter, RefusesBadInputAndLeavesNoFile) {
  const TwoColourPicture good(jpegio::PixelOrder::Bgr, false);
  const std::string path = TempPath("jpegio_test_refused.jpg");
  std::remove(path.c_str());
  std::string error;

  jpegio::RgbPicture empty = good.picture;
  empty.width = 0;
  EXPECT_FALSE(jpegio::WriteJpegFile(path, empty, 90, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(jpegio::WriteJpegFile(path, good.picture, 0, &error));
  EXPECT_FALSE(jpegio::WriteJpegFile(path, good.picture, 101, &error));
  EXPECT_EQ(nullptr, std::fopen(path.c_str(), "rb"));

  error.clear();
  EXPECT_FALSE(jpegio::WriteJpegFile(TempPath("no_such_folder_jpegio/x.jpg"), good.picture, 90, &error));
  EXPECT_NE(std::string::npos, error.find("no_such_folder_jpegio"));
}

TEST(CaptureName, FollowsTheClientsNameRule) {
  EXPECT_EQ("000042_7.jpg", snaptrap::CaptureFileName({42, 7}));
  EXPECT_EQ("000000_0.jpg", snaptrap::CaptureFileName({0, 0}));
  EXPECT_EQ("1234567_12.jpg", snaptrap::CaptureFileName({1234567, 12}));
  EXPECT_EQ("-000042_-3.jpg", snaptrap::CaptureFileName({-42, -3}));
  EXPECT_EQ("235959_1.jpg", snaptrap::CaptureFileName({snaptrap::CaptureNumberForTime(23, 59, 59), 1}));
  EXPECT_EQ("000001_1.jpg", snaptrap::CaptureFileName({snaptrap::CaptureNumberForTime(0, 0, 1), 1}));
}

}  // namespace
