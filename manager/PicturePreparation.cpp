#include "manager/PicturePreparation.h"

#include <windows.h>

#include <cstring>

#include "common/FileSystem.h"
#include "forms/Picture.h"
#include "jpeg/JpegReader.h"
#include "jpeg/JpegWriter.h"
#include "manager/ManagerLog.h"
#include "manager/portable/PictureFitRules.h"

namespace {

constexpr int kJpegQuality = 90;
// The largest picture handled, in bytes of pixels: far above any screen,
// far below what a 32-bit process can hold twice.
constexpr long long kMaxPixelBytes = 256LL * 1024 * 1024;

// A 24-bit top-down DIB section selected into its own memory DC.
class Canvas {
 public:
  Canvas() = default;
  ~Canvas() {
    if (dc_) {
      if (old_) SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool Create(int width, int height) {
    if (width < 1 || height < 1) return false;
    stride_ = (static_cast<long long>(width) * 3 + 3) & ~3LL;
    if (stride_ * height > kMaxPixelBytes) return false;
    void* bits = nullptr;
    bitmap_ = forms::CreateDib24(width, height, &bits);
    dc_ = CreateCompatibleDC(nullptr);
    if (!bitmap_ || !bits || !dc_) return false;
    old_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<unsigned char*>(bits);
    width_ = width;
    height_ = height;
    return true;
  }
  // The decoded picture (BGR rows) as a canvas of its size.
  bool Load(const jpegio::DecodedPicture& picture) {
    if (!Create(picture.width, picture.height)) return false;
    for (int y = 0; y < height_; ++y)
      std::memcpy(bits_ + stride_ * y, picture.pixels.data() + picture.RowBytes() * y, picture.RowBytes());
    return true;
  }
  bool SaveJpeg(const std::string& path, std::string* error) const {
    GdiFlush();
    jpegio::RgbPicture picture;
    picture.width = width_;
    picture.height = height_;
    picture.firstRow = bits_;
    picture.rowStride = static_cast<std::ptrdiff_t>(stride_);
    picture.order = jpegio::PixelOrder::Bgr;
    return jpegio::WriteJpegFile(path, picture, kJpegQuality, error);
  }
  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
  unsigned char* bits_ = nullptr;
  long long stride_ = 0;
  int width_ = 0, height_ = 0;
};

std::string Size(int width, int height) { return "X=" + std::to_string(width) + ",Y=" + std::to_string(height); }

// The clipboard wants an owner window for SetClipboardData; this hidden one
// lives as long as the program.
HWND ClipboardOwner() {
  static HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr),
                                      nullptr);
  return owner;
}

// Another program may hold the clipboard for a moment.
bool OpenTheClipboard() {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(ClipboardOwner())) return true;
    Sleep(50);
  }
  return false;
}

bool EmptyTheClipboard() {
  if (!OpenTheClipboard()) return false;
  const bool emptied = EmptyClipboard() != FALSE;
  CloseClipboard();
  return emptied;
}

// Halftone-stretches the picture of source onto a new canvas of the size
// and writes it to path.
bool WriteScaled(const std::string& source, const std::string& path, int width, int height, std::string& error) {
  jpegio::DecodedPicture decoded;
  if (!jpegio::ReadJpegFile(source, decoded, jpegio::PixelOrder::Bgr, &error)) return false;
  fncWriteSysLog("元ファイルサイズ," + Size(decoded.width, decoded.height));
  Canvas original, target;
  if (!original.Load(decoded)) {
    error = "画像を展開できません。";
    return false;
  }
  decoded.pixels.clear();
  decoded.pixels.shrink_to_fit();
  if (!target.Create(width, height)) {
    error = "縮小先の画像を作成できません。" + Size(width, height);
    return false;
  }
  SetStretchBltMode(target.Dc(), HALFTONE);
  SetBrushOrgEx(target.Dc(), 0, 0, nullptr);
  if (!StretchBlt(target.Dc(), 0, 0, width, height, original.Dc(), 0, 0, original.Width(), original.Height(),
                  SRCCOPY)) {
    error = "画像を縮小できません。";
    return false;
  }
  DeleteFileA(path.c_str());
  return target.SaveJpeg(path, &error);
}

}  // namespace

bool fncFileResize(const std::string& path, int width, int height) {
  if (!FileExists(path)) return false;
  fncWriteSysLog("fncFileResize():start->" + path + ",X=" + std::to_string(width) + ",Y=" + std::to_string(height));
  const std::string work = path + ".jpg";
  DeleteFileA(work.c_str());  // left over from an earlier run
  if (!MoveFileA(path.c_str(), work.c_str())) {
    fncWriteSysLog("fncFileResize():作業ファイルを作成できません。->" + work);
    fncWriteSysLog("fncFileResize():exception.");
    return false;
  }
  std::string error;
  if (!WriteScaled(work, path, width, height, error)) {
    // The unscaled picture goes back under its own name.
    DeleteFileA(path.c_str());
    const bool restored = MoveFileA(work.c_str(), path.c_str()) != FALSE;
    fncWriteSysLog("fncFileResize():" + error);
    if (!restored) fncWriteSysLog("fncFileResize():元ファイルを戻せません。->" + work);
    fncWriteSysLog("fncFileResize():exception.");
    return false;
  }
  DeleteFileA(work.c_str());
  fncWriteSysLog("fncFileResize():end.");
  return true;
}

bool fncImageToClipBoard(const std::string& path) {
  if (!FileExists(path)) {
    EmptyTheClipboard();
    fncWriteSysLog("ClipBoardへ転送するファイルが見つかりません。->" + path);
    return false;
  }
  jpegio::DecodedPicture decoded;
  std::string error;
  Canvas picture;
  if (!jpegio::ReadJpegFile(path, decoded, jpegio::PixelOrder::Bgr, &error) || !picture.Load(decoded)) {
    EmptyTheClipboard();
    fncWriteSysLog("fncImageToClipBoard():" + error);
    fncWriteSysLog("fncImageToClipBoard():exception.");
    return false;
  }
  // A device-dependent copy: the clipboard owns it once handed over.
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.Width(), picture.Height());
  ReleaseDC(nullptr, screen);
  bool copied = false;
  if (bitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    copied = BitBlt(dc, 0, 0, picture.Width(), picture.Height(), picture.Dc(), 0, 0, SRCCOPY) != FALSE;
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  bool handed = false;
  if (copied && OpenTheClipboard()) {
    EmptyClipboard();
    handed = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    CloseClipboard();
  }
  if (!handed) {
    if (bitmap) DeleteObject(bitmap);
    EmptyTheClipboard();
    fncWriteSysLog("fncImageToClipBoard():exception.");
    return false;
  }
  return true;
}

bool fncFitImage(const std::string& path, int limitX, int limitY) {
  // Whatever fails below, no earlier picture is left to be pasted.
  if (!EmptyTheClipboard()) {
    fncWriteSysLog("ClipBoardを空にできません。->" + path);
    return false;
  }
  jpegio::DecodedPicture decoded;
  std::string error;
  if (!jpegio::ReadJpegFile(path, decoded, jpegio::PixelOrder::Bgr, &error)) {
    fncWriteSysLog("画像を読み込めません。" + error + "->" + path);
    return false;
  }
  fncWriteSysLog("画像サイズ," + Size(decoded.width, decoded.height));
  const FittedSize fitted = FitToLimit(decoded.width, decoded.height, limitX, limitY);
  decoded.pixels.clear();
  switch (fitted.fit) {
    case FitCase::Unusable:
      fncWriteSysLog("画像出力制限サイズが正しくありません。" + Size(limitX, limitY));
      return false;
    case FitCase::Fits:
      fncWriteSysLog("修正サイズ,修正なし");
      break;
    default:
      fncWriteSysLog(FitCaseText(fitted.fit));
      if (!fncFileResize(path, fitted.width, fitted.height)) {
        fncWriteSysLog("画像の縮小に失敗しました。->" + path);
        return false;
      }
      fncWriteSysLog("修正サイズ," + Size(fitted.width, fitted.height));
      break;
  }
  return true;
}

bool fncPrepareImage(const std::string& path, int limitX, int limitY) {
  if (!fncFitImage(path, limitX, limitY)) return false;
  if (!fncImageToClipBoard(path)) {
    fncWriteSysLog("ClipBoardへの転送に失敗しました。->" + path);
    return false;
  }
  return true;
}
