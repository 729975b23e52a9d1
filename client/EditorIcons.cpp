#include "client/EditorIcons.h"

namespace {

void DrawLens(HDC dc) {
  // Handle first, so the rim covers its inner end.
  HPEN handle = CreatePen(PS_SOLID, 8, RGB(120, 72, 24));
  HGDIOBJ oldPen = SelectObject(dc, handle);
  MoveToEx(dc, kLensCentreX + 14, kLensCentreY + 14, nullptr);
  LineTo(dc, 56, 56);
  HPEN rim = CreatePen(PS_SOLID, 4, RGB(0, 160, 0));
  SelectObject(dc, rim);
  HBRUSH lens = CreateSolidBrush(RGB(255, 255, 192));
  HGDIOBJ oldBrush = SelectObject(dc, lens);
  Ellipse(dc, kLensCentreX - kLensRadius, kLensCentreY - kLensRadius, kLensCentreX + kLensRadius + 1,
          kLensCentreY + kLensRadius + 1);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(lens);
  DeleteObject(rim);
  DeleteObject(handle);
}

}  // namespace

bool MakeLensIcon(EditorPicture& icon) {
  if (!icon.Create(kIconSize, kIconSize, RGB(255, 255, 255))) return false;
  DrawLens(icon.Dc());
  return true;
}

bool MakeCheckIcon(EditorPicture& icon) {
  if (!MakeLensIcon(icon)) return false;
  HDC dc = icon.Dc();
  HFONT font = CreateFontA(-28, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 0, 0));
  RECT lens{kLensCentreX - kLensRadius, kLensCentreY - kLensRadius, kLensCentreX + kLensRadius,
            kLensCentreY + kLensRadius};
  DrawTextA(dc, "?", 1, &lens, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  DeleteObject(font);
  return true;
}
