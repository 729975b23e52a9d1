#include "client/TrayIcons.h"

namespace {

constexpr int kSize = 32;

// The standard 16-colour palette.
constexpr RGBQUAD kPalette[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},   {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0}, {192, 192, 192, 0},
    {128, 128, 128, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0}, {255, 255, 255, 0},
};

struct Bitmap4 {
  BITMAPINFOHEADER header;
  RGBQUAD colours[16];
};

}  // namespace

HICON MakeTrayIcon(COLORREF mainColour) {
  Bitmap4 info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = kSize;
  info.header.biHeight = kSize;
  info.header.biPlanes = 1;
  info.header.biBitCount = 4;
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = 16;
  for (int i = 0; i < 16; ++i) info.colours[i] = kPalette[i];

  HDC screen = GetDC(nullptr);
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, nullptr);
  ReleaseDC(nullptr, screen);
  if (!colour || !mask) {
    if (colour) DeleteObject(colour);
    if (mask) DeleteObject(mask);
    return nullptr;
  }

  // Colour: a round badge in the main colour with a white screen on it.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, colour);
  RECT all{0, 0, kSize, kSize};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  HBRUSH fill = CreateSolidBrush(mainColour);
  HGDIOBJ oldBrush = SelectObject(dc, fill);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Ellipse(dc, 1, 1, kSize - 1, kSize - 1);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  Rectangle(dc, 9, 10, 23, 20);
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  Rectangle(dc, 14, 20, 18, 23);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(fill);

  // Mask: transparent (white) outside the badge.
  SelectObject(dc, mask);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
  oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Ellipse(dc, 1, 1, kSize - 1, kSize - 1);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);

  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmMask = mask;
  icon.hbmColor = colour;
  HICON result = CreateIconIndirect(&icon);
  DeleteObject(colour);
  DeleteObject(mask);
  return result;
}
