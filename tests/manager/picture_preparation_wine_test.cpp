// The picture step of the picture workbook under Wine: pictures shrunk to
// the size limit (halftone, baseline JPEG of quality 90) and put on the
// clipboard; failures that must leave the picture intact and the clipboard
// without an older picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/FileSystem.h"
#include "jpeg/JpegWriter.h"
#include "manager/ManagerSettings.h"
#include "manager/PicturePreparation.h"
#include "tests/client/WineTestFiles.h"
#include "tests/snaptrap/JpegInspection.h"

namespace {

struct ClipboardContent {
  int formats = 0;
  int bitmapWidth = 0, bitmapHeight = 0;  // CF_BITMAP
  int dibWidth = 0, dibHeight = 0;        // CF_DIB
};

ClipboardContent ReadClipboard() {
  ClipboardContent content;
  if (!OpenClipboard(nullptr)) return content;
  content.formats = CountClipboardFormats();
  BITMAP info{};
  if (HANDLE bitmap = GetClipboardData(CF_BITMAP); bitmap && GetObjectA(bitmap, sizeof info, &info)) {
    content.bitmapWidth = info.bmWidth;
    content.bitmapHeight = info.bmHeight;
  }
  if (HANDLE dib = GetClipboardData(CF_DIB)) {
    if (auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib))) {
      content.dibWidth = header->biWidth;
      content.dibHeight = header->biHeight < 0 ? -header->biHeight : header->biHeight;
      GlobalUnlock(dib);
    }
  }
  CloseClipboard();
  return content;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// What an earlier row or another program left on the clipboard.
void PutOldText() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 4);
  memcpy(GlobalLock(text), "old", 4);
  GlobalUnlock(text);
  SetClipboardData(CF_TEXT, text);
  CloseClipboard();
}

class PicturePreparationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    gDataDir = std::string(temp) + "kestro_picture_test\\";
    RemoveTree(gDataDir.substr(0, gDataDir.size() - 1));
    work_ = gDataDir + "Temp\\";
    ASSERT_TRUE(ForceDirectories(work_));
  }
  void TearDown() override { RemoveTree(gDataDir.substr(0, gDataDir.size() - 1)); }

  // A report picture of quality 75: red on the left half, blue on the right.
  std::string WritePicture(const std::string& name, int width, int height) {
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        p[0] = x < width / 2 ? 220 : 20;
        p[1] = 30;
        p[2] = x < width / 2 ? 20 : 220;
      }
    jpegio::RgbPicture picture{width, height, rgb.data(), width * 3, jpegio::PixelOrder::Rgb};
    const std::string path = work_ + name;
    std::string error;
    EXPECT_TRUE(jpegio::WriteJpegFile(path, picture, 75, &error)) << error;
    return path;
  }
  std::string Log() const {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char name[32];
    snprintf(name, sizeof name, "syslog\\%04d%02d%02d.txt", now.wYear, now.wMonth, now.wDay);
    return ReadAll(gDataDir + name);
  }
  bool Logged(const std::string& line) const {
    return Log().find(",(KestroMgr)," + line + "\r\n") != std::string::npos;
  }

  std::string work_;
};

TEST_F(PicturePreparationTest, LargerPicturesAreRewrittenAtTheFittedSizeAndEveryPictureReachesTheClipboard) {
  const struct {
    int w, h, lx, ly;
    const char* kind;  // the logged case, nullptr when the picture fits
    int width, height;
  } cases[] = {
      {1280, 1024, 1024, 768, "修正タイプ,XYどちらもはみ出ている。", 1024, 819},
      {1000, 800, 400, 300, "修正タイプ,XYどちらもはみ出ている。", 400, 320},
      {800, 1200, 600, 450, "修正タイプ,XYどちらもはみ出ている。", 300, 450},
      {500, 900, 600, 450, "修正タイプ,Yがはみ出ている。", 250, 450},
      {1280, 400, 1024, 768, "修正タイプ,Xがはみ出ている。", 1024, 320},
      {500, 300, 600, 450, nullptr, 500, 300},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    const std::string path = WritePicture("PRJ_PC0120061020103100001.jpg", c.w, c.h);
    const std::string original = ReadAll(path);
    PutOldText();
    ASSERT_TRUE(fncPrepareImage(path, c.lx, c.ly)) << Log();
    EXPECT_TRUE(Logged("画像サイズ,X=" + std::to_string(c.w) + ",Y=" + std::to_string(c.h)));
    const JpegInspection written = InspectJpegFile(path);
    ASSERT_TRUE(written.readable) << written.error;
    EXPECT_EQ(written.width, c.width);
    EXPECT_EQ(written.height, c.height);
    if (c.kind) {
      EXPECT_TRUE(Logged(c.kind));
      EXPECT_TRUE(Logged("修正サイズ,X=" + std::to_string(c.width) + ",Y=" + std::to_string(c.height)));
      // A colour baseline JPEG of quality 90, the picture still red | blue.
      EXPECT_TRUE(written.baselineMarker);
      EXPECT_EQ(written.components, 3);
      EXPECT_EQ(written.quality, 90);
      const unsigned long left = written.RgbAt(c.width / 4, c.height / 2);
      const unsigned long right = written.RgbAt(c.width * 3 / 4, c.height / 2);
      EXPECT_GT(left >> 16, 180u) << std::hex << left;
      EXPECT_LT(left & 0xFF, 60u) << std::hex << left;
      EXPECT_GT(right & 0xFF, 180u) << std::hex << right;
      EXPECT_LT(right >> 16, 60u) << std::hex << right;
    } else {
      EXPECT_TRUE(Logged("修正サイズ,修正なし"));
      EXPECT_TRUE(ReadAll(path) == original);  // never enlarged, never rewritten
    }
    EXPECT_FALSE(FileExists(path + ".jpg"));  // no work copy left
    const ClipboardContent clip = ReadClipboard();
    EXPECT_EQ(clip.bitmapWidth, c.width);
    EXPECT_EQ(clip.bitmapHeight, c.height);
    EXPECT_EQ(clip.dibWidth, c.width);
    EXPECT_EQ(clip.dibHeight, c.height);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));  // the old content is gone
    DeleteFileA(path.c_str());
  }
}

TEST_F(PicturePreparationTest, AFailedStepKeepsThePictureAndLeavesNothingOnTheClipboardToPaste) {
  // Not a JPEG: the row fails, the file stays as it was, the clipboard is empty.
  const std::string broken = work_ + "PRJ_PC0120061020103100002.jpg";
  WriteFileBytes(broken, "not a picture");
  PutOldText();
  EXPECT_FALSE(fncPrepareImage(broken, 1024, 768));
  EXPECT_EQ(ReadClipboard().formats, 0);
  EXPECT_EQ(ReadAll(broken), "not a picture");
  EXPECT_NE(Log().find("画像を読み込めません。"), std::string::npos);

  // A rewrite that fails after the picture became the work copy puts the
  // work copy back under the picture's own name.
  EXPECT_FALSE(fncFileResize(broken, 100, 100));
  EXPECT_EQ(ReadAll(broken), "not a picture");
  EXPECT_FALSE(FileExists(broken + ".jpg"));
  const std::string picture = WritePicture("PRJ_PC0120061020103100003.jpg", 640, 480);
  const std::string original = ReadAll(picture);
  EXPECT_FALSE(fncFileResize(picture, 100000, 100000));
  EXPECT_TRUE(ReadAll(picture) == original);
  EXPECT_FALSE(FileExists(picture + ".jpg"));
  EXPECT_TRUE(Logged("fncFileResize():exception."));

  // Missing files: the resize says nothing, the clipboard transfer logs it.
  const std::string missing = work_ + "missing.jpg";
  const size_t logSize = Log().size();
  EXPECT_FALSE(fncFileResize(missing, 100, 100));
  EXPECT_EQ(Log().size(), logSize);
  PutOldText();
  EXPECT_FALSE(fncImageToClipBoard(missing));
  EXPECT_TRUE(Logged("ClipBoardへ転送するファイルが見つかりません。->" + missing));
  EXPECT_EQ(ReadClipboard().formats, 0);
}

}  // namespace
